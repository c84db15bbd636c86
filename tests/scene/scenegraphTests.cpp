// Scene graph structure, per-frame transforms, visibility, materials and pass selection.
#include "core/cFrameListenerRegistry.h"
#include "scene/cScenegraph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace qvr;

namespace {

constexpr float kPi = 3.14159265358979f;

void expectVec(const cVec3f& v, float x, float y, float z, float eps = 1e-4f)
{
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

// A fresh graph per test; nodes made here are attached under the root.
class Scenegraph : public ::testing::Test {
protected:
    cSpatialNode* group(const char* name, cSpatialNode* parent = nullptr)
    {
        cSpatialNode* n = mGraph.createSpatialNode();
        n->getName() = name;
        (parent ? parent : mGraph.getRoot())->addChild(n);
        return n;
    }

    cGeometryNode* mesh(const char* name, cSpatialNode* parent)
    {
        cGeometryNode* n = mGraph.createGeometryNode();
        n->getName() = name;
        parent->addChild(n);
        return n;
    }

    void update() { mGraph.update(mGraph.getRoot(), 0.0f); }

    cScenegraph mGraph;
};

int gNodeEvents = 0;
void countNodeEvent() { ++gNodeEvents; }

} // namespace

TEST_F(Scenegraph, FreshGraphHasRootAndDefaultCamera)
{
    cSpatialNode* root = mGraph.getRoot();
    EXPECT_EQ(root->getName(), "qvr_root");
    EXPECT_EQ(root->getId(), 0);
    ASSERT_NE(root->getMaterials(), nullptr);
    EXPECT_EQ(root->getMaterials()->size(), 1u);
    ASSERT_EQ(root->getChildren().size(), 1u);
    cSpatialNode* camera = root->getChildren()[0].get();
    EXPECT_EQ(camera->getName(), "qvr_defcam");
    EXPECT_EQ(camera->getId(), 1);
    EXPECT_EQ(camera->getParentId(), 0);
    EXPECT_EQ(camera->getType(), kNodeCamera);
    EXPECT_EQ(mGraph.getCameraCount(), 1);
    EXPECT_EQ(mGraph.getCamera(0), camera);
    EXPECT_EQ(mGraph.getActiveCamera(), camera);

    cSpatialNode* made = mGraph.createSpatialNode();
    EXPECT_EQ(made->getId(), 2);
    EXPECT_EQ(made->getParent(), nullptr);
    EXPECT_EQ(root->getChildren().size(), 1u);
    const std::unique_ptr<cLinkNode> link(mGraph.createLinkNode());  // id 3, never attached
    EXPECT_EQ(link->getType(), kNodeLink);
    EXPECT_EQ(mGraph.peekNextId(), 4);
    delete made;
}

TEST_F(Scenegraph, ParentPositionGoesInBeforeScaleAndRotation)
{
    cSpatialNode* root = mGraph.getRoot();
    root->setPosition(cVec3f(5, 0, 0));
    root->scale.set(2, 2, 2);
    cSpatialNode* child = group("child");
    child->setPosition(cVec3f(1, 0, 0));
    update();
    expectVec(root->getWorldPosition(), 5, 0, 0);
    expectVec(child->getWorldPosition(), 12, 0, 0);
    expectVec(child->getWorldScale(), 2, 2, 2);

    // A quarter turn of the parent about z rotates the child's (P + p) * S.
    cSpatialNode* parent = group("parent");
    cSpatialNode* leaf = group("leaf", parent);
    leaf->setPosition(cVec3f(1, 0, 0));
    parent->getRotation().setAxisAngle(kPi / 2, cVec3f(0, 0, 1));
    update();
    // parent: R_root((5 + 0) * 2) = (10, 0, 0); leaf: R((10 + 1) * 2) = (0, 22, 0).
    expectVec(parent->getWorldPosition(), 10, 0, 0);
    expectVec(leaf->getWorldPosition(), 0, 22, 0);
    const cQuaternion& w = leaf->getWorldRotation();
    EXPECT_NEAR(w.w, std::cos(kPi / 4), 1e-5f);
    EXPECT_NEAR(w.z, std::sin(kPi / 4), 1e-5f);
    EXPECT_NEAR(leaf->getWorldRotationMatrix().at(1, 0), 1, 1e-5f);
}

TEST_F(Scenegraph, OnlyDirtyNodesAndTheirSubtreesAreRecomputed)
{
    cSpatialNode* a = group("a");
    cSpatialNode* b = group("b", a);
    cSpatialNode* other = group("other");
    update();
    EXPECT_FALSE(a->isDirty());
    update();
    EXPECT_FALSE(a->hasWorldChanged());
    EXPECT_FALSE(b->hasWorldChanged());

    a->translate(cVec3f(0, 3, 0));
    update();
    EXPECT_TRUE(a->hasWorldChanged());
    EXPECT_TRUE(b->hasWorldChanged());
    EXPECT_FALSE(other->hasWorldChanged());
    expectVec(b->getWorldPosition(), 0, 3, 0);

    // Writing the scale alone marks nothing.
    a->scale.set(3, 3, 3);
    update();
    EXPECT_FALSE(a->hasWorldChanged());
    EXPECT_EQ(a->getWorldScale().x, 1);

    // Every visited node fires frame event 5 once.
    getFrameListenerRegistry().addCallback(kEventNodeUpdate, countNodeEvent);
    gNodeEvents = 0;
    update();
    EXPECT_EQ(gNodeEvents, 5);  // root, camera, a, b, other
}

TEST_F(Scenegraph, HiddenSubtreesAndInheritedMaterials)
{
    cSpatialNode* a = group("a");
    cGeometryNode* m1 = mesh("m1", a);
    cSpatialNode* hidden = group("hidden", a);
    cGeometryNode* m2 = mesh("m2", hidden);
    cLinkNode* link = mGraph.createLinkNode();
    a->addChild(link);
    hidden->setVisible(false);
    update();
    EXPECT_FALSE(m2->isVisible());
    EXPECT_TRUE(m2->getOwnVisible());

    std::vector<cSpatialNode*> drawn;
    mGraph.collectRenderables(0, drawn);
    // The root owns a material list; plain groups do not.
    EXPECT_EQ(drawn, (std::vector<cSpatialNode*>{mGraph.getRoot(), m1, link}));

    EXPECT_EQ(m1->getEffectiveMaterials(), mGraph.getRoot()->getMaterials());
    a->getMaterial().getBlendingState().setMode(kBlendAdditive);
    EXPECT_EQ(m1->getEffectiveMaterials(), mGraph.getRoot()->getMaterials());
    update();
    EXPECT_EQ(m1->getEffectiveMaterials(), a->getMaterials());
    drawn.clear();
    mGraph.collectRenderables(0, drawn);
    EXPECT_EQ(drawn, (std::vector<cSpatialNode*>{mGraph.getRoot(), a, m1, link}));
}

TEST_F(Scenegraph, SearchesArePreOrder)
{
    cSpatialNode* a = group("twin");
    cSpatialNode* deep = group("twin", a);
    group("twin");
    EXPECT_EQ(mGraph.findNode("twin"), a);
    EXPECT_EQ(a->findByName("twin"), a);
    EXPECT_EQ(mGraph.findNode("nobody"), nullptr);
    EXPECT_EQ(mGraph.getRoot()->findById(deep->getId()), deep);
    EXPECT_EQ(mGraph.getRoot()->findById(999), nullptr);
    mesh("m", deep);
    std::vector<cSpatialNode*> meshes;
    mGraph.getRoot()->collectByType(kNodeGeometry, meshes);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0]->getParent(), deep);
}

