// Reading declarations from GLSL lines as the renderer has always read them.
#include "render/shaderDeclarations.h"

#include <cctype>
#include <limits>
#include <sstream>

namespace qvr {

eDeclaration parseDeclaration(const std::string& line, std::string& name)
{
    std::istringstream words(line);
    std::string first;
    words >> first;
    const eDeclaration kind = first == "uniform"     ? eDeclaration::kUniform
                              : first == "attribute" ? eDeclaration::kAttribute
                                                     : eDeclaration::kNone;
    if (kind == eDeclaration::kNone) {
        return kind;
    }
    std::string type;
    words >> type;
    words.ignore(std::numeric_limits<std::streamsize>::max(), ' ');
    name.clear();
    std::getline(words, name, ';');
    return kind;
}

bool isPlainGlslName(const std::string& name)
{
    size_t i = 0;
    const auto identifierChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
        return false;
    }
    while (i < name.size() && identifierChar(name[i])) {
        ++i;
    }
    if (i == name.size()) {
        return true;
    }
    if (name[i] != '[' || name.back() != ']' || i + 2 >= name.size()) {
        return false;
    }
    for (size_t k = i + 1; k + 1 < name.size(); ++k) {
        if (!std::isdigit(static_cast<unsigned char>(name[k]))) {
            return false;
        }
    }
    return true;
}

} // namespace qvr
