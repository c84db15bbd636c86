// The OpenGL renderer's meshes: buffer objects, vertex attributes by name, camera uniforms, draws.
#include "render/cOglRenderer.h"

#include "core/cSystemWrapper.h"

#include <cstdio>

namespace qvr {

namespace {

// GL primitive of a primitive type; anything unknown draws triangles.
GLenum primitiveMode(int32_t primType)
{
    switch (primType) {
    case kPrimTriangleStrip: return GL_TRIANGLE_STRIP;
    case kPrimTriangleFan: return GL_TRIANGLE_FAN;
    case kPrimLineLoop: return GL_LINE_LOOP;
    case kPrimLines: return GL_LINES;
    case kPrimLineStrip: return GL_LINE_STRIP;
    default: return GL_TRIANGLES;
    }
}

// Whether every triangle index names a vertex: GL must never read past the vertex arrays.
bool indicesValid(const cGeometryNode& node)
{
    const size_t count = node.getPositions().size();
    for (const cTriangle& t : node.getTriangles()) {
        if (t[0] >= count || t[1] >= count || t[2] >= count) {
            return false;
        }
    }
    return true;
}

// A node attribute of that name with one value per vertex: data, components and element bytes.
struct cAttributeArray {
    const void* data = nullptr;
    GLint components = 0;
    size_t bytes = 0;
};

cAttributeArray findAttribute(const cGeometryNode& node, const std::string& name)
{
    const size_t count = node.getPositions().size();
    if (const auto it = node.getVec2Attributes().find(name); it != node.getVec2Attributes().end()) {
        return it->second.size() >= count ? cAttributeArray{it->second.data(), 2, 8} : cAttributeArray{};
    }
    if (const auto it = node.getVec3Attributes().find(name); it != node.getVec3Attributes().end()) {
        return it->second.size() >= count ? cAttributeArray{it->second.data(), 3, 12} : cAttributeArray{};
    }
    if (const auto it = node.getVec4Attributes().find(name); it != node.getVec4Attributes().end()) {
        return it->second.size() >= count ? cAttributeArray{it->second.data(), 4, 16} : cAttributeArray{};
    }
    return {};
}

template <typename T>
GLuint uploadBuffer(GLenum target, const std::vector<T>& values)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(values.size() * sizeof(T)),
                 values.empty() ? nullptr : values.data(), GL_STATIC_DRAW);
    return buffer;
}

} // namespace

