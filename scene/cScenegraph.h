// The scene graph: the one tree of nodes the renderer draws, its cameras, node factories, scene
// file loading, per-frame update and the post-processing chain.
#pragma once

#include "scene/cCameraNode.h"
#include "scene/cGeometryNode.h"
#include "scene/cLinkNode.h"
#include "scene/cOverlay.h"
#include "scene/cPostProcessStep.h"
#include "scene/cRenderPass.h"
#include "scene/cSpatialNode.h"
#include "scene/cTrackNode.h"

#include <memory>
#include <string>
#include <vector>

namespace qvr {

class cScenegraph {
public:
    //! A root "qvr_root" (id 0) owning one default material, and the default camera "qvr_defcam"
    //! (id 1) attached to it as the first and active camera.
    cScenegraph();
    virtual ~cScenegraph();
    cScenegraph(const cScenegraph&) = delete;
    cScenegraph& operator=(const cScenegraph&) = delete;

    //! Per-frame update of node's subtree in pre-order: the node's update, frame event 5, then
    //! its commit, so every node sees its parent's final transform of the frame.
    virtual void update(cSpatialNode* node, float time);

    cSpatialNode* getRoot() const { return mRoot.get(); }

    // Factories: a node with the next id, not attached; the caller attaches it with addChild.
    cSpatialNode* createSpatialNode();
    cGeometryNode* createGeometryNode();
    cLinkNode* createLinkNode();
    //! Also appends the camera to the camera list.
    cCameraNode* createCameraNode();
    cParticleNode* createParticleNode();
    cCollisionNode* createCollisionNode();
    //! A track node with its "genTrack" surface child (which takes the id after it).
    cTrackNode* createTrackNode();

    //! Reads a scene file into a new subtree under a top node named path, attached to parent (the
    //! root when null); returns the top node. A file that cannot be opened is fatal ("Could not
    //! find file:" + path). A version other than 1 or a malformed file returns null and attaches
    //! nothing; the latter also says on standard error what was wrong.
    cSpatialNode* loadScene(const std::string& path, bool binary, cSpatialNode* parent);
    //! What loadScene does after opening the file; path names the top node and the messages.
    cSpatialNode* readScene(std::istream& in, bool binary, const std::string& path, cSpatialNode* parent);

    //! First node in pre-order from the root with that name; null when none.
    cSpatialNode* findNode(const std::string& name) { return mRoot->findByName(name); }

    cCameraNode* getActiveCamera() const { return mActiveCamera; }
    void setActiveCamera(cCameraNode* camera) { mActiveCamera = camera; }
    int32_t getCameraCount() const { return static_cast<int32_t>(mCameras.size()); }
    //! The camera at index; an index outside the list is fatal ("camera index out of bounds").
    cCameraNode* getCamera(int32_t index) const;

    //! Puts newParent between node and its parent.
    void insertParent(cSpatialNode* newParent, cSpatialNode* node);
    //! Detaches node and destroys its subtree. Cameras in it leave the camera list; when the
    //! active camera goes, the first remaining camera (or none) becomes active. The root stays.
    void removeNode(cSpatialNode* node);

    //! The visible nodes worth drawing, in pre-order: geometry and link nodes, and nodes with
    //! their own materials. A hidden node hides its subtree.
    void collectRenderables(int32_t cameraIndex, std::vector<cSpatialNode*>& out);
    //! For one render pass, sets outNodes[i] / outPassFlags[i] (parallel to renderables) for the
    //! nodes under the pass's include entries: the entry's flag, or null when excluded. Entries
    //! not reached keep what they held.
    void selectPassNodes(const std::vector<cSpatialNode*>& renderables,
                         std::vector<cSpatialNode*>& outNodes, std::vector<int32_t>& outPassFlags,
                         const cRenderPass& renderPass) const;

    //! The post-processing steps, and the order in which they run (indices into the steps).
    std::vector<cPostProcessStep>& getPostProcessChain() { return mPostProcessChain; }
    std::vector<int32_t>& getPostProcessSteps() { return mPostProcessSteps; }

    //! The 2D overlay's pages, drawn over every frame.
    cOverlay& getOverlay() { return mOverlay; }

    //! The id the next factory call gives.
    int32_t peekNextId() const { return mNextId; }

private:
    template <typename Node>
    Node* create();
    cSpatialNode* readSceneNodes(std::istream& in, bool binary, const std::string& path);

    std::vector<cPostProcessStep> mPostProcessChain;
    std::vector<int32_t> mPostProcessSteps;
    cOverlay mOverlay;
    int32_t mNextId = 1;
    std::unique_ptr<cSpatialNode> mRoot;
    std::vector<cCameraNode*> mCameras;
    cCameraNode* mActiveCamera = nullptr;
};

//! The process-wide scene graph, created on first use and never destroyed.
cScenegraph& getScenegraph();

} // namespace qvr
