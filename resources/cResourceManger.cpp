// Resource list file reader and the process-wide resource manager.
#include "resources/cResourceManger.h"

#include "core/fatalError.h"
#include "core/textUtil.h"

#include <fstream>
#include <sstream>

namespace qvr {

namespace {

struct cKeyword {
    const char* word;
    int32_t kind;
};

// In the order the reader compares them.
const cKeyword kKeywords[] = {
    {"MESH", kResourceMesh},
    {"SOUND", kResourceSound},
    {"TEXTURE", kResourceTexture},
    {"TRACK", kResourceTrack},
    {"MATERIAL", kResourceMaterial},
};

const cKeyword* findKeyword(const std::string& word)
{
    for (const cKeyword& k : kKeywords) {
        if (word == k.word) {
            return &k;
        }
    }
    return nullptr;
}

} // namespace

void cResourceManger::loadResourceList(const std::string& path)
{
    std::ifstream in(path);
    readResourceList(in);
}

void cResourceManger::readResourceList(std::istream& in)
{
    mEntries.clear();
    std::string line;
    if (!readLine(in, line) || line != "VERSION1") {
        return;
    }
    while (readLine(in, line)) {
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) {
            continue;
        }
        const cKeyword* keyword = findKeyword(word);
        if (!keyword) {
            continue;
        }
        // Without a second word the entry's path is the keyword itself.
        words >> word;
        addResource(word, keyword->kind);
    }
}

void cResourceManger::addResource(const std::string& path, int32_t kind)
{
    cResourceEntry entry;
    entry.kind = kind;
    entry.path = path;
    entry.fileName = fileNameOf(path);
    mEntries.push_back(std::move(entry));
}

cResourceEntry& cResourceManger::operator[](int32_t index)
{
    if (!peek(index)) {
        reportFatalError("Crash in: cResourceManger operator[] : index out of bounds!");
    }
    cResourceEntry& entry = mEntries[static_cast<size_t>(index)];
    entry.used = 1;
    return entry;
}

const cResourceEntry* cResourceManger::peek(int32_t index) const
{
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    return &mEntries[static_cast<size_t>(index)];
}

std::string cResourceManger::fileNameOf(const std::string& path)
{
    const size_t separator = path.find_last_of("/\\");
    if (separator == std::string::npos) {
        return path;
    }
    return path.substr(separator + 1);
}

cResourceManger& getResourceManager()
{
    static cResourceManger manager;
    return manager;
}

} // namespace qvr