TEST_F(Scenegraph, SelectPassNodesAppliesIncludeAndExcludeSubtrees)
{
    cGeometryNode* a = mesh("A", mGraph.getRoot());
    cGeometryNode* b = mesh("B", a);
    cGeometryNode* bChild = mesh("B child", b);
    cGeometryNode* c = mesh("C", a);
    cGeometryNode* outside = mesh("outside", mGraph.getRoot());
    update();
    std::vector<cSpatialNode*> renderables;
    mGraph.collectRenderables(0, renderables);
    const std::vector<cSpatialNode*> expected{mGraph.getRoot(), a, b, bChild, c, outside};
    ASSERT_EQ(renderables, expected);

    cRenderPass pass;
    pass.include = {{a, 0}};
    pass.exclude = {b};
    std::vector<cSpatialNode*> nodes(renderables.size(), nullptr);
    std::vector<int32_t> flags(renderables.size(), 0);
    nodes[5] = outside;  // not reached: keeps what it held
    flags[5] = 9;
    mGraph.selectPassNodes(renderables, nodes, flags, pass);
    EXPECT_EQ(nodes, (std::vector<cSpatialNode*>{nullptr, a, nullptr, nullptr, c, outside}));
    EXPECT_EQ(flags[5], 9);

    // A later include entry overwrites the flag; the excluded subtree stays cleared.
    pass.include = {{a, 0}, {c, 2}, {b, 1}};
    mGraph.selectPassNodes(renderables, nodes, flags, pass);
    EXPECT_EQ(flags[4], 2);
    EXPECT_EQ(flags[1], 0);
    EXPECT_EQ(nodes[2], nullptr);
    EXPECT_EQ(nodes[3], nullptr);
}