void cOglRenderer::createVertexBuffers(const cPrimitiveState& state, cSpatialNode* node)
{
    if (!node || node->getType() != kNodeGeometry || state.getBufferType() != 0) {
        return;
    }
    auto* geometry = static_cast<cGeometryNode*>(node);
    const size_t count = geometry->getPositions().size();
    if (geometry->getVertexBufferSlot() != -1 || count == 0) {
        return;
    }
    if (!indicesValid(*geometry)) {
        std::fprintf(stderr, "cOglRenderer: mesh \"%s\" has triangle indices past its %zu vertices; "
                             "it is not drawn\n", geometry->getName().c_str(), count);
        return;
    }
    cVertexBufferSet set;
    set.positions = uploadBuffer(GL_ARRAY_BUFFER, geometry->getPositions());
    geometry->setVertexBufferSlot(static_cast<int32_t>(mVertexBuffers.size()));
    set.indices = uploadBuffer(GL_ELEMENT_ARRAY_BUFFER, geometry->getTriangles());
    // Arrays shorter than the vertex list are not sent: the draw would read past them.
    const auto add = [&](const std::string& name, const auto& values) {
        if (values.size() >= count) {
            set.attributes[name] = uploadBuffer(GL_ARRAY_BUFFER, values);
        }
    };
    for (const auto& [name, values] : geometry->getVec2Attributes()) {
        add(name, values);
    }
    for (const auto& [name, values] : geometry->getVec3Attributes()) {
        add(name, values);
    }
    for (const auto& [name, values] : geometry->getVec4Attributes()) {
        add(name, values);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    mVertexBuffers.push_back(std::move(set));
}

void cOglRenderer::releaseVertexBuffers(cSpatialNode* node, const cPrimitiveState& state)
{
    if (!node || node->getType() != kNodeGeometry) {
        return;
    }
    auto* geometry = static_cast<cGeometryNode*>(node);
    const int32_t slot = geometry->getVertexBufferSlot();
    if (state.getBufferType() == 0 && slot >= 0 && static_cast<size_t>(slot) < mVertexBuffers.size()) {
        cVertexBufferSet& set = mVertexBuffers[static_cast<size_t>(slot)];
        glDeleteBuffers(1, &set.positions);
        glDeleteBuffers(1, &set.indices);
        for (auto& [name, buffer] : set.attributes) {
            glDeleteBuffers(1, &buffer);
        }
        set = cVertexBufferSet();
    }
    geometry->setVertexBufferSlot(-1);
}

void cOglRenderer::uploadCameraUniforms(const cProgramRecord& record, cGeometryNode* node)
{
    cScenegraph* scenegraph = node->getScenegraph();
    const cCameraNode* camera = scenegraph ? scenegraph->getActiveCamera() : nullptr;
    if (!camera) {
        return;
    }
    if (const auto it = record.vertexUniforms.find("qvrCamInverse"); it != record.vertexUniforms.end()) {
        cMatrix4f view;
        if (camera->lookAtMode) {
            view = lookAtMatrix(camera->getWorldPosition(), camera->getLookAtTarget(),
                                camera->getUpVector());
        } else {
            cMatrix4f translation;
            translation.setIdentity();
            translation.setTranslation(camera->getWorldPosition().scaled(-1.0f));
            view = camera->getViewOrientation().toMatrix().multiply(translation);
        }
        view.invert();
        glUniformMatrix4fv(it->second, 1, GL_FALSE, view.value);
    }
    if (const auto it = record.vertexUniforms.find("qvrCamPos"); it != record.vertexUniforms.end()) {
        glUniform3fv(it->second, 1, &camera->getWorldPosition().x);
    }
}

void cOglRenderer::drawGeometry(cGeometryNode* node, float time)
{
    if (!mCurrentMaterial || !node || node->getPositions().empty()) {
        return;
    }
    const cPrimitiveState& primitive = mCurrentMaterial->getPrimitiveState();
    const cProgramRecord* record = programRecord(mCurrentMaterial->getShaderState().getProgramId());
    const int32_t slot = node->getVertexBufferSlot();
    const cVertexBufferSet* buffers =
        primitive.getBufferType() == 0 && slot >= 0 && static_cast<size_t>(slot) < mVertexBuffers.size()
            ? &mVertexBuffers[static_cast<size_t>(slot)]
            : nullptr;
    // Without buffer objects the arrays in memory are drawn; they are checked each time.
    if (!buffers && !indicesValid(*node)) {
        return;
    }
    if (record) {
        uploadCameraUniforms(*record, node);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, buffers ? buffers->positions : 0);
    glVertexPointer(3, GL_FLOAT, 0, buffers ? nullptr : node->getPositions().data());

    std::vector<GLint> enabled;
    for (const auto& [name, location] : record ? record->attributes : std::map<std::string, GLint>{}) {
        const cAttributeArray array = findAttribute(*node, name);
        if (!array.data) {
            continue;
        }
        GLuint buffer = 0;
        if (buffers) {
            const auto it = buffers->attributes.find(name);
            if (it == buffers->attributes.end()) {
                continue;
            }
            buffer = it->second;
        }
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), array.components, GL_FLOAT, GL_FALSE, 0,
                              buffers ? nullptr : array.data);
        enabled.push_back(location);
    }

    const GLsizei vertices = static_cast<GLsizei>(node->getPositions().size());
    if (primitive.getPrimType() == kPrimPoints) {
        for (GLenum unit = 0; unit < 8; ++unit) {
            glActiveTexture(GL_TEXTURE0 + unit);
            glEnable(GL_POINT_SPRITE);
            glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, GL_TRUE);
        }
        glPointSize(primitive.getPointSize().evaluate(getSystemWrapper().getAnimationPhase()));
        glDrawArrays(GL_POINTS, 0, vertices);
        for (GLenum unit = 0; unit < 8; ++unit) {
            glActiveTexture(GL_TEXTURE0 + unit);
            glDisable(GL_POINT_SPRITE);
            glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, GL_FALSE);
        }
        glActiveTexture(GL_TEXTURE0);
    } else {
        glLineWidth(primitive.getLineWidth().evaluate(time));
        glPointSize(primitive.getPointSize().evaluate(time));
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers ? buffers->indices : 0);
        glDrawElements(primitiveMode(primitive.getPrimType()),
                       static_cast<GLsizei>(node->getTriangles().size() * 3), GL_UNSIGNED_INT,
                       buffers ? nullptr : node->getTriangles().data());
    }

    glUseProgram(0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDepthMask(GL_TRUE);
    for (GLint location : enabled) {
        glDisableVertexAttribArray(static_cast<GLuint>(location));
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void cOglRenderer::drawPostProcess(std::vector<cPostProcessStep>& chain,
                                   const std::vector<int32_t>& steps, float time)
{
    glActiveTexture(GL_TEXTURE0);
    begin2D();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    for (int32_t index : steps) {
        if (index < 0 || static_cast<size_t>(index) >= chain.size()) {
            continue;
        }
        cPostProcessStep& step = chain[static_cast<size_t>(index)];
        const bool intoTexture = step.target.kind == kTargetTexture;
        if (intoTexture) {
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, 0);
            bindRenderTarget(step.target, GL_TEXTURE_2D);
        }
        applyMaterial(&step.material, time);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(step.width, 0.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(step.width, step.height);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(0.0f, step.height);
        glEnd();
        if (intoTexture) {
            unbindRenderTarget(step.target, GL_TEXTURE_2D);
            glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        }
    }
    end2D();
}

} // namespace qvr
