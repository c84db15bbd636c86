// The OpenGL renderer's GLSL programs: composed from module files, shared by module list, fed
// their variables and the built-in noise table.
#include "render/cOglRenderer.h"
#include "render/shaderDeclarations.h"

#include "core/cSystemWrapper.h"
#include "core/textUtil.h"
#include "math/random.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

namespace qvr {

namespace {

const char* const kFallbackVertex = "void main() { gl_Position = ftransform(); }";
const char* const kFallbackFragment = "void main() { gl_FragColor = vec4(0.4,0.1,0.3,1.0); } ";

std::string sourceKey(const cShaderState& state)
{
    std::string key;
    for (const std::string& module : state.vertexModules()) {
        key += module;
    }
    for (const std::string& module : state.fragmentModules()) {
        key += module;
    }
    return key;
}

// The source lines of one stage, collecting declared uniform (and, for the vertex stage,
// attribute) names. A module file that cannot be opened is left out with a message.
std::vector<std::string> readStage(const std::vector<std::string>& modules, const char* fallback,
                                   std::map<std::string, GLint>& uniforms,
                                   std::map<std::string, GLint>* attributes)
{
    if (modules.empty()) {
        return {fallback};
    }
    std::vector<std::string> lines;
    for (const std::string& module : modules) {
        const std::string path = module + ".glsl";
        std::ifstream in(path);
        if (!in) {
            std::fprintf(stderr, "cOglRenderer: cannot open shader module %s; left out\n",
                         path.c_str());
            continue;
        }
        std::string line;
        while (readLine(in, line)) {
            std::string name;
            const eDeclaration kind = parseDeclaration(line, name);
            std::map<std::string, GLint>* names = kind == eDeclaration::kUniform     ? &uniforms
                                                  : kind == eDeclaration::kAttribute ? attributes
                                                                                     : nullptr;
            if (names) {
                (*names)[name] = -1;
                if (!isPlainGlslName(name)) {
                    std::fprintf(stderr, "cOglRenderer: %s: \"%s\" declares \"%s\", a name GL cannot know; "
                                 "its value is never uploaded\n", path.c_str(), line.c_str(), name.c_str());
                }
            }
            lines.push_back(line + "\n");
        }
    }
    return lines;
}

GLuint compileStage(GLenum kind, const std::vector<std::string>& lines)
{
    std::vector<const char*> sources;
    for (const std::string& line : lines) {
        sources.push_back(line.c_str());
    }
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, static_cast<GLsizei>(sources.size()), sources.data(), nullptr);
    glCompileShader(shader);
    return shader;
}

// Reports a failed compile on standard output with the shader's log; the program goes on.
void reportCompile(GLuint shader, const char* stage, const std::string& key)
{
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) {
        return;
    }
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    std::printf("%s prog fail:%s\n\n%s\n\n", stage, key.c_str(), log.c_str());
    std::fflush(stdout);
}

// 32 random unit gradients with a shuffled permutation index in w, repeated once: 64 vec4.
std::vector<float> noiseTable()
{
    std::vector<float> table(66 * 4, 0.0f);
    int32_t permutation[32];
    for (int32_t i = 0; i < 32; ++i) {
        permutation[i] = i;
        float* entry = &table[static_cast<size_t>(i) * 4];
        for (int c = 0; c < 3; ++c) {
            entry[c] = static_cast<float>(randomInt()) * 2.0f / 32767.0f - 1.0f;
        }
        const float length = std::sqrt(entry[0] * entry[0] + entry[1] * entry[1] + entry[2] * entry[2]);
        for (int c = 0; c < 4; ++c) {
            entry[c] /= length;
        }
    }
    for (int32_t i = 0; i < 32; ++i) {
        const int32_t j = (randomInt() >> 4) % 32;
        std::swap(permutation[i], permutation[j]);
        float* entry = &table[static_cast<size_t>(i) * 4];
        entry[3] = static_cast<float>(permutation[i]);
        std::copy(entry, entry + 4, &table[static_cast<size_t>(i + 32) * 4]);
    }
    return table;
}

// Keeps the names the linked program really has, with their locations.
template <typename Lookup>
void resolve(std::map<std::string, GLint>& names, Lookup lookup)
{
    for (auto it = names.begin(); it != names.end();) {
        it->second = lookup(it->first.c_str());
        it = it->second == -1 ? names.erase(it) : std::next(it);
    }
}

} // namespace

