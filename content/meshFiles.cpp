// The demo's mesh files: water plane, block templates, sculpture, ice tree, sphere and charset.
#include "content/contentFiles.h"
#include "content/fontRaster.h"
#include "content/meshBuilder.h"

#include "scene/cScenegraph.h"
#include "scene/sceneFileWriter.h"

#include <cstdio>
#include <fstream>

namespace qvr::content {

namespace {

// A top node whose children are the file's nodes; the top node itself is not written.
class cSceneFile {
public:
    cGeometryNode* mesh(const std::string& name, cMeshBuilder& builder, const cVec3f& position = {})
    {
        cGeometryNode* node = new cGeometryNode();
        node->getName() = name;
        node->setId(mNextId++);
        node->setPosition(position);
        builder.moveInto(*node);
        mTop.addChild(node);
        return node;
    }

    cSpatialNode* group(const std::string& name, const cVec3f& position = {})
    {
        cSpatialNode* node = new cSpatialNode();
        node->getName() = name;
        node->setId(mNextId++);
        node->setPosition(position);
        mTop.addChild(node);
        return node;
    }

    bool write(const std::string& path)
    {
        std::ofstream out(path, std::ios::binary);
        const bool ok = writeScene(out, mTop, false) && out.good();
        if (!ok) {
            std::fprintf(stderr, "content: cannot write %s\n", path.c_str());
        }
        return ok;
    }

private:
    cSpatialNode mTop;
    int32_t mNextId = 0;
};

// A solid glyph: the character's bitmap extruded, about 1 unit wide and 2 tall, centred on the
// node's origin, front facing +z.
void buildGlyph(cMeshBuilder& mesh, cFontRaster& font, char c)
{
    constexpr int kPixels = 24;            // bitmap size: 24 px per 2 units
    constexpr float kUnit = 2.0f / kPixels;
    constexpr float kHalfDepth = 0.2f;
    int left = 0, top = 0, advance = 0;
    const cMask bitmap = font.glyph(c, kPixels, left, top, advance);
    const auto filled = [&](int x, int y) { return bitmap.at(x, y) >= 0.5f; };
    const float xShift = -advance * 0.5f;
    const float yShift = -kPixels * 0.36f;  // roughly centres cap height on the origin
    for (int row = 0; row < bitmap.height; ++row) {
        const float y1 = (top - row + yShift) * kUnit, y0 = y1 - kUnit;
        for (int col = 0; col < bitmap.width; ++col) {
            if (!filled(col, row)) {
                continue;
            }
            const float x0 = (left + col + xShift) * kUnit, x1 = x0 + kUnit;
            const float f = kHalfDepth, b = -kHalfDepth;
            mesh.flatQuad({x0, y0, f}, {x1, y0, f}, {x1, y1, f}, {x0, y1, f});
            mesh.flatQuad({x1, y0, b}, {x0, y0, b}, {x0, y1, b}, {x1, y1, b});
            if (!filled(col + 1, row)) {
                mesh.flatQuad({x1, y0, f}, {x1, y0, b}, {x1, y1, b}, {x1, y1, f});
            }
            if (!filled(col - 1, row)) {
                mesh.flatQuad({x0, y0, b}, {x0, y0, f}, {x0, y1, f}, {x0, y1, b});
            }
            if (!filled(col, row - 1)) {
                mesh.flatQuad({x0, y1, f}, {x1, y1, f}, {x1, y1, b}, {x0, y1, b});
            }
            if (!filled(col, row + 1)) {
                mesh.flatQuad({x0, y0, b}, {x1, y0, b}, {x1, y0, f}, {x0, y0, f});
            }
        }
    }
}

} // namespace

bool writeMeshFiles(const std::string& root)
{
    const std::string assets = root + "/Assets/";
    const cVec3f hidden(0.0f, kHiddenDepth, 0.0f);
    bool ok = true;
    cMeshBuilder builder;
    {
        cSceneFile file;
        buildWaterPlane(builder, 255, 10000.0f, 64.0f);
        file.mesh("water", builder);
        ok = file.write(assets + "wplane.QVS") && ok;
    }
    {
        cSceneFile file;
        builder.box({0, 0, 0}, {200, 600, 200});  // a city block
        file.mesh("Box01", builder, hidden);
        ok = file.write(assets + "oneblock.qvs") && ok;
    }
    {
        cSceneFile file;
        builder.box({0, 0, 0}, {1, 1, 1});
        file.mesh("Box01", builder, hidden);
        ok = file.write(assets + "ablock.QVS") && ok;
    }
    {
        cSceneFile file;
        buildTorusKnot(builder, 260.0f, 46.0f, 720, 28);
        file.mesh("sculpture", builder);
        ok = file.write(assets + "abstra.QVS") && ok;
    }
    {
        cSceneFile file;
        cMeshBuilder branches;
        buildTree(builder, branches, 800.0f, 20261209u);
        file.mesh("Trunk", builder);
        file.mesh("Branc", branches);
        ok = file.write(assets + "tree.QVS") && ok;
    }
    {
        cSceneFile file;
        buildSphere(builder, 40.0f, 48, 24);
        file.mesh("sphere", builder);
        ok = file.write(assets + "sphere.QVS") && ok;
    }
    {
        cFontRaster font(kFontBold);
        if (!font.ok()) {
            std::fprintf(stderr, "content: cannot open the font %s\n", kFontBold);
            return false;
        }
        cSceneFile file;
        for (char c = '!'; c <= '~'; ++c) {
            buildGlyph(builder, font, c);
            file.mesh(std::string(1, c), builder, hidden);
        }
        ok = file.write(assets + "charset.QVS") && ok;
    }
    return ok;
}

} // namespace qvr::content
