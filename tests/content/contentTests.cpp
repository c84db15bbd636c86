// The generated content, read back with the engine's own readers: what the demo relies on.
#include "math/cControllerLibrary.h"
#include "resources/cPngLoader.h"
#include "resources/cResourceManger.h"
#include "scene/cScenegraph.h"
#include "tests/support/testSupport.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qvr;
using qvr::test::cScratchDir;
using qvr::test::readFile;

namespace {

const std::string kRun = QVR_RUN_DIR;

// Every geometry node of a loaded file, checked for what drawing and tangents need.
std::vector<cGeometryNode*> checkedMeshes(cSpatialNode* top)
{
    std::vector<cSpatialNode*> nodes;
    top->collectByType(kNodeGeometry, nodes);
    std::vector<cGeometryNode*> meshes;
    for (cSpatialNode* node : nodes) {
        auto* mesh = static_cast<cGeometryNode*>(node);
        SCOPED_TRACE(mesh->getName());
        const size_t count = mesh->getPositions().size();
        EXPECT_GT(count, 0u);
        EXPECT_EQ(mesh->getVec3Attributes().at("normals").size(), count);
        EXPECT_EQ(mesh->getVec2Attributes().at("texCoord1").size(), count);
        EXPECT_EQ(mesh->getVec3Attributes().at("tangent").size(), count);
        size_t notUnit = 0;
        for (const cVec3f& n : mesh->getVec3Attributes().at("normals")) {
            notUnit += std::fabs(n.length() - 1.0f) > 1e-4f;
        }
        EXPECT_EQ(notUnit, 0u);
        meshes.push_back(mesh);
    }
    return meshes;
}

float minY(const cGeometryNode& mesh)
{
    float y = mesh.getPositions().front().y;
    for (const cVec3f& p : mesh.getPositions()) {
        y = std::min(y, p.y);
    }
    return y;
}

float maxY(const cGeometryNode& mesh)
{
    float y = mesh.getPositions().front().y;
    for (const cVec3f& p : mesh.getPositions()) {
        y = std::max(y, p.y);
    }
    return y;
}

class Content : public ::testing::Test {
protected:
    cSpatialNode* load(const char* file) { return mGraph.loadScene(kRun + "/" + file, false, nullptr); }
    cScenegraph mGraph;
};

} // namespace

TEST_F(Content, MeshFilesHoldTheNodesTheScenesUse)
{
    cSpatialNode* plane = load("Assets/wplane.QVS");
    ASSERT_NE(plane, nullptr);
    const auto water = checkedMeshes(plane);
    ASSERT_EQ(water.size(), 1u);
    EXPECT_EQ(minY(*water[0]), 0.0f);
    EXPECT_EQ(maxY(*water[0]), 0.0f);
    EXPECT_GE(water[0]->getBoundsRadius(), 10000.0f * std::sqrt(2.0f) - 1.0f);  // covers the block ring

    for (const char* blocks : {"Assets/oneblock.qvs", "Assets/ablock.QVS"}) {
        SCOPED_TRACE(blocks);
        cSpatialNode* top = load(blocks);
        ASSERT_NE(top, nullptr);
        checkedMeshes(top);
        cSpatialNode* box = top->findByName("Box01");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->getType(), kNodeGeometry);
        EXPECT_LE(box->getPosition().y, -100000.0f);  // out of every camera's reach
        const auto* mesh = static_cast<cGeometryNode*>(box);
        EXPECT_EQ(mesh->getPositions().size(), 24u);
        EXPECT_NEAR(mesh->getBoundsCentre().length(), 0.0f, 1e-5f);
    }
    cSpatialNode* ablock = mGraph.getRoot()->getChildren().back().get();
    EXPECT_NEAR(static_cast<cGeometryNode*>(ablock->findByName("Box01"))->getBoundsRadius(),
                std::sqrt(3.0f) / 2, 1e-5f);

    cSpatialNode* tree = load("Assets/tree.QVS");
    ASSERT_NE(tree, nullptr);
    checkedMeshes(tree);
    auto* branches = dynamic_cast<cGeometryNode*>(tree->findByName("Branc"));
    auto* trunk = dynamic_cast<cGeometryNode*>(tree->findByName("Trunk"));
    ASSERT_TRUE(branches && trunk);
    EXPECT_NEAR(std::max(maxY(*branches), maxY(*trunk)), 800.0f, 0.5f);
    EXPECT_NEAR(minY(*trunk), 0.0f, 30.0f);
    EXPECT_GT(branches->getPositions().size(), 1000u);

    for (const char* file : {"Assets/abstra.QVS", "Assets/sphere.QVS"}) {
        cSpatialNode* top = load(file);
        ASSERT_NE(top, nullptr) << file;
        checkedMeshes(top);
    }
    const auto* sphere = static_cast<cGeometryNode*>(mGraph.findNode("sphere"));
    EXPECT_NEAR(sphere->getBoundsRadius(), 40.0f * std::sqrt(3.0f), 0.5f);
    const auto* sculpture = static_cast<cGeometryNode*>(mGraph.findNode("sculpture"));
    EXPECT_GT(sculpture->getBoundsRadius(), 250.0f);
}

