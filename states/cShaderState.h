// Render state of the shader program: the GLSL modules it is built from and its named variables.
#pragma once

#include "math/cAnimatable.h"
#include "states/cRenderStateBase.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace qvr {

//! The variables of one shader stage, by name. Fetching an absent name with [] creates it.
struct cShaderVariables {
    std::map<std::string, cAnimatableFloat> floats;
    std::map<std::string, int32_t> ints;
    std::map<std::string, std::array<float, 2>> vec2s;
    std::map<std::string, cAnimatableVec3f> vec3s;
    //! Read and kept, but never uploaded.
    std::map<std::string, std::array<float, 4>> vec4s;
};

class cShaderState : public cRenderStateBase {
public:
    bool write(std::ostream& out, bool binary) const override;
    //! Replaces the module lists; variables are created or overwritten by name, others stay.
    bool read(std::istream& in, bool binary) override;

    cShaderVariables& vertexVars() { return mVertexVars; }
    const cShaderVariables& vertexVars() const { return mVertexVars; }
    cShaderVariables& fragmentVars() { return mFragmentVars; }
    const cShaderVariables& fragmentVars() const { return mFragmentVars; }
    //! Names of the GLSL source modules, in the order they are joined.
    std::vector<std::string>& vertexModules() { return mVertexModules; }
    const std::vector<std::string>& vertexModules() const { return mVertexModules; }
    std::vector<std::string>& fragmentModules() { return mFragmentModules; }
    const std::vector<std::string>& fragmentModules() const { return mFragmentModules; }
    //! The renderer's program handle; -1 until the renderer creates the program.
    int32_t getProgramId() const { return mProgramId; }
    void setProgramId(int32_t id) { mProgramId = id; }

private:
    cShaderVariables mVertexVars;
    cShaderVariables mFragmentVars;
    std::vector<std::string> mVertexModules;
    std::vector<std::string> mFragmentModules;
    int32_t mProgramId = -1;
};

} // namespace qvr
