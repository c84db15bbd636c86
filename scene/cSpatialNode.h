// Scene node: name, id, local transform, visibility and materials, with the world transform the
// per-frame update derives from its parent. The base of every node kind.
#pragma once

#include "math/cAnimatable.h"
#include "math/cMatrix4f.h"
#include "math/cQuaternion.h"
#include "math/cVec3f.h"
#include "states/cMaterial.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace qvr {

class cScenegraph;

//! Node type codes of getType().
enum eNodeType : int32_t {
    kNodeSpatial = 0,
    kNodeGeometry = 2,
    kNodeCamera = 3,
    kNodeCollision = 4,
    kNodeTrack = 5,
    kNodeLink = 6,
    kNodeParticle = 7,
};

class cSpatialNode {
public:
    using cMaterialList = std::vector<cMaterial>;
    using cChildList = std::vector<std::unique_ptr<cSpatialNode>>;

    explicit cSpatialNode(cScenegraph* scenegraph = nullptr) : mScenegraph(scenegraph) {}
    //! Destroys the subtree (without recursion, so any depth is safe).
    virtual ~cSpatialNode();
    cSpatialNode(const cSpatialNode&) = delete;
    cSpatialNode& operator=(const cSpatialNode&) = delete;

    //! Recomputes the world transform when this node is dirty or the parent's world transform
    //! changed this frame, and resolves effective visibility and materials. parent may be null.
    virtual void update(float time, const cSpatialNode* parent);
    //! Applies the pending translation, rebuilds the world rotation matrix, clears dirty.
    virtual void commitTransform();
    virtual int32_t getType() const { return kNodeSpatial; }
    //! Reads this node's record of a scene file (reading must be true; writing is not supported).
    //! Returns false when the record could not be read; error then says why.
    virtual bool serialize(std::istream& in, bool binary, bool reading, std::string* error = nullptr);
    //! Whether the mouse ray meets this node; only geometry nodes can be hit.
    virtual bool hitTest() { return false; }

    int32_t getId() const { return mId; }
    void setId(int32_t id) { mId = id; }
    int32_t getParentId() const { return mParentId; }
    void setParentId(int32_t id) { mParentId = id; }
    std::string& getName() { return mName; }
    const std::string& getName() const { return mName; }
    cSpatialNode* getParent() const { return mParent; }
    const cChildList& getChildren() const { return mChildren; }
    cScenegraph* getScenegraph() const { return mScenegraph; }
    void setScenegraph(cScenegraph* scenegraph) { mScenegraph = scenegraph; }

    //! Takes ownership of child and appends it. A child attached elsewhere is moved here; a child
    //! that is this node or one of its ancestors is refused (false).
    bool addChild(cSpatialNode* child);
    //! Releases ownership of child (first occurrence) without destroying it; null when not a child.
    cSpatialNode* detachChild(cSpatialNode* child);
    //! Puts newParent between this node and its parent: newParent becomes the parent's last child
    //! and this node newParent's last child. Without a parent nothing happens.
    void insertParent(cSpatialNode* newParent);

    //! First node of the subtree in pre-order with that name / id; null when none.
    cSpatialNode* findByName(const std::string& name);
    cSpatialNode* findById(int32_t id);
    //! Appends every node of the subtree of that type code, in pre-order.
    void collectByType(int32_t type, std::vector<cSpatialNode*>& out);

    void setVisible(bool visible) { mVisible = visible; }
    //! Effective visibility: own flag and every ancestor's, as of the last update.
    bool isVisible() const { return mEffectiveVisible; }
    bool getOwnVisible() const { return mVisible; }

    //! The own material list; null when the node has none.
    cMaterialList* getMaterials() { return mMaterials.get(); }
    //! Material 0 of the own list, creating the list and a default material when needed.
    cMaterial& getMaterial();
    //! The own list, or the nearest ancestor's, as of the last update.
    cMaterialList* getEffectiveMaterials() const { return mEffectiveMaterials; }

    //! Sets the position's constant value and marks the node dirty.
    void setPosition(const cVec3f& position);
    //! The position at time 0.
    cVec3f getPosition() const { return mPosition.evaluate(0.0f); }
    //! The animatable position (bind it to a controller here); marking dirty is the caller's job.
    cAnimatableVec3f& getAnimatablePosition() { return mPosition; }
    //! Position constant = position at time 0 + delta; marks dirty.
    void translate(const cVec3f& delta);
    //! The local rotation for writing; marks dirty.
    cQuaternion& getRotation() { mDirty = true; return mRotation; }
    //! The local rotation for reading.
    const cQuaternion& peekRotation() const { return mRotation; }
    //! Moves the node at once: position constant and world position both become position.
    void placeAt(const cVec3f& position)
    {
        setPosition(position);
        mWorldPosition = position;
    }
    //! Extra offset added to the local position.
    void setOffset(const cVec3f& offset) { mOffset = offset; mDirty = true; }

    const cVec3f& getWorldPosition() const { return mWorldPosition; }
    const cQuaternion& getWorldRotation() const { return mWorldRotation; }
    const cMatrix4f& getWorldRotationMatrix() const { return mWorldRotationMatrix; }
    const cVec3f& getWorldScale() const { return mWorldScale; }
    bool isDirty() const { return mDirty; }
    //! Makes the next update recompute the world transform (after writing scale, for example).
    void markDirty() { mDirty = true; }
    bool hasWorldChanged() const { return mWorldChanged; }

    //! Local scale; writing it does not mark the node dirty.
    cVec3f scale{1.0f, 1.0f, 1.0f};

protected:
    //! The node record shared by every kind: name, ids, position, rotation, scale.
    bool readRecord(std::istream& in, bool binary, std::string* error);

private:
    int32_t mId = -1;
    int32_t mParentId = -1;
    std::string mName;
    cQuaternion mRotation;
    cAnimatableVec3f mPosition;
    cQuaternion mWorldRotation;
    cMatrix4f mWorldRotationMatrix = identityMatrix();
    cVec3f mWorldPosition;
    cVec3f mWorldScale;
    cVec3f mOffset;
    cVec3f mPendingTranslation;
    bool mVisible = true;
    bool mEffectiveVisible = true;
    std::unique_ptr<cMaterialList> mMaterials;
    cMaterialList* mEffectiveMaterials = nullptr;
    cSpatialNode* mParent = nullptr;
    cChildList mChildren;
    cScenegraph* mScenegraph = nullptr;
    bool mDirty = true;
    bool mWorldChanged = true;

    static cMatrix4f identityMatrix()
    {
        cMatrix4f m;
        m.setIdentity();
        return m;
    }
};

//! Visits a subtree in pre-order without recursion. visit(node) returns whether to descend into
//! the node's children.
template <typename Visit>
void visitPreOrder(cSpatialNode* top, Visit visit)
{
    if (!top) {
        return;
    }
    std::vector<cSpatialNode*> stack{top};
    while (!stack.empty()) {
        cSpatialNode* node = stack.back();
        stack.pop_back();
        if (!visit(node)) {
            continue;
        }
        const cSpatialNode::cChildList& children = node->getChildren();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            stack.push_back(it->get());
        }
    }
}

//! Sets each node's parent id to its parent's id (-1 without a parent) over a subtree.
void fixParentIds(cSpatialNode* top);

} // namespace qvr