cProgramRecord cOglRenderer::linkProgram(const cShaderState& state, const std::string& key)
{
    cProgramRecord record;
    const GLuint vertex = compileStage(
        GL_VERTEX_SHADER,
        readStage(state.vertexModules(), kFallbackVertex, record.vertexUniforms, &record.attributes));
    const GLuint fragment = compileStage(
        GL_FRAGMENT_SHADER,
        readStage(state.fragmentModules(), kFallbackFragment, record.fragmentUniforms, nullptr));
    reportCompile(vertex, "vert", key);
    reportCompile(fragment, "frag", key);

    record.program = glCreateProgram();
    glAttachShader(record.program, vertex);
    glAttachShader(record.program, fragment);
    glLinkProgram(record.program);
    // The program keeps what it needs; the shader objects can go.
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    glUseProgram(record.program);

    const GLint noise = glGetUniformLocation(record.program, "qvrNoisePg[0]");
    if (noise != -1) {
        glUniform4fv(noise, 64, noiseTable().data());
    }
    const GLuint program = record.program;
    const auto uniform = [program](const char* name) { return glGetUniformLocation(program, name); };
    resolve(record.vertexUniforms, uniform);
    resolve(record.fragmentUniforms, uniform);
    resolve(record.attributes, [program](const char* name) { return glGetAttribLocation(program, name); });
    return record;
}

void cOglRenderer::createShaderProgram(cShaderState& state, cSpatialNode*)
{
    const std::string key = sourceKey(state);
    auto it = mProgramCache.find(key);
    if (it == mProgramCache.end()) {
        it = mProgramCache.emplace(key, cCachedProgram{linkProgram(state, key), 0}).first;
    }
    ++it->second.references;
    state.setProgramId(static_cast<int32_t>(mPrograms.size()));
    mPrograms.push_back(it->second.record);
    glUseProgram(0);
}

void cOglRenderer::bindShaderProgram(cShaderState& state)
{
    const cProgramRecord* record = programRecord(state.getProgramId());
    glUseProgram(record ? record->program : 0);
}

void cOglRenderer::applyShaderVariables(cShaderState& state)
{
    const cProgramRecord* record = programRecord(state.getProgramId());
    if (!record) {
        return;
    }
    glUseProgram(record->program);
    const auto location = [](const std::map<std::string, GLint>& names, const std::string& name) {
        const auto it = names.find(name);
        return it == names.end() ? -1 : it->second;
    };
    const cShaderVariables& vertexVars = state.vertexVars();
    const cShaderVariables& fragmentVars = state.fragmentVars();
    cSystemWrapper& system = getSystemWrapper();
    for (const auto& [name, value] : fragmentVars.floats) {
        if (const GLint at = location(record->fragmentUniforms, name); at != -1) {
            const float v = value.evaluate(system.getAnimationPhase());
            glUniform1fv(at, 1, &v);
        }
    }
    for (const auto& [name, value] : vertexVars.floats) {
        if (const GLint at = location(record->vertexUniforms, name); at != -1) {
            const float v = value.evaluate(0.0f);
            glUniform1fv(at, 1, &v);
        }
    }
    for (const auto* vars : {&fragmentVars, &vertexVars}) {
        const auto& names = vars == &fragmentVars ? record->fragmentUniforms : record->vertexUniforms;
        for (const auto& [name, value] : vars->vec2s) {
            if (const GLint at = location(names, name); at != -1) {
                glUniform2fv(at, 1, value.data());
            }
        }
    }
    for (const auto* vars : {&fragmentVars, &vertexVars}) {
        const auto& names = vars == &fragmentVars ? record->fragmentUniforms : record->vertexUniforms;
        for (const auto& [name, value] : vars->vec3s) {
            if (const GLint at = location(names, name); at != -1) {
                const cVec3f v = value.evaluate(system.getAnimationPhase());
                glUniform3fv(at, 1, &v.x);
            }
        }
    }
    for (const auto* vars : {&fragmentVars, &vertexVars}) {
        const auto& names = vars == &fragmentVars ? record->fragmentUniforms : record->vertexUniforms;
        for (const auto& [name, value] : vars->ints) {
            if (const GLint at = location(names, name); at != -1) {
                glUniform1iv(at, 1, &value);
            }
        }
    }
}

void cOglRenderer::releaseShaderProgram(cShaderState& state)
{
    state.setProgramId(-1);
    const auto it = mProgramCache.find(sourceKey(state));
    if (it != mProgramCache.end() && --it->second.references <= 0) {
        glDeleteProgram(it->second.record.program);
        mProgramCache.erase(it);
    }
}

const cProgramRecord* cOglRenderer::programRecord(int32_t programId) const
{
    return programId >= 0 && static_cast<size_t>(programId) < mPrograms.size()
               ? &mPrograms[static_cast<size_t>(programId)]
               : nullptr;
}

int32_t cOglRenderer::programShares(const std::string& key) const
{
    const auto it = mProgramCache.find(key);
    return it == mProgramCache.end() ? 0 : it->second.references;
}

} // namespace qvr
