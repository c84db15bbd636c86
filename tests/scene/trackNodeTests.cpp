// The track node: the generated surface, its closing strip and normals, the curve file, and the key
// editor driven by a scripted mouse.
#include "core/cMouseState.h"
#include "scene/cScenegraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

using namespace qvr;

namespace {

// A closed ring of radius 1000, 400 wide across its four curves, with a hill on one side.
void ringCurves(cTrackNode& track)
{
    const float across[4] = {-200.0f, -150.0f, 150.0f, 200.0f};
    for (int k = 0; k <= 8; ++k) {
        const float angle = 6.2831853f * static_cast<float>(k % 8) / 8.0f;
        for (int c = 0; c < 4; ++c) {
            const float r = 1000.0f + across[c];
            track.getCurve(c).addKey(makeKey(k / 8.0f, cVec3f(r * std::cos(angle), 100.0f * std::sin(angle), r * std::sin(angle))));
        }
    }
}

class TrackNode : public ::testing::Test {
protected:
    void SetUp() override
    {
        track = graph.createTrackNode();
        graph.getRoot()->addChild(track);
        ringCurves(*track);
    }

    cScenegraph graph;
    cTrackNode* track = nullptr;
};

// Window pixel of a world point seen through the active camera.
void project(const cCameraNode& camera, const cVec3f& p, int32_t& x, int32_t& y)
{
    const cVec4f eye = camera.getViewMatrix().transform(cVec4f(p.x, p.y, p.z, 1.0f));
    const cVec4f clip = camera.getProjection().transform(eye);
    x = static_cast<int32_t>(std::lround((clip.x / clip.w + 1.0f) * 400.0f));
    y = static_cast<int32_t>(std::lround((1.0f - clip.y / clip.w) * 300.0f));
}

} // namespace

TEST_F(TrackNode, FactoryMakesATrackWithItsSurfaceChild)
{
    EXPECT_EQ(track->getType(), kNodeTrack);
    EXPECT_EQ(track->getName(), "Track");
    ASSERT_NE(track->getSurface(), nullptr);
    EXPECT_EQ(track->getSurface()->getName(), "genTrack");
    EXPECT_EQ(track->getSurface()->getParent(), track);
    EXPECT_EQ(track->getSurface()->getId(), track->getId() + 1);
    EXPECT_EQ(graph.peekNextId(), track->getId() + 2);
    EXPECT_FALSE(track->editing);
    EXPECT_EQ(track->selectedCurve, -1);
    EXPECT_FLOAT_EQ(track->markerSize, 40.0f);
}

TEST_F(TrackNode, SurfaceHas220RowsOf41VerticesClosedAlongTheTrack)
{
    ASSERT_TRUE(track->generateSurface());
    const cGeometryNode& mesh = *track->getSurface();
    const auto& p = mesh.getPositions();
    ASSERT_EQ(p.size(), 9020u);
    ASSERT_EQ(mesh.getTriangles().size(), 220u * 40u * 2u);
    EXPECT_EQ(mesh.getVec2Attributes().at("texCoord1").size(), 9020u);
    EXPECT_EQ(mesh.getVec3Attributes().at("tangent").size(), 9020u);

    // Row 0 comes from the curves at time 0, row k from time k / 220; the columns run across.
    const auto near = [](const cVec3f& a, const cVec3f& b) { return std::fabs(a.x - b.x) < 0.05f && std::fabs(a.y - b.y) < 0.05f && std::fabs(a.z - b.z) < 0.05f; };
    EXPECT_TRUE(near(p[0], track->getCurve(0).evaluate(0.0f)));
    EXPECT_TRUE(near(p[40], track->getCurve(3).evaluate(0.0f)));
    EXPECT_TRUE(near(p[41 * 100], track->getCurve(0).evaluate(100.0f / 220.0f)));
    EXPECT_TRUE(near(p[41 * 100 + 40], track->getCurve(3).evaluate(100.0f / 220.0f)));

    // The last 80 triangles join the last row to the first.
    const cTriangle& closing = mesh.getTriangles()[219 * 80];
    EXPECT_EQ(closing, (cTriangle{8979, 8980, 0}));
    EXPECT_EQ(mesh.getTriangles().back(), (cTriangle{9019, 40, 39}));
    for (const cTriangle& t : mesh.getTriangles()) {
        ASSERT_LT(*std::max_element(t.begin(), t.end()), 9020u);
    }

    // Every vertex a quad shades has a unit normal facing up this flat-ish ring; only the last
    // row's end, which only the closing strip touches, keeps none.
    const auto& normals = mesh.getVec3Attributes().at("normals");
    for (size_t i = 0; i < normals.size(); ++i) {
        if (i == 9019) {
            EXPECT_EQ(normals[i].lengthSquared(), 0.0f);
            continue;
        }
        ASSERT_NEAR(normals[i].length(), 1.0f, 1e-4f) << "vertex " << i;
        ASSERT_GT(std::fabs(normals[i].y), 0.8f) << "vertex " << i;
    }

    // Bounds: the middle and half diagonal of the positions' box.
    cVec3f lo = p[0], hi = p[0];
    for (const cVec3f& v : p) {
        lo.set(std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z));
        hi.set(std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z));
    }
    cVec3f diagonal = hi;
    diagonal.subtract(lo);
    EXPECT_NEAR(mesh.getBoundsRadius(), diagonal.length() * 0.5f, 0.01f);
    EXPECT_NEAR(mesh.getBoundsCentre().y, lo.y + diagonal.y * 0.5f, 0.01f);

    // Texture u runs 0..uScale across, v = s x vScale along.
    track->uScale = 2;
    track->vScale = 3;
    ASSERT_TRUE(track->generateSurface());
    const auto& uv = mesh.getVec2Attributes().at("texCoord1");
    ASSERT_EQ(uv.size(), 9020u);  // regenerating replaces, never appends
    EXPECT_NEAR(uv[41 * 110 + 40][0], 2.0f, 1e-4f);
    EXPECT_NEAR(uv[41 * 110][1], 1.5f, 1e-4f);
}

