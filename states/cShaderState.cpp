// Shader block: the two module lists, then the variable tables, vertex before fragment for each
// kind (floats, ints, vec2, vec3, vec4).
#include "states/cShaderState.h"

#include "core/textUtil.h"
#include "states/animatableText.h"

namespace qvr {

namespace {

// Reads "<count label>:" n, then n entries with readEntry(in, key, value), storing each entry
// that was read completely. Stops at the first entry the stream fails on.
template <typename Map, typename ReadEntry>
void readTable(std::istream& in, Map& table, ReadEntry readEntry)
{
    int32_t count = 0;
    readLabeled(in, count);
    for (int32_t i = 0; i < count && in.good(); ++i) {
        std::string key;
        typename Map::mapped_type value{};
        if (!readEntry(in, key, value)) {
            break;
        }
        table[key] = value;
    }
}

void readModules(std::istream& in, std::vector<std::string>& modules)
{
    int32_t count = 0;
    readLabeled(in, count);
    modules.clear();
    for (int32_t i = 0; i < count && in.good(); ++i) {
        std::string name;
        skipLabel(in);
        if (!readLine(in, name)) {
            break;
        }
        modules.push_back(name);
    }
}

// "static:" flag, "key:" name: the shape that opens float and vec3 entries.
bool readStaticAndKey(std::istream& in, int32_t& isStatic, std::string& key)
{
    skipLabel(in);
    in >> isStatic;
    skipLabel(in);
    return readLine(in, key);
}

// A float or vec3 entry: "static:" 1 and the constant, or "static:" 0 and a controller index.
template <typename Animatable, typename Constant>
bool readAnimatableEntry(std::istream& in, std::string& key, Animatable& value)
{
    int32_t isStatic = 1;
    if (!readStaticAndKey(in, isStatic, key)) {
        return false;
    }
    skipLabel(in);
    if (isStatic == 1) {
        Constant constant{};
        in >> constant;
        value = Animatable(constant);
    } else {
        int32_t index = -1;
        in >> index;
        bindToControllerLibrary(value, index);
    }
    return !in.fail();
}

template <typename T>
bool readPlainEntry(std::istream& in, std::string& key, T& value)
{
    skipLabel(in);
    if (!readLine(in, key)) {
        return false;
    }
    skipLabel(in);
    in >> value;
    return !in.fail();
}

template <size_t N>
bool readArrayEntry(std::istream& in, std::string& key, std::array<float, N>& value)
{
    skipLabel(in);
    if (!readLine(in, key)) {
        return false;
    }
    skipLabel(in);
    for (float& v : value) {
        in >> v;
    }
    return !in.fail();
}

void writeModules(std::ostream& out, const char* label, const std::vector<std::string>& modules)
{
    out << label << ":" << modules.size() << "\n";
    for (const std::string& name : modules) {
        out << "program module id:" << name << "\n";
    }
}

template <typename Animatable>
void writeAnimatables(std::ostream& out, const char* label,
                      const std::map<std::string, Animatable>& table)
{
    out << label << ":" << table.size() << "\n";
    for (const auto& [key, value] : table) {
        const bool controlled = value.refersToController();
        out << "static:" << (controlled ? 0 : 1) << "\n" << "key:" << key << "\n" << "value:";
        if (controlled) {
            out << value.getControllerIndex() << "\n";
        } else {
            out << value.getConstant() << "\n";
        }
    }
}

void writeInts(std::ostream& out, const char* label, const std::map<std::string, int32_t>& table)
{
    out << label << ":" << table.size() << "\n";
    for (const auto& [key, value] : table) {
        out << "key:" << key << "\n" << "value:" << value << "\n";
    }
}

template <size_t N>
void writeArrays(std::ostream& out, const char* label,
                 const std::map<std::string, std::array<float, N>>& table)
{
    out << label << ":" << table.size() << "\n";
    for (const auto& [key, value] : table) {
        out << "key:" << key << "\n" << "value:";
        for (size_t i = 0; i < N; ++i) {
            out << (i ? " " : "") << value[i];
        }
        out << "\n";
    }
}

} // namespace

bool cShaderState::read(std::istream& in, bool binary)
{
    if (!cRenderStateBase::read(in, binary)) {
        return false;
    }
    if (!readsFields(binary)) {
        return in.good();
    }
    readModules(in, mVertexModules);
    readModules(in, mFragmentModules);
    readTable(in, mVertexVars.floats, (readAnimatableEntry<cAnimatableFloat, float>));
    readTable(in, mFragmentVars.floats, (readAnimatableEntry<cAnimatableFloat, float>));
    readTable(in, mVertexVars.ints, readPlainEntry<int32_t>);
    readTable(in, mFragmentVars.ints, readPlainEntry<int32_t>);
    readTable(in, mVertexVars.vec2s, readArrayEntry<2>);
    readTable(in, mFragmentVars.vec2s, readArrayEntry<2>);
    readTable(in, mVertexVars.vec3s, (readAnimatableEntry<cAnimatableVec3f, cVec3f>));
    readTable(in, mFragmentVars.vec3s, (readAnimatableEntry<cAnimatableVec3f, cVec3f>));
    readTable(in, mVertexVars.vec4s, readArrayEntry<4>);
    readTable(in, mFragmentVars.vec4s, readArrayEntry<4>);
    skipLineEnd(in);
    return in.good();
}

bool cShaderState::write(std::ostream& out, bool binary) const
{
    if (!cRenderStateBase::write(out, binary) || binary) {
        return out.good();
    }
    cFloatPrecision precision(out);
    writeModules(out, "nr of vertex code modules", mVertexModules);
    writeModules(out, "nr of fragment code modules", mFragmentModules);
    writeAnimatables(out, "nr of vertexVars float", mVertexVars.floats);
    writeAnimatables(out, "nr of fragmentVars float", mFragmentVars.floats);
    writeInts(out, "nr of vertexVars ints", mVertexVars.ints);
    writeInts(out, "nr of fragmentVars ints", mFragmentVars.ints);
    writeArrays(out, "nr of vertexVars vec2", mVertexVars.vec2s);
    writeArrays(out, "nr of fragmentVars vec2", mFragmentVars.vec2s);
    writeAnimatables(out, "nr of vertexVars vec3", mVertexVars.vec3s);
    writeAnimatables(out, "nr of fragmentVars vec3", mFragmentVars.vec3s);
    writeArrays(out, "nr of vertexVars vec4", mVertexVars.vec4s);
    writeArrays(out, "nr of fragmentVars vec4", mFragmentVars.vec4s);
    return out.good();
}

} // namespace qvr