TEST_F(Content, CharsetHasASolidGlyphForEveryPrintableCharacter)
{
    cSpatialNode* charset = load("Assets/charset.QVS");
    ASSERT_NE(charset, nullptr);
    EXPECT_EQ(checkedMeshes(charset).size(), 94u);
    for (char c = '!'; c <= '~'; ++c) {
        auto* glyph = dynamic_cast<cGeometryNode*>(charset->findByName(std::string(1, c)));
        ASSERT_NE(glyph, nullptr) << c;
        EXPECT_LE(glyph->getPosition().y, -100000.0f);
        EXPECT_LT(glyph->getBoundsRadius(), 1.6f) << c;
    }
    const auto* m = static_cast<cGeometryNode*>(charset->findByName("M"));
    EXPECT_NEAR(maxY(*m) - minY(*m), 1.5f, 0.3f);
    EXPECT_EQ(charset->findByName(" "), nullptr);
}

TEST(ContentPictures, ResourceListNamesDecodablePicturesAndTheOverlaysSitWhereTheScenesLook)
{
    cResourceManger list;
    list.loadResourceList(kRun + "/Assets/Data/resources.dat");
    ASSERT_EQ(list.count(), 39);
    cPngLoader loader;
    for (int32_t i = 0; i < list.count(); ++i) {
        const cResourceEntry& entry = *list.peek(i);
        EXPECT_EQ(entry.kind, kResourceTexture);
        const cImage image = loader.load(kRun + "/" + entry.path);
        ASSERT_FALSE(image.empty()) << entry.path;
        EXPECT_TRUE(image.bytesPerPixel == 3 || image.bytesPerPixel == 4) << entry.path;
        const bool overlay = i == 0 || (i >= 34 && i <= 38);
        if (overlay) {
            EXPECT_EQ(image.width, 800) << entry.path;
            EXPECT_EQ(image.height, 600) << entry.path;
            EXPECT_EQ(image.bytesPerPixel, 4) << entry.path;
        }
    }
    EXPECT_EQ(list.peek(34)->fileName, "sculpture.png");
    EXPECT_EQ(list.peek(35)->fileName, "credits1.png");
    EXPECT_EQ(list.peek(37)->fileName, "credits3.png");
    EXPECT_EQ(list.peek(38)->fileName, "closing.png");

    const cImage strip = loader.load(kRun + "/" + list.peek(1)->path);
    EXPECT_EQ(strip.width, 66 * strip.height);
}

TEST(ContentPictures, NoiseVolumeIsStoredSliceAfterSlice)
{
    cPngLoader loader;
    const cImage volume = loader.load(kRun + "/Assets/Tex/noisevolume.png");
    ASSERT_EQ(volume.width, 1024);
    ASSERT_EQ(volume.height, 32);
    // Texel (x, y, z) is byte ((z * 32 + y) * 32 + x) * 3: smooth noise changes little between
    // neighbours along every axis of that layout, much less than between unrelated texels.
    const auto texel = [&](int x, int y, int z) {
        return static_cast<int>(volume.pixels[static_cast<size_t>(((z * 32 + y) * 32 + x) * 3)]);
    };
    double along[3] = {0, 0, 0}, unrelated = 0;
    int n = 0;
    for (int z = 0; z < 31; ++z) {
        for (int y = 0; y < 31; ++y) {
            for (int x = 0; x < 31; ++x) {
                along[0] += std::abs(texel(x + 1, y, z) - texel(x, y, z));
                along[1] += std::abs(texel(x, y + 1, z) - texel(x, y, z));
                along[2] += std::abs(texel(x, y, z + 1) - texel(x, y, z));
                unrelated += std::abs(texel((x * 7 + 13) % 32, (y * 11 + 5) % 32, (z * 5 + 17) % 32) - texel(x, y, z));
                ++n;
            }
        }
    }
    for (double a : along) {
        EXPECT_LT(a / n, unrelated / n * 0.5);
    }
}

