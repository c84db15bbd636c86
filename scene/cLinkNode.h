// Link node: draws the geometry of another node's subtree with its own world transform
// (instancing). Also the game layer's collision and particle node kinds, known here by type code.
#pragma once

#include "scene/cSpatialNode.h"

namespace qvr {

class cLinkNode : public cSpatialNode {
public:
    using cSpatialNode::cSpatialNode;
    int32_t getType() const override { return kNodeLink; }

    //! The node whose geometry this link draws (not owned; null for none).
    void setLinkTarget(cSpatialNode* target) { mTarget = target; }
    cSpatialNode* getLinkTarget() const { return mTarget; }

private:
    cSpatialNode* mTarget = nullptr;
};

//! A node kind of the racing-game layer; the demo never creates one.
class cCollisionNode : public cSpatialNode {
public:
    using cSpatialNode::cSpatialNode;
    int32_t getType() const override { return kNodeCollision; }
};

//! A node kind of the racing-game layer; the demo never creates one.
class cParticleNode : public cSpatialNode {
public:
    using cSpatialNode::cSpatialNode;
    int32_t getType() const override { return kNodeParticle; }
};

} // namespace qvr
