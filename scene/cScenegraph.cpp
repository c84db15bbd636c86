// Scene graph: construction, factories, per-frame update, queries and render pass selection.
#include "scene/cScenegraph.h"

#include "core/cFrameListenerRegistry.h"
#include "core/fatalError.h"

#include <algorithm>
#include <unordered_map>

namespace qvr {

cScenegraph::cScenegraph()
{
    mRoot = std::make_unique<cSpatialNode>(this);
    mRoot->setId(0);
    mRoot->getName() = "qvr_root";
    mRoot->getMaterial();

    cCameraNode* camera = createCameraNode();
    camera->getName() = "qvr_defcam";
    camera->translate(cVec3f(0.0f, 0.0f, 0.0f));
    mRoot->addChild(camera);
    mActiveCamera = camera;
}

cScenegraph::~cScenegraph() = default;

template <typename Node>
Node* cScenegraph::create()
{
    Node* node = new Node(this);
    node->setId(mNextId++);
    return node;
}

cSpatialNode* cScenegraph::createSpatialNode() { return create<cSpatialNode>(); }
cGeometryNode* cScenegraph::createGeometryNode() { return create<cGeometryNode>(); }
cLinkNode* cScenegraph::createLinkNode() { return create<cLinkNode>(); }
cParticleNode* cScenegraph::createParticleNode() { return create<cParticleNode>(); }
cCollisionNode* cScenegraph::createCollisionNode() { return create<cCollisionNode>(); }

cTrackNode* cScenegraph::createTrackNode()
{
    cTrackNode* track = create<cTrackNode>();
    cGeometryNode* surface = createGeometryNode();
    surface->getName() = "genTrack";
    track->addChild(surface);
    track->setSurface(surface);
    return track;
}

cCameraNode* cScenegraph::createCameraNode()
{
    cCameraNode* camera = create<cCameraNode>();
    mCameras.push_back(camera);
    return camera;
}

void cScenegraph::update(cSpatialNode* node, float time)
{
    cFrameListenerRegistry& registry = getFrameListenerRegistry();
    visitPreOrder(node, [&](cSpatialNode* n) {
        n->update(time, n->getParent());
        registry.dispatch(kEventNodeUpdate);
        n->commitTransform();
        return true;
    });
}

cCameraNode* cScenegraph::getCamera(int32_t index) const
{
    if (index < 0 || index >= getCameraCount()) {
        reportFatalError("camera index out of bounds");
    }
    return mCameras[static_cast<size_t>(index)];
}

void cScenegraph::insertParent(cSpatialNode* newParent, cSpatialNode* node)
{
    if (node) {
        node->insertParent(newParent);
    }
}

void cScenegraph::removeNode(cSpatialNode* node)
{
    if (!node || node == mRoot.get()) {
        return;
    }
    std::vector<cSpatialNode*> cameras;
    node->collectByType(kNodeCamera, cameras);
    for (cSpatialNode* camera : cameras) {
        mCameras.erase(std::remove(mCameras.begin(), mCameras.end(), camera), mCameras.end());
        if (mActiveCamera == camera) {
            mActiveCamera = nullptr;
        }
    }
    if (!mActiveCamera && !mCameras.empty()) {
        mActiveCamera = mCameras.front();
    }
    cSpatialNode* parent = node->getParent();
    std::unique_ptr<cSpatialNode> doomed(parent ? parent->detachChild(node) : node);
}

void cScenegraph::collectRenderables(int32_t cameraIndex, std::vector<cSpatialNode*>& out)
{
    if (!getCamera(cameraIndex)) {
        return;
    }
    visitPreOrder(mRoot.get(), [&](cSpatialNode* node) {
        if (!node->isVisible()) {
            return false;
        }
        const int32_t type = node->getType();
        if (type == kNodeGeometry || type == kNodeLink || node->getMaterials()) {
            out.push_back(node);
        }
        return true;
    });
}

void cScenegraph::selectPassNodes(const std::vector<cSpatialNode*>& renderables,
                                  std::vector<cSpatialNode*>& outNodes,
                                  std::vector<int32_t>& outPassFlags,
                                  const cRenderPass& renderPass) const
{
    const size_t count = std::min({renderables.size(), outNodes.size(), outPassFlags.size()});
    std::unordered_multimap<const cSpatialNode*, size_t> slots;
    for (size_t i = 0; i < count; ++i) {
        slots.emplace(renderables[i], i);
    }
    const auto isExcluded = [&](const cSpatialNode* node) {
        return std::find(renderPass.exclude.begin(), renderPass.exclude.end(), node) !=
               renderPass.exclude.end();
    };
    for (const auto& [top, flag] : renderPass.include) {
        std::vector<std::pair<cSpatialNode*, bool>> stack{{top, false}};
        while (!stack.empty()) {
            const auto [node, inherited] = stack.back();
            stack.pop_back();
            if (!node) {
                continue;
            }
            const bool excluded = inherited || isExcluded(node);
            const auto range = slots.equal_range(node);
            for (auto it = range.first; it != range.second; ++it) {
                outNodes[it->second] = excluded ? nullptr : node;
                if (!excluded) {
                    outPassFlags[it->second] = flag;
                }
            }
            const cSpatialNode::cChildList& children = node->getChildren();
            for (auto it = children.rbegin(); it != children.rend(); ++it) {
                stack.emplace_back(it->get(), excluded);
            }
        }
    }
}

cScenegraph& getScenegraph()
{
    static cScenegraph* scenegraph = new cScenegraph();
    return *scenegraph;
}

} // namespace qvr