TEST_F(TrackNode, CurveWithoutKeysGeneratesNoSurface)
{
    ASSERT_TRUE(track->generateSurface());
    track->getCurve(2).clearKeys();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(track->generateSurface());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no keys"), std::string::npos) << said;
    EXPECT_TRUE(track->getSurface()->getPositions().empty());
    EXPECT_TRUE(track->getSurface()->getTriangles().empty());
}

TEST_F(TrackNode, DegenerateQuadsGiveNoNaNNormals)
{
    // Curves 1 and 2 on top of each other: the middle quads have no area.
    track->getCurve(2).clearKeys();
    for (const cControllerKey& k : track->getCurve(1).getKeys()) {
        track->getCurve(2).addKey(k);
    }
    ASSERT_TRUE(track->generateSurface());
    for (const cVec3f& n : track->getSurface()->getVec3Attributes().at("normals")) {
        ASSERT_FALSE(std::isnan(n.x) || std::isnan(n.y) || std::isnan(n.z));
    }
}

TEST_F(TrackNode, CurvesWriteAndReadBack)
{
    std::ostringstream out;
    ASSERT_TRUE(track->writeCurves(out));
    cScenegraph other;
    cTrackNode* copy = other.createTrackNode();
    other.getRoot()->addChild(copy);
    std::istringstream in(out.str());
    ASSERT_TRUE(copy->readCurves(in, "ring"));
    for (int c = 0; c < 4; ++c) {
        ASSERT_EQ(copy->getCurve(c).getKeyCount(), 9);
        EXPECT_FLOAT_EQ(copy->getCurve(c).evaluate(0.3f).z, track->getCurve(c).evaluate(0.3f).z);
    }

    // Three curves, or a linear one, leave the track as it was.
    std::string three = out.str();
    three.replace(three.find("controllers:4"), 13, "controllers:3");
    std::string linear = out.str();
    linear.replace(linear.find("\n1\n"), 3, "\n0\n");
    for (const std::string& text : {three, linear, std::string("rubbish")}) {
        std::istringstream bad(text);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(copy->readCurves(bad, "bad.txt"));
        EXPECT_NE(testing::internal::GetCapturedStderr().find("bad.txt"), std::string::npos);
        EXPECT_EQ(copy->getCurve(3).getKeyCount(), 9);
    }
}

TEST_F(TrackNode, EditorPicksDragsAndDropsAKey)
{
    ASSERT_TRUE(track->generateSurface());
    cCameraNode* camera = graph.getActiveCamera();
    camera->lookAtMode = true;
    camera->setLookAt(cVec3f(0, 0, 0), cVec3f(0, 1, 0));
    camera->setPosition(cVec3f(0, 2500, -3000));
    graph.update(graph.getRoot(), 0);

    std::vector<cVec3f> markers;
    cMouseState mouse;
    EXPECT_FALSE(track->editorFrame(mouse, markers));
    EXPECT_TRUE(markers.empty());  // editing off: nothing at all

    track->editing = true;
    const cVec3f picked = track->getCurve(1).getKey(2)->value;  // straight ahead at angle 90
    project(*camera, picked, mouse.x, mouse.y);
    EXPECT_FALSE(track->editorFrame(mouse, markers));
    EXPECT_EQ(markers.size(), 36u);
    EXPECT_EQ(track->selectedCurve, -1);  // hovering picks nothing

    mouse.button = true;
    markers.clear();
    track->editorFrame(mouse, markers);
    ASSERT_NE(track->selectedCurve, -1);
    const int32_t curve = track->selectedCurve;
    const uint16_t index = track->selectedKey;
    const cVec3f before = track->getCurve(curve).getKey(index)->value;
    const cVec3f surfaceBefore = track->getSurface()->getPositions()[41 * 55 + 13];

    // 10 pixels right, 4 up: 50 units along the camera's horizontal axis (world -x here), 20 up.
    mouse.x += 10;
    mouse.y -= 4;
    EXPECT_TRUE(track->editorFrame(mouse, markers));
    const cVec3f after = track->getCurve(curve).getKey(index)->value;
    const cMatrix4f view = camera->getViewMatrix();
    EXPECT_NEAR(after.x - before.x, view.value[0] * 50.0f, 1e-3f);
    EXPECT_NEAR(after.z - before.z, view.value[8] * 50.0f, 1e-3f);
    EXPECT_NEAR(after.y - before.y, 20.0f, 1e-3f);
    EXPECT_NE(track->getSurface()->getPositions()[41 * 55 + 13].y, surfaceBefore.y);
    EXPECT_EQ(track->getSurface()->getPositions().size(), 9020u);

    // Holding still regenerates nothing; releasing drops the key, further moves leave it.
    EXPECT_FALSE(track->editorFrame(mouse, markers));
    mouse.button = false;
    track->editorFrame(mouse, markers);
    EXPECT_EQ(track->selectedCurve, -1);
    mouse.x += 30;
    EXPECT_FALSE(track->editorFrame(mouse, markers));
    EXPECT_FLOAT_EQ(track->getCurve(curve).getKey(index)->value.x, after.x);

    // A press far from every key picks nothing.
    mouse.x = 5;
    mouse.y = 5;
    mouse.button = true;
    track->editorFrame(mouse, markers);
    EXPECT_EQ(track->selectedCurve, -1);
}
