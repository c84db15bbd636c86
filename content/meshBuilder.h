// Building meshes for the content generator: vertices with normals and texture coordinates,
// triangles, and the shapes the demo's mesh files hold.
#pragma once

#include "scene/cGeometryNode.h"

#include <cstdint>
#include <vector>

namespace qvr::content {

//! A deterministic generator for the shapes' irregularities (independent of the engine's).
class cShapeRandom {
public:
    explicit cShapeRandom(uint32_t seed) : mState(seed) {}
    //! Uniform in [0, 1).
    float next()
    {
        mState = mState * 1664525u + 1013904223u;
        return static_cast<float>(mState >> 8) / 16777216.0f;
    }
    //! Uniform in [lo, hi).
    float range(float lo, float hi) { return lo + (hi - lo) * next(); }

private:
    uint32_t mState;
};

class cMeshBuilder {
public:
    //! Appends a vertex; returns its index.
    uint32_t vertex(const cVec3f& position, const cVec3f& normal, float u, float v);
    void triangle(uint32_t a, uint32_t b, uint32_t c) { mTriangles.push_back({a, b, c}); }
    //! Two triangles a b c, a c d (counter-clockwise seen from the front).
    void quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d);
    //! A flat quad from four corners (counter-clockwise seen from the front) with uv 0..1.
    void flatQuad(const cVec3f& a, const cVec3f& b, const cVec3f& c, const cVec3f& d);

    //! An axis-aligned box centred at centre, per-face normals, uv 0..1 on each face.
    void box(const cVec3f& centre, const cVec3f& size);
    //! A tube along the points with the given radii, rings of `sides` vertices; v runs along it.
    void tube(const std::vector<cVec3f>& points, const std::vector<float>& radii, int sides);

    size_t vertexCount() const { return mPositions.size(); }
    //! Highest y of any vertex (0 without vertices).
    float maxY() const;
    //! Scales every position about the origin.
    void scale(float factor);
    //! Moves the mesh into node: positions, "normals", "texCoord1", triangles, bounds.
    void moveInto(cGeometryNode& node);

private:
    std::vector<cVec3f> mPositions;
    std::vector<cVec3f> mNormals;
    std::vector<std::array<float, 2>> mUvs;
    std::vector<cTriangle> mTriangles;
};

//! The water plane: a size x size grid of cells over [-extent, extent] in x and z at y = 0.
void buildWaterPlane(cMeshBuilder& mesh, int cells, float extent, float uvRepeat);
//! A thick (2, 3) torus knot.
void buildTorusKnot(cMeshBuilder& mesh, float radius, float tubeRadius, int segments, int sides);
//! A UV sphere.
void buildSphere(cMeshBuilder& mesh, float radius, int slices, int stacks);
//! A bare tree standing on y = 0, exactly height tall: the trunk into one mesh, the branches into
//! the other.
void buildTree(cMeshBuilder& trunk, cMeshBuilder& branches, float height, uint32_t seed);

} // namespace qvr::content