TEST_F(Scenegraph, InsertParentAndMovingChildren)
{
    cSpatialNode* p = group("p");
    cSpatialNode* n = group("n", p);
    cSpatialNode* second = group("second", p);
    cSpatialNode* third = group("third", p);
    cSpatialNode* g = mGraph.createSpatialNode();
    mGraph.insertParent(g, n);
    ASSERT_EQ(p->getChildren().size(), 3u);
    EXPECT_EQ(p->getChildren()[0].get(), second);
    EXPECT_EQ(p->getChildren()[1].get(), third);
    EXPECT_EQ(p->getChildren()[2].get(), g);
    ASSERT_EQ(g->getChildren().size(), 1u);
    EXPECT_EQ(g->getChildren()[0].get(), n);
    EXPECT_EQ(n->getParentId(), g->getId());

    // Attaching an attached node moves it; a cycle or the root is refused.
    EXPECT_TRUE(second->addChild(n));
    EXPECT_TRUE(g->getChildren().empty());
    EXPECT_EQ(n->getParent(), second);
    EXPECT_FALSE(n->addChild(p));
    EXPECT_FALSE(n->addChild(n));
    EXPECT_FALSE(n->addChild(mGraph.getRoot()));
    EXPECT_EQ(p->getParent(), mGraph.getRoot());
}

TEST_F(Scenegraph, RemovingNodesDropsTheirCameras)
{
    cSpatialNode* rig = group("rig");
    cCameraNode* camera = mGraph.createCameraNode();
    rig->addChild(camera);
    mGraph.setActiveCamera(camera);
    ASSERT_EQ(mGraph.getCameraCount(), 2);
    mGraph.removeNode(rig);
    EXPECT_EQ(mGraph.findNode("rig"), nullptr);
    EXPECT_EQ(mGraph.getCameraCount(), 1);
    EXPECT_EQ(mGraph.getActiveCamera(), mGraph.getCamera(0));
    mGraph.removeNode(mGraph.getRoot());
    EXPECT_EQ(mGraph.getRoot()->getName(), "qvr_root");
}

TEST_F(Scenegraph, CameraIndexOutOfBoundsIsFatal)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EXIT(mGraph.getCamera(mGraph.getCameraCount()), ::testing::ExitedWithCode(EXIT_FAILURE),
                "Crash: camera index out of bounds");
    std::vector<cSpatialNode*> out;
    EXPECT_EXIT(mGraph.collectRenderables(-1, out), ::testing::ExitedWithCode(EXIT_FAILURE),
                "camera index out of bounds");
}

TEST_F(Scenegraph, DeepChainsNeedNoDeepStack)
{
    cSpatialNode* tip = group("chain");
    for (int i = 0; i < 200000; ++i) {
        cSpatialNode* next = mGraph.createSpatialNode();
        tip->addChild(next);
        tip = next;
    }
    tip->getName() = "tip";
    update();
    EXPECT_EQ(mGraph.findNode("tip"), tip);
    mGraph.removeNode(mGraph.findNode("chain"));
    EXPECT_EQ(mGraph.findNode("tip"), nullptr);
}
