// The OpenGL renderer's textures (image files, volumes, cube maps, dynamic images) and render
// targets.
#include "render/cOglRenderer.h"

#include "resources/cPngLoader.h"
#include "resources/cResourceManger.h"

#include <GL/glu.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace qvr {

namespace {

// Cube face targets by face index.
const GLenum kCubeFaces[6] = {
    GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z,
    GL_TEXTURE_CUBE_MAP_NEGATIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_Y,
};

// Selects the state's texture unit; false for a unit outside the material's eight.
bool selectUnit(const cTextureState& state)
{
    const int32_t unit = state.getUnit();
    if (unit < 0 || unit >= cMaterial::kTextureUnits) {
        return false;
    }
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    return true;
}

// The image of a resource: its PNG when the file name ends in "png" (any case), else empty.
cImage loadResourceImage(int32_t resourceId, std::string& path)
{
    const cResourceEntry& entry = getResourceManager()[resourceId];
    path = entry.path;
    std::string suffix = entry.fileName.size() >= 3 ? entry.fileName.substr(entry.fileName.size() - 3) : "";
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (suffix != "PNG") {
        return cImage();
    }
    cPngLoader loader;
    return loader.load(entry.path);
}

// Pixel format of an 8-bit image by its bytes per pixel; 0 when GL cannot take it as it is.
GLenum formatOf(const cImage& image)
{
    switch (image.bytesPerPixel) {
    case 1: return GL_LUMINANCE;
    case 2: return GL_LUMINANCE_ALPHA;
    case 3: return GL_RGB;
    case 4: return GL_RGBA;
    default: return 0;
    }
}

// Builds the mipmaps of target from image; false (and a message) when the pixels cannot be used.
bool buildMipmaps(GLenum target, const cImage& image, const std::string& path)
{
    const GLenum format = formatOf(image);
    if (image.empty() || format == 0) {
        if (!image.empty()) {
            std::fprintf(stderr, "cOglRenderer: %s: %d-byte pixels cannot be uploaded\n",
                         path.c_str(), static_cast<int>(image.bytesPerPixel));
        }
        return false;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are tightly packed
    gluBuild2DMipmaps(target, image.bytesPerPixel, image.width, image.height, format,
                      GL_UNSIGNED_BYTE, image.pixels.get());
    return true;
}

void setFilters(GLenum target, int32_t filter)
{
    const GLint minFilter = filter == 0 ? GL_LINEAR_MIPMAP_LINEAR : (filter == 2 ? GL_NEAREST : GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, filter == 2 ? GL_NEAREST : GL_LINEAR);
}

std::array<int32_t, 6> cubeFaces(const cTextureState& state)
{
    std::array<int32_t, 6> faces{};
    for (int32_t k = 0; k < 6; ++k) {
        faces[static_cast<size_t>(k)] = state.getCubeFaceId(k);
    }
    return faces;
}

GLenum dynamicTarget(int32_t type)
{
    return type == kTexture1D ? GL_TEXTURE_1D : (type == kTexture3D ? GL_TEXTURE_3D : GL_TEXTURE_2D);
}

} // namespace

int32_t cOglRenderer::registerTexture(cTextureState& state, GLuint name)
{
    state.setSerial(static_cast<int32_t>(mTextureHandles.size()));
    mTextureHandles.push_back(name);
    return state.getSerial();
}

GLuint cOglRenderer::loadImageTexture(int32_t resourceId, int32_t filter)
{
    std::string path;
    const cImage image = loadResourceImage(resourceId, path);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    buildMipmaps(GL_TEXTURE_2D, image, path);
    setFilters(GL_TEXTURE_2D, filter);
    return name;
}

GLuint cOglRenderer::loadVolumeTexture(int32_t resourceId)
{
    std::string path;
    const cImage image = loadResourceImage(resourceId, path);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_3D, name);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // A row of square slices side by side: side = height, depth = width / height.
    const int32_t side = image.height;
    const int32_t depth = side > 0 ? image.width / side : 0;
    if (!image.empty() && depth > 0 && (image.bytesPerPixel == 3 || image.bytesPerPixel == 4)) {
        const bool rgb = image.bytesPerPixel == 3;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage3D(GL_TEXTURE_3D, 0, rgb ? GL_RGB8 : GL_RGBA8, side, side, depth, 0,
                     rgb ? GL_RGB : GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.get());
    }
    return name;
}