TEST(ContentData, ControllersAndFontsLoad)
{
    cControllerLibrary library;
    EXPECT_TRUE(library.loadControllerList(kRun + "/Assets/Data/cont.txt", false));
    ASSERT_EQ(library.count(), 4);
    EXPECT_EQ(library.getControllers()[1]->getType(), kControllerTcb);
    EXPECT_FLOAT_EQ(library.getControllers()[0]->evaluate(0.5f).x, 1.0f);
    EXPECT_FLOAT_EQ(library.getControllers()[2]->evaluate(0.5f).x, 12.0f);

    std::ifstream fonts(kRun + "/Assets/Fonts/fontCollection.txt");
    std::string path;
    int size = 0, count = 0;
    FT_Library freetype = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&freetype), 0);
    while (fonts >> path >> size) {
        ++count;
        EXPECT_GT(size, 0);
        FT_Face face = nullptr;
        EXPECT_EQ(FT_New_Face(freetype, (kRun + "/" + path).c_str(), 0, &face), 0) << path;
        if (face) {
            FT_Done_Face(face);
        }
    }
    FT_Done_FreeType(freetype);
    EXPECT_EQ(count, 3);  // regular, bold, and the small one the capture HUD writes with
}

TEST(ContentData, SampleTrackGeneratesAClosedSurface)
{
    cScenegraph graph;
    cTrackNode* track = graph.createTrackNode();
    graph.getRoot()->addChild(track);
    std::ifstream in(kRun + "/Assets/Data/track.txt", std::ios::binary);
    ASSERT_TRUE(track->readCurves(in, "track.txt"));
    for (int c = 0; c < 4; ++c) {
        ASSERT_EQ(track->getCurve(c).getKeyCount(), 13);
        // Closed: the curve ends where it starts.
        const cVec3f a = track->getCurve(c).evaluate(0.0f), b = track->getCurve(c).evaluate(1.0f);
        EXPECT_NEAR(a.x, b.x, 0.01f);
        EXPECT_NEAR(a.z, b.z, 0.01f);
    }
    ASSERT_TRUE(track->generateSurface());
    EXPECT_EQ(track->getSurface()->getPositions().size(), 9020u);
    cMaterial material;
    EXPECT_TRUE(material.load(kRun + "/Assets/Mat/track.mat", false));
}

TEST(ContentGenerator, WritesTheSameBytesOnEveryRun)
{
    cScratchDir a, b;
    ASSERT_EQ(std::system((std::string(QVR_CONTENT_BIN) + " " + a.path()).c_str()), 0);
    ASSERT_EQ(std::system((std::string(QVR_CONTENT_BIN) + " " + b.path()).c_str()), 0);
    namespace fs = std::filesystem;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(a.path())) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::string relative = fs::relative(entry.path(), a.path()).string();
        const std::string bytes = readFile(entry.path().string());
        EXPECT_EQ(bytes, readFile(b.file(relative))) << relative;
        EXPECT_EQ(bytes, readFile(kRun + "/" + relative)) << relative;
        ++files;
    }
    // Meshes, pictures, data files (resources, controllers, track), fonts, then the materials and
    // their shader modules.
    EXPECT_EQ(files, 7 + 39 + 3 + 3 + 23 + 40);
}

TEST(ContentMaterials, EveryMaterialTheScenesLoadReadsBackWithItsModules)
{
    const char* names[] = {"overlay1", "toColor", "postprocblurv", "postprocblurh", "postproc", "water2",
                           "water", "city", "snake", "abstra", "extrude", "ballpart", "rain", "ice",
                           "sphereice", "treeparticle", "corri", "watercorr", "watersplash", "watercreak",
                           "letter", "gcity"};
    for (const char* name : names) {
        const std::string path = kRun + "/Assets/Mat/" + name + ".mat";
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        cMaterial material;
        EXPECT_TRUE(material.load(path, false)) << path;
        const cShaderState& shader = material.getShaderState();
        EXPECT_FALSE(shader.vertexModules().empty()) << name;
        EXPECT_FALSE(shader.fragmentModules().empty()) << name;
        for (const auto* modules : {&shader.vertexModules(), &shader.fragmentModules()}) {
            for (const std::string& module : *modules) {
                const std::string source = readFile(kRun + "/" + module + ".glsl");
                EXPECT_FALSE(source.empty()) << module;
                // The renderer reads declarations literally: no blank before a ';'.
                EXPECT_EQ(source.find(" ;"), std::string::npos) << module;
            }
        }
        // Every sampler a fragment module declares is bound to a unit with a picture or a target.
        for (const auto& [sampler, unit] : shader.fragmentVars().ints) {
            EXPECT_NE(material.getTextureState(unit).getSource(), kTextureNone) << name << " " << sampler;
        }
    }
}
