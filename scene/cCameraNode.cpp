// Camera projection and view.
#include "scene/cCameraNode.h"

namespace qvr {

cCameraNode::cCameraNode(cScenegraph* scenegraph) : cSpatialNode(scenegraph)
{
    setPerspective(75.0f, 1.3333334f, 0.3f, 56000.0f);
}

void cCameraNode::setPerspective(float fovDegrees, float aspect, float zNear, float zFar)
{
    mProjection.setIdentity();
    mProjection.setPerspective(fovDegrees, aspect, zNear, zFar);
}

void cCameraNode::setLookAt(const cVec3f& target, const cVec3f& up)
{
    mTarget = target;
    mUp = up;
}

cQuaternion cCameraNode::getViewOrientation() const
{
    cQuaternion halfTurn;
    halfTurn.setAxisAngle(3.14159265358979f, cVec3f(0.0f, 1.0f, 0.0f));
    return getWorldRotation().multiply(halfTurn).inverted();
}

cMatrix4f cCameraNode::getViewMatrix() const
{
    cMatrix4f view;
    if (lookAtMode) {
        view = lookAtMatrix(getWorldPosition(), mTarget, mUp);
    } else {
        cMatrix4f translation;
        translation.setIdentity();
        translation.setTranslation(getWorldPosition().scaled(-1.0f));
        view = getViewOrientation().toMatrix().multiply(translation);
    }
    cMatrix4f scaling;
    scaling.setIdentity();
    const cVec3f& s = getWorldScale();
    scaling.at(0, 0) = s.x;
    scaling.at(1, 1) = s.y;
    scaling.at(2, 2) = s.z;
    return view.multiply(scaling);
}

cMatrix4f lookAtMatrix(const cVec3f& eye, const cVec3f& centre, const cVec3f& up)
{
    cVec3f f = centre;
    f.subtract(eye);
    f.normalize();
    cVec3f s = f.cross(up);
    s.normalize();
    const cVec3f u = s.cross(f);
    cMatrix4f m;
    m.setIdentity();
    m.at(0, 0) = s.x;
    m.at(0, 1) = s.y;
    m.at(0, 2) = s.z;
    m.at(1, 0) = u.x;
    m.at(1, 1) = u.y;
    m.at(1, 2) = u.z;
    m.at(2, 0) = -f.x;
    m.at(2, 1) = -f.y;
    m.at(2, 2) = -f.z;
    m.at(0, 3) = -s.dot(eye);
    m.at(1, 3) = -u.dot(eye);
    m.at(2, 3) = f.dot(eye);
    return m;
}

} // namespace qvr
