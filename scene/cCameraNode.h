// Camera node: projection, view (from its rotation or a look-at target) and render passes.
#pragma once

#include "scene/cRenderPass.h"
#include "scene/cSpatialNode.h"

namespace qvr {

class cCameraNode : public cSpatialNode {
public:
    //! Perspective 75 degrees, aspect 1.3333334, near 0.3, far 56000; rotation mode.
    explicit cCameraNode(cScenegraph* scenegraph = nullptr);

    int32_t getType() const override { return kNodeCamera; }

    //! Rebuilds the projection (vertical field of view in degrees).
    void setPerspective(float fovDegrees, float aspect, float zNear, float zFar);
    //! Stores target and up; does not switch to look-at mode (set lookAtMode for that).
    void setLookAt(const cVec3f& target, const cVec3f& up);
    cMatrix4f getProjection() const { return mProjection; }
    const cVec3f& getLookAtTarget() const { return mTarget; }
    const cVec3f& getUpVector() const { return mUp; }

    //! Inverse of (world rotation x half turn about y): with identity rotation the camera looks
    //! along world +z.
    cQuaternion getViewOrientation() const;
    //! The view matrix drawing uses: look-at from world position, or the view orientation with the
    //! negated world position; then scaled by the world scale.
    cMatrix4f getViewMatrix() const;

    //! Appends a copy of pass.
    void addRenderPass(const cRenderPass& pass) { mPasses.push_back(pass); }
    //! The stored pass, for editing; index must be below getRenderPassCount().
    cRenderPass& getRenderPass(int32_t index) { return mPasses[static_cast<size_t>(index)]; }
    int32_t getRenderPassCount() const { return static_cast<int32_t>(mPasses.size()); }

    //! true: the view comes from world position, look-at target and up vector.
    bool lookAtMode = false;

private:
    cVec3f mTarget;
    cVec3f mUp;
    cMatrix4f mProjection;
    std::vector<cRenderPass> mPasses;
};

//! The OpenGL look-at view matrix (eye looking at centre, up roughly up).
cMatrix4f lookAtMatrix(const cVec3f& eye, const cVec3f& centre, const cVec3f& up);

} // namespace qvr