GLuint cOglRenderer::loadCubeMap(const cTextureState& state)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_CUBE_MAP, name);
    for (int32_t face = 0; face < 6; ++face) {
        std::string path;
        const cImage image = loadResourceImage(state.getCubeFaceId(face), path);
        buildMipmaps(kCubeFaces[face], image, path);
    }
    setFilters(GL_TEXTURE_CUBE_MAP, state.getFilter());
    return name;
}

GLuint cOglRenderer::loadDynamicTexture(const cTextureState& state)
{
    const cDynamicImage* image = mDynamicImages[static_cast<size_t>(state.getTextureId())];
    const GLenum target = dynamicTarget(state.getType());
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(target, name);
    const GLint filter = state.getFilter() == 2 ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, filter);
    if (!image) {
        return name;
    }
    const bool isFloat = state.getFormat() == 2;
    const bool rgb = image->bytesPerPixel == 3;
    const GLint internal = isFloat ? GL_RGBA32F_ARB : (rgb ? GL_RGB8 : GL_RGBA8);
    const GLenum format = rgb && !isFloat ? GL_RGB : GL_RGBA;
    const GLenum type = isFloat ? GL_FLOAT : GL_UNSIGNED_BYTE;
    const size_t texel = isFloat ? 16 : (rgb ? 3 : 4);
    // Too few pixels for the declared size: allocate the texture without reading them.
    const void* pixels = image->pixels.size() >= image->bytesNeeded(texel) ? image->pixels.data() : nullptr;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (target == GL_TEXTURE_1D) {
        glTexImage1D(target, 0, internal, image->width, 0, format, type, pixels);
    } else if (target == GL_TEXTURE_3D) {
        glTexImage3D(target, 0, internal, image->width, image->height, image->depth, 0, format, type,
                     pixels);
    } else {
        glTexImage2D(target, 0, internal, image->width, image->height, 0, format, type, pixels);
    }
    return name;
}

void cOglRenderer::createTexture(cTextureState& state, cSpatialNode*)
{
    if (state.getSerial() != -1 || !selectUnit(state)) {
        return;
    }
    const int32_t id = state.getTextureId();
    if (state.getSource() == kTextureFromImage && state.getType() == kTextureCube) {
        const std::array<int32_t, 6> faces = cubeFaces(state);
        auto it = std::find_if(mCubeMaps.begin(), mCubeMaps.end(),
                               [&](const cCachedCubeMap& c) { return c.faces == faces; });
        if (it == mCubeMaps.end()) {
            mCubeMaps.push_back({faces, loadCubeMap(state), 0});
            it = mCubeMaps.end() - 1;
        }
        ++it->references;
        registerTexture(state, it->name);
    } else if (state.getSource() == kTextureFromImage &&
               (state.getType() == kTexture2D || state.getType() == kTexture3D)) {
        auto it = mImageTextures.find(id);
        if (it == mImageTextures.end()) {
            const GLuint name = state.getType() == kTexture3D ? loadVolumeTexture(id)
                                                              : loadImageTexture(id, state.getFilter());
            it = mImageTextures.emplace(id, cCachedTexture{name, 0}).first;
        }
        ++it->second.references;
        registerTexture(state, it->second.name);
    } else if (state.getSource() == kTextureFromDynamicImage && state.getType() != kTextureCube &&
               id >= 0 && static_cast<size_t>(id) < mDynamicImages.size()) {
        auto it = mDynamicTextures.find(id);
        if (it == mDynamicTextures.end()) {
            it = mDynamicTextures.emplace(id, cCachedTexture{loadDynamicTexture(state), 0}).first;
        }
        ++it->second.references;
        registerTexture(state, it->second.name);
    }
}

