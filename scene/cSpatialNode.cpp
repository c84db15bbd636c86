// Scene node: hierarchy, transform update and the node record of scene files.
#include "scene/cSpatialNode.h"

#include "core/textUtil.h"
#include "scene/cScenegraph.h"
#include "scene/sceneFileIo.h"

namespace qvr {

namespace {

cVec3f componentProduct(const cVec3f& a, const cVec3f& b)
{
    return cVec3f(a.x * b.x, a.y * b.y, a.z * b.z);
}

cVec3f difference(const cVec3f& a, const cVec3f& b)
{
    cVec3f d = a;
    d.subtract(b);
    return d;
}

} // namespace

cSpatialNode::~cSpatialNode()
{
    // Destroy the subtree from a work list: a file may nest nodes deeper than the stack allows.
    cChildList pending = std::move(mChildren);
    while (!pending.empty()) {
        std::unique_ptr<cSpatialNode> node = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<cSpatialNode>& child : node->mChildren) {
            pending.push_back(std::move(child));
        }
        node->mChildren.clear();
    }
}

void cSpatialNode::update(float time, const cSpatialNode* parent)
{
    if (!parent) {
        if (mDirty) {
            const cVec3f target = mRotation.rotateVector(mOffset).plus(mPosition.evaluate(time));
            mPendingTranslation = difference(target, mWorldPosition);
            mWorldRotation = mRotation;
            mWorldScale = scale;
            mWorldChanged = true;
        } else {
            mWorldChanged = false;
        }
        mEffectiveVisible = mVisible;
        mEffectiveMaterials = mMaterials.get();
        return;
    }
    if (parent->mWorldChanged || mDirty) {
        // The parent's position goes in before its scale and rotation are applied.
        const cVec3f local = mOffset.plus(mPosition.evaluate(time));
        const cVec3f scaled = componentProduct(parent->mWorldPosition.plus(local),
                                               parent->mWorldScale);
        const cVec3f target = parent->mWorldRotation.rotateVector(scaled);
        mPendingTranslation = difference(target, mWorldPosition);
        mWorldRotation = parent->mWorldRotation.multiply(mRotation);
        mWorldScale = componentProduct(scale, parent->mWorldScale);
        mWorldChanged = true;
    } else {
        mWorldChanged = false;
    }
    mEffectiveMaterials = mMaterials ? mMaterials.get() : parent->mEffectiveMaterials;
    mEffectiveVisible = parent->mEffectiveVisible ? mVisible : false;
}

void cSpatialNode::commitTransform()
{
    if (mWorldChanged) {
        mWorldPosition.add(mPendingTranslation);
        mWorldRotationMatrix = mWorldRotation.toMatrix();
    }
    mDirty = false;
    mPendingTranslation.set(0.0f, 0.0f, 0.0f);
}

bool cSpatialNode::serialize(std::istream& in, bool binary, bool reading, std::string* error)
{
    if (!reading) {
        return in.good();
    }
    return readRecord(in, binary, error);
}

bool cSpatialNode::readRecord(std::istream& in, bool binary, std::string* error)
{
    cVec3f position;
    float rx = 0, ry = 0, rz = 0, rw = 1;
    if (binary) {
        if (!readBinaryString(in, mName) || !readBinary(in, mId) || !readBinary(in, mParentId) ||
            !readBinary(in, position.x) || !readBinary(in, position.y) ||
            !readBinary(in, position.z) || !readBinary(in, rx) || !readBinary(in, ry) ||
            !readBinary(in, rz) || !readBinary(in, rw) || !readBinary(in, scale.x) ||
            !readBinary(in, scale.y) || !readBinary(in, scale.z)) {
            return failWith(error, "node record cut short");
        }
    } else {
        readLabeledName(in, mName);
        readLabeled(in, mId);
        readLabeled(in, mParentId);
        skipLineEnd(in);
        for (int i = 0; i < 3; ++i) {
            discardLine(in);
        }
        skipLabel(in);
        in >> position;
        skipLabel(in);
        in >> rx >> ry >> rz >> rw;
        skipLabel(in);
        in >> scale;
        if (in.fail()) {
            return failWith(error, "malformed node record" + (mName.empty() ? "" : " \"" + mName + "\""));
        }
        skipLineEnd(in);
        skipLineEnd(in);
        for (int i = 0; i < 3; ++i) {
            discardLine(in);
        }
    }
    mPosition.setConstant(position);
    mRotation.set(rw, rx, ry, rz);
    mDirty = true;
    return true;
}

bool cSpatialNode::addChild(cSpatialNode* child)
{
    if (!child || (mScenegraph && child == mScenegraph->getRoot()) ||
        (child->mScenegraph && child == child->mScenegraph->getRoot())) {
        return false;
    }
    // Only a node with children can be an ancestor of this one.
    for (const cSpatialNode* n = child->mChildren.empty() ? nullptr : this; n; n = n->mParent) {
        if (n == child) {
            return false;
        }
    }
    if (child == this) {
        return false;
    }
    cSpatialNode* released = child->mParent ? child->mParent->detachChild(child) : child;
    if (!released) {
        return false;
    }
    child->mParent = this;
    child->mParentId = mId;
    mChildren.emplace_back(released);
    return true;
}

cSpatialNode* cSpatialNode::detachChild(cSpatialNode* child)
{
    for (auto it = mChildren.begin(); it != mChildren.end(); ++it) {
        if (it->get() == child) {
            it->release();
            mChildren.erase(it);
            child->mParent = nullptr;
            return child;
        }
    }
    return nullptr;
}

void cSpatialNode::insertParent(cSpatialNode* newParent)
{
    cSpatialNode* parent = mParent;
    if (!parent || !newParent) {
        return;
    }
    if (newParent->addChild(this)) {
        parent->addChild(newParent);
    }
}

cSpatialNode* cSpatialNode::findByName(const std::string& name)
{
    cSpatialNode* found = nullptr;
    visitPreOrder(this, [&](cSpatialNode* node) {
        if (!found && node->mName == name) {
            found = node;
        }
        return !found;
    });
    return found;
}

cSpatialNode* cSpatialNode::findById(int32_t id)
{
    cSpatialNode* found = nullptr;
    visitPreOrder(this, [&](cSpatialNode* node) {
        if (!found && node->mId == id) {
            found = node;
        }
        return !found;
    });
    return found;
}

void cSpatialNode::collectByType(int32_t type, std::vector<cSpatialNode*>& out)
{
    visitPreOrder(this, [&](cSpatialNode* node) {
        if (node->getType() == type) {
            out.push_back(node);
        }
        return true;
    });
}

cMaterial& cSpatialNode::getMaterial()
{
    if (!mMaterials) {
        mMaterials = std::make_unique<cMaterialList>();
    }
    if (mMaterials->empty()) {
        mMaterials->emplace_back();
    }
    return mMaterials->front();
}

void cSpatialNode::setPosition(const cVec3f& position)
{
    mPosition.setConstant(position);
    mDirty = true;
}

void cSpatialNode::translate(const cVec3f& delta)
{
    mPosition.setConstant(mPosition.evaluate(0.0f).plus(delta));
    mDirty = true;
}

void fixParentIds(cSpatialNode* top)
{
    visitPreOrder(top, [](cSpatialNode* node) {
        node->setParentId(node->getParent() ? node->getParent()->getId() : -1);
        return true;
    });
}

} // namespace qvr
