// Geometry node: mesh reading (text and binary), bounds, tangents and picking.
#include "scene/cGeometryNode.h"

#include "core/cMouseState.h"
#include "core/textUtil.h"
#include "math/mathUtil.h"
#include "scene/cCameraNode.h"
#include "scene/cScenegraph.h"
#include "scene/sceneFileIo.h"

#include <cmath>

namespace qvr {

namespace {

static_assert(sizeof(cVec3f) == 12 && sizeof(cTriangle) == 12, "mesh arrays are read as blocks");

// Resizes array to count elements of elementBytes each and fills it from the stream, after
// checking that the stream holds that many bytes.
template <typename T>
bool readBlock(std::istream& in, std::vector<T>& array, int32_t count)
{
    if (count < 0 || static_cast<uint64_t>(count) * sizeof(T) > bytesLeft(in)) {
        return false;
    }
    array.resize(static_cast<size_t>(count));
    return count == 0 ||
           static_cast<bool>(in.read(reinterpret_cast<char*>(array.data()),
                                     static_cast<std::streamsize>(array.size() * sizeof(T))));
}

bool isUsableLength(float length)
{
    return length > 0.0f && std::isfinite(length);
}

} // namespace

bool cGeometryNode::serialize(std::istream& in, bool binary, bool reading, std::string* error)
{
    if (!reading) {
        return in.good();
    }
    if (!readRecord(in, binary, error)) {
        return false;
    }
    return binary ? readBinaryMesh(in, error) : readTextMesh(in, error);
}

bool cGeometryNode::readTextMesh(std::istream& in, std::string* error)
{
    int32_t count = 0;
    readLabeled(in, count);
    skipLineEnd(in);
    mPositions.clear();
    for (int32_t i = 0; i < count && !in.fail(); ++i) {
        cVec3f p;
        if (in >> p) {
            mPositions.push_back(p);
        }
    }
    if (in.fail()) {
        return failWith(error, "mesh \"" + getName() + "\": vertex list cut short");
    }
    computeBounds();

    int32_t attributes = 0;
    readLabeled(in, attributes);
    for (int32_t a = 0; a < attributes && !in.fail(); ++a) {
        std::string name;
        int32_t kind = 0;
        readLabeledName(in, name);
        readLabeled(in, kind);
        skipLineEnd(in);
        if (kind == 1) {
            float ignored = 0.0f;
            for (int32_t i = 0; i < count && in >> ignored; ++i) {
            }
        } else if (kind == 2) {
            cVec2Array& values = mVec2[name];
            values.clear();
            std::array<float, 2> v{};
            for (int32_t i = 0; i < count && in >> v[0] >> v[1]; ++i) {
                values.push_back(v);
            }
        } else if (kind == 3) {
            cVec3Array& values = mVec3[name];
            values.clear();
            cVec3f v;
            for (int32_t i = 0; i < count && in >> v; ++i) {
                values.push_back(v);
            }
        }
        if (in.fail()) {
            return failWith(error, "mesh \"" + getName() + "\": attribute \"" + name +
                                       "\" cut short or malformed");
        }
    }

    int32_t triangles = 0;
    readLabeled(in, triangles);
    skipLineEnd(in);
    mTriangles.clear();
    for (int32_t i = 0; i < triangles && !in.fail(); ++i) {
        cTriangle t{};
        if (in >> t[0] >> t[1] >> t[2]) {
            mTriangles.push_back(t);
        }
    }
    if (in.fail()) {
        return failWith(error, "mesh \"" + getName() + "\": triangle list cut short");
    }
    skipLineEnd(in);
    if (!checkTriangles(error)) {
        return false;
    }
    generateTangents("tangent");
    return true;
}

bool cGeometryNode::readBinaryMesh(std::istream& in, std::string* error)
{
    const std::string mesh = "mesh \"" + getName() + "\": ";
    int32_t count = 0;
    if (!readBinary(in, count) || !readBlock(in, mPositions, count)) {
        return failWith(error, mesh + "vertex count larger than the file or cut short");
    }
    int32_t attributes = 0;
    if (!readBinary(in, attributes)) {
        return failWith(error, mesh + "attribute count missing");
    }
    for (int32_t a = 0; a < attributes; ++a) {
        std::string name;
        int32_t kind = 0;
        if (!readBinaryString(in, name) || !readBinary(in, kind)) {
            return failWith(error, mesh + "attribute list cut short");
        }
        bool ok = true;
        if (kind == 2) {
            ok = readBlock(in, mVec2[name], count);
        } else if (kind == 3) {
            ok = readBlock(in, mVec3[name], count);
        }
        if (!ok) {
            return failWith(error, mesh + "attribute \"" + name + "\" cut short");
        }
    }
    int32_t triangles = 0;
    if (!readBinary(in, triangles) || !readBlock(in, mTriangles, triangles)) {
        return failWith(error, mesh + "triangle count larger than the file or cut short");
    }
    if (!checkTriangles(error)) {
        return false;
    }
    computeBounds();
    return true;
}

bool cGeometryNode::checkTriangles(std::string* error) const
{
    const size_t vertices = mPositions.size();
    for (size_t i = 0; i < mTriangles.size(); ++i) {
        for (uint32_t index : mTriangles[i]) {
            if (index >= vertices) {
                return failWith(error, "mesh \"" + getName() + "\": triangle " + std::to_string(i) +
                                           " uses vertex " + std::to_string(index) + " of " +
                                           std::to_string(vertices));
            }
        }
    }
    return true;
}

void cGeometryNode::computeBounds()
{
    if (mPositions.empty()) {
        mBoundsCentre.set(0.0f, 0.0f, 0.0f);
        mBoundsRadius = 0.0f;
        return;
    }
    cVec3f lo = mPositions.front();
    cVec3f hi = lo;
    for (const cVec3f& p : mPositions) {
        lo.set(std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z));
        hi.set(std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z));
    }
    cVec3f size = hi;
    size.subtract(lo);
    mBoundsRadius = size.length() * 0.5f;
    mBoundsCentre = lo.plus(size.scaled(0.5f));
}