void cOglRenderer::applyTextureState(cTextureState& state)
{
    if (!selectUnit(state)) {
        return;
    }
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    for (GLenum target : {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP}) {
        glDisable(target);
    }
    const GLuint name = textureName(state.getSerial());
    const int32_t id = state.getTextureId();
    switch (state.getSource()) {
    case kTextureFromImage: {
        const GLenum targets[] = {0, GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_3D};
        const int32_t type = state.getType();
        if (state.getSerial() != -1 && type >= 1 && type <= 3) {
            glEnable(targets[type]);
            glBindTexture(targets[type], name);
        }
        break;
    }
    case kTextureFromDynamicImage: {
        if (state.getSerial() == -1 || id < 0 || static_cast<size_t>(id) >= mDynamicImages.size()) {
            break;
        }
        const GLenum target = dynamicTarget(state.getType());
        glEnable(target);
        glBindTexture(target, name);
        cDynamicImage* image = mDynamicImages[static_cast<size_t>(id)];
        if (!image || !image->changed) {
            break;
        }
        image->changed = false;
        const bool isFloat = state.getFormat() == 2;
        const GLenum format = image->bytesPerPixel == 3 ? GL_RGB : GL_RGBA;
        const size_t texel = (isFloat ? 4 : 1) * (format == GL_RGB ? 3 : 4);
        if (image->pixels.size() < image->bytesNeeded(texel)) {
            break;
        }
        const GLenum type = isFloat ? GL_FLOAT : GL_UNSIGNED_BYTE;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        if (target == GL_TEXTURE_1D) {
            glTexSubImage1D(target, 0, 0, image->width, format, type, image->pixels.data());
        } else if (target == GL_TEXTURE_3D) {
            glTexSubImage3D(target, 0, 0, 0, 0, image->width, image->height, image->depth, format,
                            type, image->pixels.data());
        } else {
            glTexSubImage2D(target, 0, 0, 0, image->width, image->height, format, type,
                            image->pixels.data());
        }
        break;
    }
    case kTextureFromRenderTarget: {
        const cRenderTargetRecord* target = renderTargetRecord(id);
        if (!target || !glIsTexture(target->colorTexture)) {
            break;
        }
        if (state.getType() == kTexture2D) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, target->colorTexture);
        } else if (state.getType() == kTextureCube) {
            glEnable(GL_TEXTURE_CUBE_MAP);
            glBindTexture(GL_TEXTURE_CUBE_MAP, target->colorTexture);
            for (GLenum coord : {GL_S, GL_T, GL_R}) {
                glTexGeni(coord, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
            }
            glEnable(GL_TEXTURE_GEN_S);
            glEnable(GL_TEXTURE_GEN_T);
            glEnable(GL_TEXTURE_GEN_R);
            for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R}) {
                glTexParameteri(GL_TEXTURE_CUBE_MAP, wrap, GL_CLAMP_TO_EDGE);
            }
        }
        break;
    }
    default:
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_3D);
        glDisable(GL_TEXTURE_CUBE_MAP);
        break;
    }
}

void cOglRenderer::releaseTexture(cTextureState& state)
{
    const int32_t source = state.getSource();
    if (source == kTextureNone || source == kTextureFromRenderTarget || state.getSerial() == -1) {
        return;
    }
    if (state.getType() == kTextureCube) {
        const std::array<int32_t, 6> faces = cubeFaces(state);
        auto it = std::find_if(mCubeMaps.begin(), mCubeMaps.end(),
                               [&](const cCachedCubeMap& c) { return c.faces == faces; });
        if (it != mCubeMaps.end() && --it->references <= 0) {
            glDeleteTextures(1, &it->name);
            mCubeMaps.erase(it);
        }
    } else {
        auto& cache = source == kTextureFromImage ? mImageTextures : mDynamicTextures;
        auto it = cache.find(state.getTextureId());
        if (it != cache.end() && --it->second.references <= 0) {
            glDeleteTextures(1, &it->second.name);
            cache.erase(it);
        }
    }
    state.setSerial(-1);
}

