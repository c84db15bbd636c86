// Shapes for the demo's mesh files.
#include "content/meshBuilder.h"

#include <algorithm>
#include <cmath>

namespace qvr::content {

namespace {

constexpr float kPi = 3.14159265358979f;

cVec3f sub(const cVec3f& a, const cVec3f& b)
{
    return cVec3f(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Any unit vector perpendicular to d.
cVec3f perpendicular(const cVec3f& d)
{
    const cVec3f helper = std::fabs(d.y) < 0.9f ? cVec3f(0, 1, 0) : cVec3f(1, 0, 0);
    return d.cross(helper).normalized();
}

} // namespace

uint32_t cMeshBuilder::vertex(const cVec3f& position, const cVec3f& normal, float u, float v)
{
    mPositions.push_back(position);
    mNormals.push_back(normal);
    mUvs.push_back({u, v});
    return static_cast<uint32_t>(mPositions.size() - 1);
}

void cMeshBuilder::quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    triangle(a, b, c);
    triangle(a, c, d);
}

void cMeshBuilder::flatQuad(const cVec3f& a, const cVec3f& b, const cVec3f& c, const cVec3f& d)
{
    const cVec3f n = sub(b, a).cross(sub(d, a)).normalized();
    quad(vertex(a, n, 0, 0), vertex(b, n, 1, 0), vertex(c, n, 1, 1), vertex(d, n, 0, 1));
}

void cMeshBuilder::box(const cVec3f& c, const cVec3f& size)
{
    const float x0 = c.x - size.x / 2, x1 = c.x + size.x / 2;
    const float y0 = c.y - size.y / 2, y1 = c.y + size.y / 2;
    const float z0 = c.z - size.z / 2, z1 = c.z + size.z / 2;
    flatQuad({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1});  // +z
    flatQuad({x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0});  // -z
    flatQuad({x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1});  // +x
    flatQuad({x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0});  // -x
    flatQuad({x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0});  // +y
    flatQuad({x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1});  // -y
}

void cMeshBuilder::tube(const std::vector<cVec3f>& points, const std::vector<float>& radii, int sides)
{
    const size_t rings = points.size();
    if (rings < 2) {
        return;
    }
    const uint32_t first = static_cast<uint32_t>(mPositions.size());
    // Parallel transport keeps the rings from twisting along the tube.
    cVec3f side = perpendicular(sub(points[1], points[0]).normalized());
    for (size_t i = 0; i < rings; ++i) {
        const cVec3f along = sub(points[std::min(i + 1, rings - 1)], points[i > 0 ? i - 1 : 0]).normalized();
        side = along.cross(side).cross(along).normalized();
        const cVec3f up = along.cross(side);
        for (int s = 0; s <= sides; ++s) {
            const float a = 2 * kPi * s / sides;
            const cVec3f n = side.scaled(std::cos(a)).plus(up.scaled(std::sin(a)));
            vertex(points[i].plus(n.scaled(radii[i])), n, static_cast<float>(s) / sides,
                   static_cast<float>(i) / (rings - 1));
        }
    }
    const uint32_t stride = static_cast<uint32_t>(sides + 1);
    for (uint32_t i = 0; i + 1 < rings; ++i) {
        for (uint32_t s = 0; s < static_cast<uint32_t>(sides); ++s) {
            const uint32_t a = first + i * stride + s;
            quad(a, a + 1, a + stride + 1, a + stride);
        }
    }
}

float cMeshBuilder::maxY() const
{
    float top = 0.0f;
    for (const cVec3f& p : mPositions) {
        top = std::max(top, p.y);
    }
    return top;
}

void cMeshBuilder::scale(float factor)
{
    for (cVec3f& p : mPositions) {
        p.scale(factor);
    }
}

void cMeshBuilder::moveInto(cGeometryNode& node)
{
    node.getPositions() = std::move(mPositions);
    node.getVec3Attributes()["normals"] = std::move(mNormals);
    node.getVec2Attributes()["texCoord1"] = std::move(mUvs);
    node.getTriangles() = std::move(mTriangles);
    node.computeBounds();
    *this = cMeshBuilder();
}

void buildWaterPlane(cMeshBuilder& mesh, int cells, float extent, float uvRepeat)
{
    const cVec3f up(0, 1, 0);
    for (int z = 0; z <= cells; ++z) {
        for (int x = 0; x <= cells; ++x) {
            const float u = static_cast<float>(x) / cells, v = static_cast<float>(z) / cells;
            mesh.vertex({-extent + 2 * extent * u, 0, -extent + 2 * extent * v}, up, u * uvRepeat, v * uvRepeat);
        }
    }
    const uint32_t row = static_cast<uint32_t>(cells + 1);
    for (uint32_t z = 0; z < static_cast<uint32_t>(cells); ++z) {
        for (uint32_t x = 0; x < static_cast<uint32_t>(cells); ++x) {
            const uint32_t a = z * row + x;
            mesh.quad(a, a + row, a + row + 1, a + 1);  // counter-clockwise seen from above
        }
    }
}

void buildTorusKnot(cMeshBuilder& mesh, float radius, float tubeRadius, int segments, int sides)
{
    std::vector<cVec3f> points;
    for (int i = 0; i <= segments; ++i) {
        const float t = 2 * kPi * i / segments;
        const float r = radius * (0.62f + 0.38f * std::cos(3 * t));
        points.emplace_back(r * std::cos(2 * t), radius * 0.38f * std::sin(3 * t), r * std::sin(2 * t));
    }
    mesh.tube(points, std::vector<float>(points.size(), tubeRadius), sides);
}

void buildSphere(cMeshBuilder& mesh, float radius, int slices, int stacks)
{
    for (int j = 0; j <= stacks; ++j) {
        const float v = static_cast<float>(j) / stacks;
        const float polar = kPi * v;
        for (int i = 0; i <= slices; ++i) {
            const float u = static_cast<float>(i) / slices;
            const float a = 2 * kPi * u;
            const cVec3f n(std::sin(polar) * std::cos(a), std::cos(polar), std::sin(polar) * std::sin(a));
            mesh.vertex(n.scaled(radius), n, u, v);
        }
    }
    const uint32_t row = static_cast<uint32_t>(slices + 1);
    for (uint32_t j = 0; j < static_cast<uint32_t>(stacks); ++j) {
        for (uint32_t i = 0; i < static_cast<uint32_t>(slices); ++i) {
            const uint32_t a = j * row + i;
            mesh.quad(a, a + 1, a + row + 1, a + row);
        }
    }
}

namespace {

// One branch from start along direction, then its children, until depth runs out.
void growBranch(cMeshBuilder& out, const cVec3f& start, const cVec3f& direction, float length,
                float radius, int depth, cShapeRandom& random)
{
    std::vector<cVec3f> points{start};
    std::vector<float> radii{radius};
    cVec3f d = direction;
    for (int k = 1; k <= 4; ++k) {
        d = d.plus(cVec3f(random.range(-0.15f, 0.15f), 0.05f, random.range(-0.15f, 0.15f))).normalized();
        points.push_back(points.back().plus(d.scaled(length / 4)));
        radii.push_back(radius * (1.0f - 0.35f * k / 4));
    }
    out.tube(points, radii, 7);
    if (depth == 0) {
        return;
    }
    const int children = depth > 2 ? 3 : 2;
    for (int c = 0; c < children; ++c) {
        const float turn = 2 * kPi * (c + random.next() * 0.5f) / children;
        const cVec3f side = perpendicular(d);
        const cVec3f other = d.cross(side);
        const cVec3f spread = side.scaled(std::cos(turn)).plus(other.scaled(std::sin(turn)));
        const cVec3f childDir = d.plus(spread.scaled(random.range(0.6f, 1.1f))).normalized();
        growBranch(out, points.back(), childDir, length * random.range(0.62f, 0.78f), radii.back() * 0.8f,
                   depth - 1, random);
    }
}

} // namespace

void buildTree(cMeshBuilder& trunk, cMeshBuilder& branches, float height, uint32_t seed)
{
    cShapeRandom random(seed);
    const float trunkHeight = height * 0.36f;
    std::vector<cVec3f> points;
    std::vector<float> radii;
    for (int k = 0; k <= 6; ++k) {
        const float t = k / 6.0f;
        points.emplace_back(std::sin(t * 2.1f) * 6.0f, trunkHeight * t, std::cos(t * 1.7f) * 4.0f - 4.0f);
        radii.push_back(26.0f - 10.0f * t);
    }
    trunk.tube(points, radii, 10);
    const cVec3f top = points.back();
    for (int c = 0; c < 3; ++c) {
        const float a = 2 * kPi * c / 3 + 0.4f;
        const cVec3f dir = cVec3f(std::cos(a) * 0.45f, 1.0f, std::sin(a) * 0.45f).normalized();
        growBranch(branches, top, dir, height * 0.3f, 14.0f, 4, random);
    }
    const float factor = height / std::max(trunk.maxY(), branches.maxY());
    trunk.scale(factor);
    branches.scale(factor);
}

} // namespace qvr::content
