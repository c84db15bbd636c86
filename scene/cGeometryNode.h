// Node that owns an indexed triangle mesh with named per-vertex attributes.
#pragma once

#include "scene/cSpatialNode.h"

#include <array>
#include <map>

namespace qvr {

//! Three indices into the vertex arrays.
using cTriangle = std::array<uint32_t, 3>;
using cVec2Array = std::vector<std::array<float, 2>>;
using cVec3Array = std::vector<cVec3f>;
using cVec4Array = std::vector<std::array<float, 4>>;

class cGeometryNode : public cSpatialNode {
public:
    using cSpatialNode::cSpatialNode;

    int32_t getType() const override { return kNodeGeometry; }
    //! Reads the node record, then the mesh. Fails on a triangle index outside the vertices or
    //! an attribute shorter than the vertex list; the text form then generates "tangent".
    bool serialize(std::istream& in, bool binary, bool reading, std::string* error = nullptr) override;
    //! Whether the line through the active camera and the mouse position meets the bounding
    //! sphere (placed at the world position; rotation and scale are not applied).
    bool hitTest() override;

    //! Bounding sphere of the positions: the centre and half diagonal of their box.
    void computeBounds();
    //! Fills the vec3 attribute name with per-vertex tangents from "normals" and "texCoord1".
    //! Without both for every vertex the attribute is left out; a vertex that gets no direction
    //! has (0, 0, 0).
    void generateTangents(const std::string& name);

    std::vector<cTriangle>& getTriangles() { return mTriangles; }
    const std::vector<cTriangle>& getTriangles() const { return mTriangles; }
    cVec3Array& getPositions() { return mPositions; }
    const cVec3Array& getPositions() const { return mPositions; }
    std::map<std::string, cVec2Array>& getVec2Attributes() { return mVec2; }
    const std::map<std::string, cVec2Array>& getVec2Attributes() const { return mVec2; }
    std::map<std::string, cVec3Array>& getVec3Attributes() { return mVec3; }
    const std::map<std::string, cVec3Array>& getVec3Attributes() const { return mVec3; }
    std::map<std::string, cVec4Array>& getVec4Attributes() { return mVec4; }
    const std::map<std::string, cVec4Array>& getVec4Attributes() const { return mVec4; }

    const cVec3f& getBoundsCentre() const { return mBoundsCentre; }
    float getBoundsRadius() const { return mBoundsRadius; }
    //! The renderer's buffer set for this node; -1 until the renderer makes it.
    int32_t getVertexBufferSlot() const { return mVertexBufferSlot; }
    void setVertexBufferSlot(int32_t slot) { mVertexBufferSlot = slot; }

private:
    bool readTextMesh(std::istream& in, std::string* error);
    bool readBinaryMesh(std::istream& in, std::string* error);
    bool checkTriangles(std::string* error) const;

    std::vector<cTriangle> mTriangles;
    cVec3Array mPositions;
    std::map<std::string, cVec3Array> mVec3;
    std::map<std::string, cVec2Array> mVec2;
    std::map<std::string, cVec4Array> mVec4;
    cVec3f mBoundsCentre;
    float mBoundsRadius = 0.0f;
    int32_t mVertexBufferSlot = -1;
};

} // namespace qvr
