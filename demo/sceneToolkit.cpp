// The scene toolkit: mesh appending, overlay quads, fades, material variables, checked loading
// and the shared cameras, passes and post-processing chain.
#include "demo/sceneToolkit.h"

#include "core/fatalError.h"
#include "demo/demoState.h"
#include "math/random.h"

#include <cmath>

namespace demo {

using namespace qvr;

namespace {

template <typename Table>
void appendDeclared(Table& destination, const Table& source)
{
    for (const auto& [name, values] : source) {
        auto it = destination.find(name);
        if (it != destination.end()) {
            it->second.insert(it->second.end(), values.begin(), values.end());
        }
    }
}

cRenderTarget textureTarget(int32_t size)
{
    cRenderTarget target;
    target.kind = kTargetTexture;
    target.texture.setSource(kTextureFromRenderTarget);
    target.texture.setType(kTexture2D);
    target.texture.setFilter(1);
    target.texture.setSize(size, size);
    return target;
}

cPostProcessStep postStep(const std::string& material, bool toTexture)
{
    cPostProcessStep step;
    step.material.load(material, false);
    step.target = toTexture ? textureTarget(128) : cRenderTarget();
    step.width = 800.0f;
    step.height = 600.0f;
    return step;
}

void makePostProcessChain(cScenegraph& graph)
{
    std::vector<cPostProcessStep>& chain = graph.getPostProcessChain();
    chain.push_back(postStep("Assets/Mat/postprocblurv.mat", true));
    chain.push_back(postStep("Assets/Mat/postprocblurh.mat", true));
    cPostProcessStep second = chain[0];
    second.material.getTextureState(0).setTextureId(2);
    chain.push_back(second);
    chain.push_back(postStep("Assets/Mat/postproc.mat", false));
    for (int32_t step : {0, 1, 2, 1, 2, 1, 2, 1, 3}) {
        graph.getPostProcessSteps().push_back(step);
    }
}

cShaderState& shaderOf(cSpatialNode* node)
{
    return node->getMaterial().getShaderState();
}

} // namespace

cMeshData copyMeshData(const cGeometryNode& node)
{
    cMeshData data;
    data.triangles = node.getTriangles();
    data.positions = node.getPositions();
    data.vec2 = node.getVec2Attributes();
    data.vec3 = node.getVec3Attributes();
    data.vec4 = node.getVec4Attributes();
    return data;
}

void appendMesh(cGeometryNode& destination, const cMeshData& source)
{
    const uint32_t base = static_cast<uint32_t>(destination.getPositions().size());
    appendDeclared(destination.getVec2Attributes(), source.vec2);
    appendDeclared(destination.getVec3Attributes(), source.vec3);
    appendDeclared(destination.getVec4Attributes(), source.vec4);
    cVec3Array& positions = destination.getPositions();
    positions.insert(positions.end(), source.positions.begin(), source.positions.end());
    std::vector<cTriangle>& triangles = destination.getTriangles();
    triangles.reserve(triangles.size() + source.triangles.size());
    for (const cTriangle& t : source.triangles) {
        triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
    }
}

cVec3f perpendicularOf(const cVec3f& v)
{
    const float ax = std::fabs(v.x);
    const float ay = std::fabs(v.y);
    const float az = std::fabs(v.z);
    cVec3f r;
    if (ax < ay && ax < az) {
        r = cVec3f(0.0f, -v.z, v.y);
    } else if (ay <= ax && ay < az) {
        r = cVec3f(-v.z, 0.0f, v.x);
    } else {
        r = cVec3f(-v.y, v.x, 0.0f);
    }
    r.normalize();
    return r;
}

void fadeToColorRamp(cSpatialNode* node, int32_t startMs, int32_t endMs, float from, float to)
{
    if (demoTimeMs < startMs || demoTimeMs > endMs) {
        return;
    }
    const float fraction = static_cast<float>(endMs - demoTimeMs) / static_cast<float>(endMs - startMs);
    setFragmentFloat(node, "fadeToColor", 1.0f - (from + fraction * (to - from)));
}

void addOverlayQuad(cGeometryNode*& out)
{
    cScenegraph& graph = demoScenegraph();
    out = graph.createGeometryNode();
    out->getPositions() = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    out->getVec2Attributes()["tex1"] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    out->getTriangles() = {{0, 1, 3}, {1, 2, 3}};
    graph.getRoot()->addChild(out);
    loadMaterial(out, "Assets/Mat/overlay1.mat");
}

void setFragmentFloat(cSpatialNode* node, const std::string& name, float value)
{
    shaderOf(node).fragmentVars().floats[name].setValue(value);
}

void setVertexFloat(cSpatialNode* node, const std::string& name, float value)
{
    shaderOf(node).vertexVars().floats[name].setValue(value);
}

void setVertexVec3(cSpatialNode* node, const std::string& name, const cVec3f& value)
{
    shaderOf(node).vertexVars().vec3s[name].setValue(value.x, value.y, value.z);
}

void loadMaterial(cSpatialNode* node, const std::string& path)
{
    node->getMaterial().load(path, false);
}

void setPictureId(cSpatialNode* node, int32_t id)
{
    node->getMaterial().getTextureState(0).setTextureId(id);
}

void scaleBy(cSpatialNode* node, float factor)
{
    node->scale.scale(factor);
    node->markDirty();
}

cSpatialNode* loadMeshFile(const std::string& path, const char* operation)
{
    cSpatialNode* top = demoScenegraph().loadScene(path, false, nullptr);
    if (!top) {
        reportFatalError(std::string("Crash in: ") + operation + " : could not load " + path);
    }
    return top;
}

cGeometryNode* findGeometry(cSpatialNode* top, const std::string& name, const std::string& path,
                            const char* operation)
{
    cSpatialNode* node = top->findByName(name);
    if (!node || node->getType() != kNodeGeometry) {
        reportFatalError(std::string("Crash in: ") + operation + " : " + path +
                         " has no mesh node named \"" + name + "\"");
    }
    return static_cast<cGeometryNode*>(node);
}

cSpatialNode* loadWaterPlane(const std::string& material, bool scaled, const char* operation)
{
    cSpatialNode* water = loadMeshFile("Assets/wplane.QVS", operation);
    loadMaterial(water, material);
    if (scaled) {
        scaleBy(water, 40.0f);
    }
    return water;
}

cGeometryNode* buildBlockField(const std::string& path, int32_t count, const std::string& material,
                               cGeometryNode*& blockTemplate, const cBlockPlacement& place)
{
    cScenegraph& graph = demoScenegraph();
    cSpatialNode* file = loadMeshFile(path, "buildBlockField");
    blockTemplate = findGeometry(file, "Box01", path, "buildBlockField");
    blockTemplate->setVisible(true);
    cGeometryNode* field = graph.createGeometryNode();
    field->getVec3Attributes()["normals"];
    field->getVec3Attributes()["tangent"];
    field->getVec2Attributes()["texCoord1"];
    field->getVec2Attributes()["displace"];
    const cMeshData block = copyMeshData(*blockTemplate);
    for (int32_t i = 0; i < count; ++i) {
        cMeshData copy = block;
        copy.vec2["displace"].assign(copy.positions.size(), place(i));
        appendMesh(*field, copy);
    }
    loadMaterial(field, material);
    graph.getRoot()->addChild(field);
    return field;
}

void reseedBlocks(cSpatialNode* node, float& fromSeed, float& toSeed, int32_t& interval, int32_t& timer,
                  int32_t spread, int32_t minimum)
{
    const float a = randomFraction(500);
    fromSeed = toSeed;
    toSeed = a * kTwoPi;
    interval = randomBelow(spread) + minimum;
    timer = 0;
    setVertexFloat(node, "toSeed", toSeed);
    setVertexFloat(node, "fromSeed", fromSeed);
}

void setSeedProgress(cSpatialNode* node, int32_t timer, int32_t interval, float clock)
{
    setVertexFloat(node, "seedT", static_cast<float>(timer) / static_cast<float>(interval));
    setFragmentFloat(node, "anim", clock * 0.1f);
}

cSharedObjects& sharedObjects()
{
    static cSharedObjects objects;
    return objects;
}

bool makeMainCameraObjects()
{
    cSharedObjects& shared = sharedObjects();
    if (shared.mainCamera) {
        return false;
    }
    cScenegraph& graph = demoScenegraph();
    cSpatialNode* found = graph.findNode("qvr_defcam");
    if (!found || found->getType() != kNodeCamera) {
        reportFatalError("Crash in: makeMainCameraObjects : no camera named \"qvr_defcam\"");
    }
    shared.mainCamera = static_cast<cCameraNode*>(found);
    cRenderPass glow;
    glow.include = {{graph.getRoot(), 0}};
    glow.target = textureTarget(128);
    shared.mainCamera->addRenderPass(glow);
    demoRenderer().prepareSubtree(shared.mainCamera);
    makePostProcessChain(graph);
    demoRenderer().prepareScene(graph);
    return true;
}

cCameraNode* makeMirrorCamera(bool mainCameraOnly)
{
    cScenegraph& graph = demoScenegraph();
    cCameraNode* camera = graph.createCameraNode();
    cRenderPass pass;
    pass.include = {{graph.getRoot(), 0}};
    pass.mainCameraOnly = mainCameraOnly;
    pass.target = textureTarget(512);
    camera->addRenderPass(pass);
    graph.getRoot()->addChild(camera);
    camera->lookAtMode = true;
    camera->scale.y = -1.0f;
    camera->markDirty();
    return camera;
}

bool makeReflectionCamera(cSpatialNode* water, bool mainCameraOnly)
{
    cSharedObjects& shared = sharedObjects();
    if (shared.reflectionCamera) {
        return false;
    }
    shared.reflectionCamera = makeMirrorCamera(mainCameraOnly);
    shared.reflectionCamera->getRenderPass(0).exclude = {water};
    demoRenderer().prepareSubtree(shared.reflectionCamera);
    return true;
}

cRenderPass& glowPass()
{
    return sharedObjects().mainCamera->getRenderPass(0);
}

cRenderPass& reflectionPass()
{
    return sharedObjects().reflectionCamera->getRenderPass(0);
}

void setReflectionPass(bool mainCameraOnly, std::initializer_list<cSpatialNode*> exclude)
{
    cRenderPass& pass = reflectionPass();
    pass.mainCameraOnly = mainCameraOnly;
    pass.exclude.assign(exclude.begin(), exclude.end());
}

cCameraNode* activateMainCamera()
{
    cScenegraph& graph = demoScenegraph();
    cSpatialNode* found = graph.findNode("qvr_defcam");
    if (!found || found->getType() != kNodeCamera) {
        reportFatalError("Crash in: activateMainCamera : no camera named \"qvr_defcam\"");
    }
    cCameraNode* camera = static_cast<cCameraNode*>(found);
    graph.setActiveCamera(camera);
    camera->lookAtMode = true;
    return camera;
}

void aimCamera(cCameraNode* camera, const cVec3f& position, const cVec3f& target, const cVec3f& up)
{
    camera->setPosition(position);
    camera->setLookAt(target, up);
}

void setVisible(std::initializer_list<cSpatialNode*> nodes, bool visible)
{
    for (cSpatialNode* node : nodes) {
        node->setVisible(visible);
    }
}

int32_t randomBelow(int32_t n)
{
    return randomInt() % n;
}

float randomFraction(int32_t n)
{
    return static_cast<float>(randomInt() % n) / static_cast<float>(n);
}

} // namespace demo
