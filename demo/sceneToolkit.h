// What every scene is built from: mesh data sets and their appending, the full-screen overlay
// quad, the fade ramp, material variables by name, checked loading of mesh files, and the shared
// main camera, glow pass, reflection camera and post-processing chain.
#pragma once

#include "scene/cGeometryNode.h"
#include "scene/cScenegraph.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace demo {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.28318531f;

//! One mesh as plain data: triangles, positions and the named attributes by component count.
struct cMeshData {
    std::vector<qvr::cTriangle> triangles;
    qvr::cVec3Array positions;
    std::map<std::string, qvr::cVec2Array> vec2;
    std::map<std::string, qvr::cVec3Array> vec3;
    std::map<std::string, qvr::cVec4Array> vec4;
};

//! A copy of a geometry node's mesh.
cMeshData copyMeshData(const qvr::cGeometryNode& node);
//! Appends source to destination: the values of every source attribute whose name the
//! destination's table of that component count already holds (others are skipped), then the
//! positions, then the triangles with their indices moved past the destination's old vertices.
void appendMesh(qvr::cGeometryNode& destination, const cMeshData& source);
//! A unit vector perpendicular to v, built from v's two larger components.
qvr::cVec3f perpendicularOf(const qvr::cVec3f& v);

//! While startMs <= demoTimeMs <= endMs, sets the node's fragment float "fadeToColor" so that it
//! runs from 1 - to at startMs to 1 - from at endMs; outside the interval nothing changes.
void fadeToColorRamp(qvr::cSpatialNode* node, int32_t startMs, int32_t endMs, float from, float to);
//! A full-screen quad (clip-space corners, "tex1" 0..1) under the root with "overlay1.mat".
//! out is set before anything else happens.
void addOverlayQuad(qvr::cGeometryNode*& out);

//! Material 0 of the node: a shader variable set by name (created when absent).
void setFragmentFloat(qvr::cSpatialNode* node, const std::string& name, float value);
void setVertexFloat(qvr::cSpatialNode* node, const std::string& name, float value);
void setVertexVec3(qvr::cSpatialNode* node, const std::string& name, const qvr::cVec3f& value);
//! Loads a material file into material 0 of the node.
void loadMaterial(qvr::cSpatialNode* node, const std::string& path);
//! Sets the texture id of texture state 0 of the node's material 0.
void setPictureId(qvr::cSpatialNode* node, int32_t id);
//! Multiplies the scale on all axes and marks the transform dirty.
void scaleBy(qvr::cSpatialNode* node, float factor);

//! A text mesh file loaded under the root; a file the loader rejects ends the run through the
//! fatal-error path, naming operation and file.
qvr::cSpatialNode* loadMeshFile(const std::string& path, const char* operation);
//! The geometry node of that name under top; a missing one (or one of another kind) is fatal.
qvr::cGeometryNode* findGeometry(qvr::cSpatialNode* top, const std::string& name,
                                 const std::string& path, const char* operation);
//! A copy of "wplane.QVS" under the root with a water material; scaled by 40 when asked.
qvr::cSpatialNode* loadWaterPlane(const std::string& material, bool scaled, const char* operation);

//! The "displace" value of block i of a block field.
using cBlockPlacement = std::function<std::array<float, 2>(int32_t)>;
//! A geometry node under the root holding count copies of the "Box01" template of the block file
//! path (loaded under the root and left visible), block i displaced by place(i) on all its
//! vertices, with the material loaded. blockTemplate receives the template node.
qvr::cGeometryNode* buildBlockField(const std::string& path, int32_t count,
                                    const std::string& material, qvr::cGeometryNode*& blockTemplate,
                                    const cBlockPlacement& place);

//! A new random seed target for a block field's material: the old target becomes the start, the
//! next interval is minimum + a draw below spread, the timer restarts; "toSeed" and "fromSeed" set.
void reseedBlocks(qvr::cSpatialNode* node, float& fromSeed, float& toSeed, int32_t& interval,
                  int32_t& timer, int32_t spread, int32_t minimum);
//! "seedT" = timer / interval (above 1 while the timer runs without reseeding), "anim" = clock / 10.
void setSeedProgress(qvr::cSpatialNode* node, int32_t timer, int32_t interval, float clock);

//! The objects all scenes share, made by the first builder that runs.
struct cSharedObjects {
    qvr::cCameraNode* mainCamera = nullptr;
    qvr::cCameraNode* reflectionCamera = nullptr;
};
cSharedObjects& sharedObjects();

//! Creates the glow pass on the main camera and the post-processing chain, unless the main
//! camera handle is set already. Returns true when it created them.
bool makeMainCameraObjects();
//! Creates the mirrored reflection camera excluding water, unless it exists. Returns true when
//! it created it.
bool makeReflectionCamera(qvr::cSpatialNode* water, bool mainCameraOnly);
//! A mirrored camera with one 512 x 512 pass over the whole scene, attached and prepared.
qvr::cCameraNode* makeMirrorCamera(bool mainCameraOnly);
//! Pass 0 of the main camera: the glow pass.
qvr::cRenderPass& glowPass();
//! Pass 0 of the reflection camera.
qvr::cRenderPass& reflectionPass();
//! Sets the reflection pass's flag and replaces its exclude list.
void setReflectionPass(bool mainCameraOnly, std::initializer_list<qvr::cSpatialNode*> exclude);

//! Looks up "qvr_defcam", makes it the active camera in look-at mode and returns it.
qvr::cCameraNode* activateMainCamera();
//! setPosition and setLookAt on a camera.
void aimCamera(qvr::cCameraNode* camera, const qvr::cVec3f& position, const qvr::cVec3f& target,
               const qvr::cVec3f& up = qvr::cVec3f(0.0f, 1.0f, 0.0f));
//! setVisible on each node, in order.
void setVisible(std::initializer_list<qvr::cSpatialNode*> nodes, bool visible);

//! Random draws as the scenes write them: randomInt() % n, and that over n as a fraction.
int32_t randomBelow(int32_t n);
float randomFraction(int32_t n);

} // namespace demo
