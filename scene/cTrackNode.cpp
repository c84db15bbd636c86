// Track surface generation from the four curves, and the key editor.
#include "scene/cTrackNode.h"

#include "core/cMouseState.h"
#include "math/cControllerLibrary.h"
#include "math/cLinearController.h"
#include "math/mathUtil.h"
#include "scene/cScenegraph.h"

#include <cstdio>

namespace qvr {

namespace {

// Unit vector, or zero for a zero vector (a degenerate quad gives no direction).
cVec3f unitOrZero(const cVec3f& v)
{
    const float length = v.length();
    return length > 0.0f ? v.scaled(1.0f / length) : cVec3f();
}

// The texture spline across row s: u from 0 to uScale at the given key times, v = s x vScale.
cTcbController textureSpline(float v, float uScale, const std::array<float, 4>& times,
                             const std::array<float, 4>& us)
{
    cTcbController spline;
    for (size_t i = 0; i < 4; ++i) {
        spline.addKey(makeKey(times[i], cVec3f(us[i] * uScale, v, 0.0f)));
    }
    return spline;
}

void appendRow(cGeometryNode& mesh, const cBaseController& section, const cBaseController& texture)
{
    cVec3Array& normals = mesh.getVec3Attributes()["normals"];
    cVec2Array& uv = mesh.getVec2Attributes()["texCoord1"];
    for (int32_t j = 0; j < cTrackNode::kColumns; ++j) {
        const float p = static_cast<float>(j) / 40.0f;
        mesh.getPositions().push_back(section.evaluate(p));
        const cVec3f t = texture.evaluate(p);
        uv.push_back({t.x, t.y});
        normals.push_back(cVec3f());
    }
}

// The two triangles of the quad a, a + 1, b, b + 1; with shade, the normals of a, a + 1 and b.
void addQuad(cGeometryNode& mesh, uint32_t a, uint32_t b, bool shade)
{
    mesh.getTriangles().push_back({a, a + 1, b});
    mesh.getTriangles().push_back({a + 1, b + 1, b});
    if (!shade) {
        return;
    }
    const cVec3Array& p = mesh.getPositions();
    cVec3f e1 = p[a + 1], e2 = p[b], e3 = p[b + 1], e4 = p[b];
    e1.subtract(p[a]);
    e2.subtract(p[a]);
    e3.subtract(p[a + 1]);
    e4.subtract(p[a + 1]);
    const cVec3f normal = unitOrZero(unitOrZero(e1.cross(e2)).plus(unitOrZero(e3.cross(e4))));
    if (normal.lengthSquared() == 0.0f) {
        return;
    }
    cVec3Array& normals = mesh.getVec3Attributes()["normals"];
    normals[a] = normals[a + 1] = normals[b] = normal;
}

// Where the four curves sit across the track: the first row's spline, then every other row's.
constexpr std::array<float, 4> kFirstRowKeys = {0.0f, 0.3333f, 0.6666f, 1.0f};
constexpr std::array<float, 4> kRowKeys = {0.0f, 0.333f, 0.666f, 1.0f};

} // namespace

cTrackNode::cTrackNode(cScenegraph* scenegraph) : cSpatialNode(scenegraph)
{
    getName() = "Track";
}

bool cTrackNode::generateSurface()
{
    if (!mSurface) {
        return false;
    }
    cGeometryNode& mesh = *mSurface;
    mesh.getPositions().clear();
    mesh.getTriangles().clear();
    mesh.getVec2Attributes().erase("texCoord1");
    mesh.getVec3Attributes().erase("normals");
    mesh.getVec3Attributes().erase("tangent");
    for (const cTcbController& curve : mCurves) {
        if (curve.getKeyCount() == 0) {
            std::fprintf(stderr, "track \"%s\": a curve has no keys; no surface generated\n", getName().c_str());
            return false;
        }
    }
    mesh.getVec3Attributes()["normals"];
    mesh.getVec2Attributes()["texCoord1"];
    const auto u = static_cast<float>(uScale);

    cTcbController section;
    for (size_t i = 0; i < 4; ++i) {
        section.addKey(makeKey(kFirstRowKeys[i], mCurves[i].evaluate(0.0f)));
    }
    appendRow(mesh, section, textureSpline(0.0f, u, kFirstRowKeys, kRowKeys));

    for (int32_t k = 1; k < kRows; ++k) {
        const float s = static_cast<float>(k) / static_cast<float>(kRows);
        cLinearController across;
        for (size_t i = 0; i < 4; ++i) {
            across.addKey(makeKey(kRowKeys[i], mCurves[i].evaluate(s)));
        }
        appendRow(mesh, across,
                  textureSpline(s * static_cast<float>(vScale), u, {0.0f, 0.3333337f, 0.6666667f, 1.0f},
                                {0.0f, 0.333337f, 0.666667f, 1.0f}));
        for (uint32_t j = 0; j + 1 < kColumns; ++j) {
            addQuad(mesh, kColumns * static_cast<uint32_t>(k - 1) + j, kColumns * static_cast<uint32_t>(k) + j, true);
        }
    }
    const uint32_t lastRow = kColumns * (kRows - 1);
    for (uint32_t j = 0; j + 1 < kColumns; ++j) {
        addQuad(mesh, lastRow + j, j, false);
    }
    mesh.computeBounds();
    mesh.generateTangents("tangent");
    return true;
}

bool cTrackNode::drawEditor(std::vector<cVec3f>& markers)
{
    return editorFrame(getMouseState(), markers);
}

bool cTrackNode::editorFrame(const cMouseState& mouse, std::vector<cVec3f>& markers)
{
    if (!editing) {
        return false;
    }
    pickKeys(mouse, markers);
    if (mButtonWasDown && !mouse.button) {
        selectedCurve = -1;
    }
    const bool regenerated = dragSelected(mouse);
    mButtonWasDown = mouse.button;
    return regenerated;
}

void cTrackNode::pickKeys(const cMouseState& mouse, std::vector<cVec3f>& markers)
{
    const cScenegraph* scenegraph = getScenegraph();
    const cCameraNode* camera = scenegraph ? scenegraph->getActiveCamera() : nullptr;
    const bool pressed = mouse.button && !mButtonWasDown;
    cVec3f origin, direction;
    if (camera) {
        const float x = static_cast<float>(mouse.x) / 800.0f * 2.0f - 1.0f;
        const float y = 1.0f - static_cast<float>(mouse.y) / 600.0f * 2.0f;
        origin = camera->getWorldPosition();
        direction = unproject(x, y, camera->getProjection(), camera->getViewMatrix());
        direction.subtract(origin);
    }
    for (int32_t c = 0; c < kCurves; ++c) {
        const cTcbController& curve = mCurves[static_cast<size_t>(c)];
        for (int32_t k = 0; k < curve.getKeyCount() && k < 65536; ++k) {
            const cVec3f& centre = curve.getKey(k)->value;
            markers.push_back(centre);
            if (!camera || !pressed) {
                continue;
            }
            cVec3f m = origin;
            m.subtract(centre);
            const float a = direction.dot(direction);
            const float b = 2.0f * direction.dot(m);
            const float cc = m.dot(m) - markerSize * markerSize;
            if (b * b - 4.0f * a * cc >= 0.0f) {
                selectedCurve = c;
                selectedKey = static_cast<uint16_t>(k);
                mDragX = mouse.x;
                mDragY = mouse.y;
            }
        }
    }
}

bool cTrackNode::dragSelected(const cMouseState& mouse)
{
    if (selectedCurve < 0 || selectedCurve >= kCurves) {
        return false;
    }
    cControllerKey* key = mCurves[static_cast<size_t>(selectedCurve)].editKey(selectedKey);
    const int32_t dx = mouse.x - mDragX, dy = mouse.y - mDragY;
    if (!key || (dx == 0 && dy == 0)) {
        return false;
    }
    const cScenegraph* scenegraph = getScenegraph();
    const cCameraNode* camera = scenegraph ? scenegraph->getActiveCamera() : nullptr;
    if (camera) {
        const cMatrix4f view = camera->getViewMatrix();
        key->value.add(cVec3f(view.value[0], 0.0f, view.value[8]).scaled(static_cast<float>(dx) * 5.0f));
    }
    key->value.y -= static_cast<float>(dy) * 5.0f;
    mDragX = mouse.x;
    mDragY = mouse.y;
    return generateSurface();
}

bool cTrackNode::readCurves(std::istream& in, const std::string& name)
{
    cControllerLibrary library;
    library.readControllerList(in, name);
    const cControllerList& read = library.getControllers();
    if (read.size() != kCurves) {
        std::fprintf(stderr, "track %s: %zu curves read, 4 needed; the track is unchanged\n", name.c_str(),
                     read.size());
        return false;
    }
    for (const auto& controller : read) {
        if (controller->getType() != kControllerTcb) {
            std::fprintf(stderr, "track %s: every curve must be a TCB controller; the track is unchanged\n",
                         name.c_str());
            return false;
        }
    }
    for (size_t i = 0; i < kCurves; ++i) {
        mCurves[i].clearKeys();
        mCurves[i].setDimension(3);
        for (const cControllerKey& key : read[i]->getKeys()) {
            mCurves[i].addKey(key);
        }
    }
    selectedCurve = -1;
    return true;
}

bool cTrackNode::writeCurves(std::ostream& out) const
{
    out << "controller list format:0\n" << "number of controllers:" << kCurves << "\n";
    for (const cTcbController& curve : mCurves) {
        curve.write(out, false);
        out << "\n";
    }
    return out.good();
}

} // namespace qvr
