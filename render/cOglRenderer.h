// The OpenGL renderer: every GL object of the program (textures, render targets, programs,
// buffers) lives in its tables, shared through reference-counted caches.
#pragma once

#include "render/cFont.h"
#include "render/cRenderer.h"

#include <GL/glew.h>

#include <array>
#include <map>
#include <string>

namespace qvr {

class cGeometryNode;
class cSystemWrapper;
class cTrackNode;

//! A linked program with the uniform and attribute locations it really has.
struct cProgramRecord {
    GLuint program = 0;
    std::map<std::string, GLint> attributes;
    std::map<std::string, GLint> vertexUniforms;
    std::map<std::string, GLint> fragmentUniforms;
};

//! The GL objects of one render target.
struct cRenderTargetRecord {
    GLuint colorTexture = 0;
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;
};

//! The buffer objects of one geometry node.
struct cVertexBufferSet {
    GLuint positions = 0;
    GLuint indices = 0;
    std::map<std::string, GLuint> attributes;
};

class cOglRenderer : public cRenderer {
public:
    cOglRenderer() = default;
    //! Withdraws its "timeUpdate" value from the registry.
    ~cOglRenderer() override;
    cOglRenderer(const cOglRenderer&) = delete;
    cOglRenderer& operator=(const cOglRenderer&) = delete;

    void drawOverlay(cScenegraph& scenegraph) override;
    void initOverlay(cScenegraph& scenegraph) override;
    void prepareScene(cScenegraph& scenegraph) override;
    void drawNode(cSpatialNode* node, float time, int32_t materialIndex,
                  cMaterial* overrideMaterial) override;
    void applyShaderVariables(cShaderState& state) override;
    void bindShaderProgram(cShaderState& state) override;
    void applyTextureState(cTextureState& state) override;
    void applyZBufferState(const cZBufferState& state) override;
    void applyBlendingState(const cBlendingState& state) override;
    void applyPrimitiveState(const cPrimitiveState& state) override;
    void createShaderProgram(cShaderState& state, cSpatialNode* node) override;
    void createTexture(cTextureState& state, cSpatialNode* node) override;
    void createVertexBuffers(const cPrimitiveState& state, cSpatialNode* node) override;
    void beginCamera(cCameraNode* camera) override;
    void drawView(const std::vector<cSpatialNode*>& nodes, const std::vector<int32_t>& materialIndices,
                  cCameraNode* camera, cRenderPass* pass, float time) override;
    void prepareCameraTargets(cCameraNode* camera) override;
    void preparePostProcessChain(std::vector<cPostProcessStep>& chain) override;
    void releaseTexture(cTextureState& state) override;
    void releaseShaderProgram(cShaderState& state) override;
    void releaseVertexBuffers(cSpatialNode* node, const cPrimitiveState& state) override;
    void drawPostProcess(std::vector<cPostProcessStep>& chain, const std::vector<int32_t>& steps,
                         float time) override;
    void begin2D() override;
    void end2D() override;
    void clearFrame() override;
    void setClearColor(float red, float green, float blue, float alpha) override;
    void enableFaceCulling() override;
    void reportGlErrors(int32_t demoMs) override;

    //! The fonts loaded by initOverlay, by font index.
    const std::vector<std::unique_ptr<cFontOGL>>& getFonts() const { return mFonts; }
    //! The message console; drawn over the overlay while visible (off at first).
    cMessageConsole& getConsole() { return mConsole; }
    void setConsoleVisible(bool visible) { mConsoleVisible = visible; }
    //! The clock blinking items follow and the layer initOverlay presents through (the process-wide
    //! system layer unless set).
    void setSystem(cSystemWrapper* system) { mSystem = system; }
    //! The value registered as "timeUpdate": an integer its users keep up to date.
    cOverlayValue& getTimeValue() { return mTimeValue; }
    //! Key markers of a track node in edit mode, and the surface's buffers after a drag.
    void drawTrackEditor(cTrackNode* track);
    //! Uploads a geometry node's buffers again (into the same slot) after its mesh changed.
    void refreshVertexBuffers(cGeometryNode* node);

    //! Draws a geometry node with the current material.
    void drawGeometry(cGeometryNode* node, float time);
    //! Creates the GL objects of a render target; falls back to a 16-bit depth buffer when the
    //! framebuffer is unsupported with depthFormat.
    cRenderTargetRecord createRenderTarget(const cRenderTarget& target, GLenum depthFormat);
    //! Draws into target: framebuffer bound, viewport set to its size, colour and depth cleared.
    void bindRenderTarget(const cRenderTarget& target, GLenum textureTarget);
    //! Back to the screen framebuffer; regenerates the target's mipmaps when it has them.
    void unbindRenderTarget(const cRenderTarget& target, GLenum textureTarget);

    //! GL name behind a texture handle; 0 for none.
    GLuint textureName(int32_t handle) const;
    //! The program record of a program id; null for none.
    const cProgramRecord* programRecord(int32_t programId) const;
    const cRenderTargetRecord* renderTargetRecord(int32_t id) const;
    //! The buffer objects in a vertex buffer slot; null for none.
    const cVertexBufferSet* vertexBufferSet(int32_t slot) const
    {
        return slot >= 0 && static_cast<size_t>(slot) < mVertexBuffers.size() ? &mVertexBuffers[static_cast<size_t>(slot)]
                                                                               : nullptr;
    }
    //! Shares in the image texture cache for a resource id (0 when not cached).
    int32_t imageTextureShares(int32_t resourceId) const;
    //! Shares in the program cache for a source key (0 when not cached).
    int32_t programShares(const std::string& key) const;

private:
    struct cCachedTexture {
        GLuint name = 0;
        int32_t references = 0;
    };
    struct cCachedCubeMap {
        std::array<int32_t, 6> faces{};
        GLuint name = 0;
        int32_t references = 0;
    };
    struct cCachedProgram {
        cProgramRecord record;
        int32_t references = 0;
    };

    int32_t registerTexture(cTextureState& state, GLuint name);
    GLuint loadImageTexture(int32_t resourceId, int32_t filter);
    GLuint loadVolumeTexture(int32_t resourceId);
    GLuint loadCubeMap(const cTextureState& state);
    GLuint loadDynamicTexture(const cTextureState& state);
    void registerRenderTarget(cRenderTarget& target);
    void drawLink(cSpatialNode* link, float time, int32_t materialIndex, cMaterial* overrideMaterial);
    cProgramRecord linkProgram(const cShaderState& state, const std::string& key);
    void uploadCameraUniforms(const cProgramRecord& record, cGeometryNode* node);

    std::vector<cProgramRecord> mPrograms;
    std::map<std::string, cCachedProgram> mProgramCache;
    std::map<int32_t, cCachedTexture> mImageTextures;
    std::map<int32_t, cCachedTexture> mDynamicTextures;
    std::vector<cCachedCubeMap> mCubeMaps;
    std::vector<GLuint> mTextureHandles;
    std::vector<cRenderTargetRecord> mRenderTargets;
    std::vector<cVertexBufferSet> mVertexBuffers;
    bool mGlErrorReported = false;

    cSystemWrapper& system();
    void drawOverlayItem(cOverlayItem& item);
    void drawLoadingPage(cScenegraph& scenegraph);

    std::vector<std::unique_ptr<cFontOGL>> mFonts;
    cMessageConsole mConsole;
    bool mConsoleVisible = false;
    cSystemWrapper* mSystem = nullptr;
    cOverlayValue mTimeValue{0, 0.0f, 0, {}};
    cBlinkClock mBlinkClock;
};

} // namespace qvr