void cGeometryNode::generateTangents(const std::string& name)
{
    const size_t count = mPositions.size();
    const auto normals = mVec3.find("normals");
    const auto uvs = mVec2.find("texCoord1");
    if (normals == mVec3.end() || uvs == mVec2.end() || normals->second.size() < count ||
        uvs->second.size() < count) {
        mVec3.erase(name);
        return;
    }
    const cVec3Array& n = normals->second;
    const cVec2Array& uv = uvs->second;
    cVec3Array acc(count);
    for (const cTriangle& t : mTriangles) {
        if (t[0] >= count || t[1] >= count || t[2] >= count) {
            continue;
        }
        cVec3f e1 = mPositions[t[1]];
        e1.subtract(mPositions[t[0]]);
        cVec3f e2 = mPositions[t[2]];
        e2.subtract(mPositions[t[0]]);
        const float s1 = uv[t[1]][0] - uv[t[0]][0], t1 = uv[t[1]][1] - uv[t[0]][1];
        const float s2 = uv[t[2]][0] - uv[t[0]][0], t2 = uv[t[2]][1] - uv[t[0]][1];
        const float denominator = s1 * t2 - s2 * t1;
        if (denominator == 0.0f) {
            continue;  // no texture direction on this triangle
        }
        cVec3f d = e1.scaled(t2).plus(e2.scaled(-t1)).scaled(1.0f / denominator);
        const float length = d.length();
        if (!isUsableLength(length)) {
            continue;
        }
        d.divide(length);
        for (uint32_t index : t) {
            acc[index].add(d);
        }
    }
    cVec3Array& tangents = mVec3[name];
    tangents.assign(count, cVec3f());
    for (size_t i = 0; i < count; ++i) {
        cVec3f v = acc[i];
        v.subtract(n[i].scaled(n[i].dot(acc[i])));
        const float length = v.length();
        if (isUsableLength(length)) {
            v.divide(length);
            tangents[i] = v;
        }
    }
}

bool cGeometryNode::hitTest()
{
    cScenegraph* scenegraph = getScenegraph();
    const cCameraNode* camera = scenegraph ? scenegraph->getActiveCamera() : nullptr;
    if (!camera) {
        return false;
    }
    const cMouseState& mouse = getMouseState();
    const float x = static_cast<float>(mouse.x) / 800.0f * 2.0f - 1.0f;
    const float y = 1.0f - static_cast<float>(mouse.y) / 600.0f * 2.0f;
    const cVec3f q = unproject(x, y, camera->getProjection(), camera->getViewMatrix());
    const cVec3f& c = camera->getWorldPosition();
    const cVec3f centre = getWorldPosition().plus(mBoundsCentre);
    cVec3f d = q;
    d.subtract(c);
    cVec3f m = c;
    m.subtract(centre);
    const float a = d.dot(d);
    const float b = 2.0f * d.dot(m);
    const float cc = m.dot(m) - mBoundsRadius * mBoundsRadius;
    return b * b - 4.0f * a * cc >= 0.0f;
}

} // namespace qvr