cRenderTargetRecord cOglRenderer::createRenderTarget(const cRenderTarget& target, GLenum depthFormat)
{
    const cTextureState& texture = target.texture;
    const GLsizei width = texture.getWidth();
    const GLsizei height = texture.getHeight();
    const bool mipmapped = texture.getFilter() == 0;
    cRenderTargetRecord record;
    glGenFramebuffersEXT(1, &record.framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, record.framebuffer);
    glGenTextures(1, &record.colorTexture);
    const GLenum textureTarget = texture.getType() == kTextureCube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    glBindTexture(textureTarget, record.colorTexture);
    glTexParameteri(textureTarget, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(textureTarget, GL_TEXTURE_MIN_FILTER, mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(textureTarget, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(textureTarget, GL_TEXTURE_WRAP_T, GL_CLAMP);
    if (texture.getType() == kTexture2D) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (mipmapped) {
            glGenerateMipmapEXT(GL_TEXTURE_2D);
        }
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                  record.colorTexture, 0);
    } else if (texture.getType() == kTextureCube) {
        for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X; face <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z; ++face) {
            glTexImage2D(face, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            if (mipmapped) {
                glGenerateMipmapEXT(GL_TEXTURE_CUBE_MAP);
            }
        }
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                  GL_TEXTURE_CUBE_MAP_POSITIVE_X, record.colorTexture, 0);
    }
    glGenRenderbuffersEXT(1, &record.depthBuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, record.depthBuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, depthFormat, width, height);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 record.depthBuffer);
    if (glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_UNSUPPORTED_EXT) {
        return record;
    }
    glDeleteTextures(1, &record.colorTexture);
    glDeleteFramebuffersEXT(1, &record.framebuffer);
    glDeleteRenderbuffersEXT(1, &record.depthBuffer);
    if (depthFormat != GL_DEPTH_COMPONENT16) {
        return createRenderTarget(target, GL_DEPTH_COMPONENT16);
    }
    return record;
}

void cOglRenderer::registerRenderTarget(cRenderTarget& target)
{
    mRenderTargets.push_back(createRenderTarget(target, GL_DEPTH_COMPONENT24));
    target.id = static_cast<int32_t>(mRenderTargets.size()) - 1;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

void cOglRenderer::prepareCameraTargets(cCameraNode* camera)
{
    for (int32_t i = 0; camera && i < camera->getRenderPassCount(); ++i) {
        cRenderTarget& target = camera->getRenderPass(i).target;
        if (target.kind == kTargetTexture && target.id == -1) {
            registerRenderTarget(target);
        }
    }
}

void cOglRenderer::preparePostProcessChain(std::vector<cPostProcessStep>& chain)
{
    for (cPostProcessStep& step : chain) {
        prepareMaterial(step.material, nullptr);
        if (step.target.kind == kTargetTexture && step.target.id == -1) {
            registerRenderTarget(step.target);
        }
    }
}

void cOglRenderer::bindRenderTarget(const cRenderTarget& target, GLenum textureTarget)
{
    glBindTexture(textureTarget, 0);
    const cRenderTargetRecord* record = renderTargetRecord(target.id);
    if (!record) {
        return;
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, record->framebuffer);
    glViewport(0, 0, target.texture.getWidth(), target.texture.getHeight());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void cOglRenderer::unbindRenderTarget(const cRenderTarget& target, GLenum textureTarget)
{
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    const cRenderTargetRecord* record = renderTargetRecord(target.id);
    if (!record) {
        return;
    }
    glBindTexture(textureTarget, record->colorTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    if (target.texture.getFilter() == 0) {
        glGenerateMipmapEXT(textureTarget);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}

GLuint cOglRenderer::textureName(int32_t handle) const
{
    return handle >= 0 && static_cast<size_t>(handle) < mTextureHandles.size()
               ? mTextureHandles[static_cast<size_t>(handle)]
               : 0;
}

const cRenderTargetRecord* cOglRenderer::renderTargetRecord(int32_t id) const
{
    return id >= 0 && static_cast<size_t>(id) < mRenderTargets.size()
               ? &mRenderTargets[static_cast<size_t>(id)]
               : nullptr;
}

int32_t cOglRenderer::imageTextureShares(int32_t resourceId) const
{
    const auto it = mImageTextures.find(resourceId);
    return it == mImageTextures.end() ? 0 : it->second.references;
}

} // namespace qvr
