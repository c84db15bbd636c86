// Fonts, text and the overlay on a real GL context, and the track editor drawn by the renderer:
// checked by reading pixels back.
#include "core/cMouseState.h"
#include "core/cSystemWrapper.h"
#include "render/cOglRenderer.h"
#include "tests/support/glTestContext.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qvr;
using qvr::test::cGlTestContext;
using qvr::test::cScratchDir;
using qvr::test::writeFile;

namespace {

const char* const kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// A clock the test moves, counting the frames shown.
class cFakeSystem : public cSystemWrapper {
public:
    void present() override { ++presents; }
    void setDefaultClearColor() override {}
    uint32_t getTimeMs() override { return now; }
    uint32_t now = 5000;
    int presents = 0;
};

int red(int x, int y)
{
    unsigned char p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[0];
}

// Lit pixels (red above 100) in a box, in window pixels from the bottom left.
int litPixels(int x0, int y0, int x1, int y1)
{
    int lit = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            lit += red(x, y) > 100 ? 1 : 0;
        }
    }
    return lit;
}

class Overlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mContext.ok()) << mContext.error();
        mRenderer.setSystem(&mSystem);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void collection(const std::string& text) { writeFile("Assets/Fonts/fontCollection.txt", text); }

    void drawOverlayOnly()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mRenderer.drawOverlay(mGraph);
    }

    cScratchDir mDir{true};
    cGlTestContext mContext;
    cFakeSystem mSystem;
    cOglRenderer mRenderer;
    cScenegraph mGraph;
};

} // namespace

TEST_F(Overlay, GlyphFillsItsTextureOnlyAsFarAsTheBitmap)
{
    // 5 x 9 coverage in rows of 8 bytes; the padding is clear, so reading rows 5 bytes apart
    // would smear clear texels into the glyph.
    std::vector<uint8_t> rows(8 * 9, 0);
    for (int i = 0; i < 9; ++i) {
        std::fill_n(rows.begin() + i * 8, 5, 255);
    }
    cGlyphBitmap bitmap;
    bitmap.buffer = rows.data();
    bitmap.width = 5;
    bitmap.rows = 9;
    bitmap.pitch = 8;
    bitmap.top = 9;
    bitmap.advance = 6 << 6;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    const GLuint list = glGenLists(1);
    cFontOGL::makeGlyph(texture, list, bitmap);
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 16);

    // Drawn 1:1 at (100, 100): exactly the 5 x 9 block, fully lit (texture addressed to 5/8, 9/16).
    mRenderer.begin2D();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor3f(1, 1, 1);
    glTranslatef(100, 100, 0);
    glCallList(list);
    glCallList(list);  // the advance moves the second copy 6 units right
    mRenderer.end2D();
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(litPixels(100, 100, 105, 109), 45);
    for (int y = 100; y < 109; ++y) {
        EXPECT_GT(red(100, y), 250);
        EXPECT_GT(red(104, y), 250) << y;
        EXPECT_LT(red(105, y), 5) << y;
    }
    EXPECT_EQ(litPixels(99, 98, 106, 100), 0);
    EXPECT_EQ(litPixels(99, 109, 106, 112), 0);
    EXPECT_EQ(litPixels(106, 100, 111, 109), 45);
    glDeleteLists(list, 1);
    glDeleteTextures(1, &texture);
}

TEST_F(Overlay, TextLinesGoDownBySizeOverPointSixThree)
{
    collection(std::string(kFontFile) + " 12\n" + kFontFile + " 30\n");
    loadFontCollection(const_cast<std::vector<std::unique_ptr<cFontOGL>>&>(mRenderer.getFonts()),
                       "Assets/Fonts/fontCollection.txt");
    ASSERT_EQ(mRenderer.getFonts().size(), 2u);
    const cFontOGL* font = mRenderer.getFonts()[0].get();

    mRenderer.begin2D();
    glColor3f(1, 1, 1);
    drawText(font, 100, 300, "I\nI");
    mRenderer.end2D();
    // The bottom of each "I" is its baseline.
    std::vector<int> litRows;
    for (int y = 250; y < 330; ++y) {
        if (litPixels(98, y, 106, y + 1) > 0) {
            litRows.push_back(y);
        }
    }
    ASSERT_FALSE(litRows.empty());
    int secondBottom = litRows.front(), firstBottom = -1;
    for (size_t i = 1; i < litRows.size(); ++i) {
        if (litRows[i] > litRows[i - 1] + 1) {
            firstBottom = litRows[i];
        }
    }
    ASSERT_NE(firstBottom, -1) << "two separate lines";
    EXPECT_NEAR(firstBottom - secondBottom, 12 / 0.63, 1.0);
    EXPECT_NEAR(firstBottom, 300, 1);

    // Bytes 128-255 have no glyph: the second font's lists, which follow the first's, never show.
    glClear(GL_COLOR_BUFFER_BIT);
    mRenderer.begin2D();
    drawText(font, 100, 300, "\xC9\xE9\xFF");
    drawText(nullptr, 100, 300, "I");
    mRenderer.end2D();
    EXPECT_EQ(litPixels(0, 0, 800, 600), 0);
}

TEST_F(Overlay, UnusableFontsAreReportedAndSkipped)
{
    testing::internal::CaptureStderr();
    mRenderer.initOverlay(mGraph);  // no collection file at all
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("fontCollection.txt: cannot be opened"), std::string::npos) << said;
    EXPECT_TRUE(mRenderer.getFonts().empty());

    collection("\nAssets/Fonts/missing.ttf 20\n\n" + std::string(kFontFile) + " 16\n");
    writeFile("Assets/Fonts/notafont.ttf", "not a font");
    testing::internal::CaptureStderr();
    mRenderer.initOverlay(mGraph);
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("missing.ttf"), std::string::npos) << said;
    ASSERT_EQ(mRenderer.getFonts().size(), 1u);
    EXPECT_EQ(mRenderer.getFonts()[0]->getSize(), 16);
    EXPECT_EQ(findValue("timeUpdate"), &mRenderer.getTimeValue());
    {
        cOglRenderer gone;
        gone.initOverlay(mGraph);
        EXPECT_EQ(findValue("timeUpdate"), &gone.getTimeValue());
    }
    EXPECT_EQ(findValue("timeUpdate"), nullptr);  // no pointer left to a renderer that is gone
}

TEST_F(Overlay, ItemsDrawTextImagesAndBars)
{
    collection(std::string(kFontFile) + " 20\n");
    cOverlay& overlay = mGraph.getOverlay();
    cOverlayValue five{0, 0.0f, 5, {}};
    cOverlayValue words{2, 0.0f, 0, "HUD"};
    cOverlayItem& bar = overlay.addItem(0, kOverlayBar);
    bar.value = &five;
    bar.x = 100;
    bar.y = 100;
    bar.width = 200;
    bar.height = 20;
    bar.barMaximum = 10;
    bar.colour = cVec3f(1, 0, 0);
    bar.background = cVec3f(0, 0, 1);
    cOverlayItem& text = overlay.addItem(0, kOverlayText);
    text.value = &words;
    text.x = 400;
    text.y = 400;
    cOverlayItem& lost = overlay.addItem(0, kOverlayText);
    lost.value = &words;
    lost.x = 400;
    lost.y = 200;
    lost.fontIndex = 3;  // no such font: nothing drawn
    cOverlayItem& image = overlay.addItem(0, kOverlayImage);
    image.x = 600;
    image.y = 500;
    image.width = 50;
    image.height = 40;
    overlay.pages[0].push_back(nullptr);  // empty entries are skipped
    mRenderer.initOverlay(mGraph);
    EXPECT_EQ(mSystem.presents, 0);  // no loading page
    drawOverlayOnly();

    // The bar: 100 units of foreground over its 200-unit background.
    EXPECT_EQ(litPixels(100, 100, 200, 120), 100 * 20);
    EXPECT_EQ(litPixels(200, 100, 300, 120), 0);
    unsigned char blue[4] = {};
    glReadPixels(250, 110, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, blue);
    EXPECT_GT(blue[2], 250);
    EXPECT_GT(litPixels(400, 395, 460, 420), 40);  // "HUD" in white
    EXPECT_EQ(litPixels(380, 180, 480, 230), 0);
    EXPECT_EQ(litPixels(600, 500, 650, 540), 50 * 40);
    // The overlay leaves depth writes on and both matrix stacks as they were.
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);

    // No current page: nothing.
    overlay.currentPage = 1;
    drawOverlayOnly();
    EXPECT_EQ(litPixels(0, 0, 800, 600), 0);
}

TEST_F(Overlay, BlinkingItemsShareOneClock)
{
    cOverlay& overlay = mGraph.getOverlay();
    cOverlayValue full{0, 0.0f, 1, {}};
    for (float x : {100.0f, 300.0f}) {
        cOverlayItem& bar = overlay.addItem(0, kOverlayBar);
        bar.value = &full;
        bar.x = x;
        bar.y = 100;
        bar.width = 50;
        bar.height = 10;
        bar.barMaximum = 1;
        bar.colour = cVec3f(1, 1, 1);
        bar.blinkPeriod = 500;
    }
    std::vector<int> shown;
    for (uint32_t t = 5000; t <= 7000; t += 100) {
        mSystem.now = t;
        drawOverlayOnly();
        const bool left = red(120, 105) > 100, right = red(320, 105) > 100;
        EXPECT_EQ(left, right) << "at " << t;
        shown.push_back(left ? 1 : 0);
    }
    // Visible 0..500 ms, hidden the next 500, and so on: 1 1 1 1 1 | 1 0 0 0 0 | 0 1 1 1 1 ...
    const std::vector<int> want = {1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
    EXPECT_EQ(shown, want);
}

TEST_F(Overlay, LoadingPageShowsOnlyWhenItExists)
{
    cOverlay& overlay = mGraph.getOverlay();
    overlay.addItem(2, kOverlayImage);
    overlay.currentPage = 0;
    mRenderer.initOverlay(mGraph);  // three pages: no loading page to show
    EXPECT_EQ(mSystem.presents, 0);
    EXPECT_EQ(overlay.currentPage, 0);

    overlay.pages.resize(6);  // page 5 exists but is empty
    mRenderer.initOverlay(mGraph);
    EXPECT_EQ(mSystem.presents, 0);

    cOverlayItem& loading = overlay.addItem(5, kOverlayImage);
    loading.width = 800;
    loading.height = 600;
    mRenderer.initOverlay(mGraph);
    EXPECT_EQ(mSystem.presents, 2);
    EXPECT_EQ(overlay.currentPage, 5);
    EXPECT_EQ(litPixels(390, 290, 400, 300), 100);  // drawn between the two presents
}

TEST_F(Overlay, ConsoleDrawsOnlyWhenSwitchedOn)
{
    cMessageConsole& console = mRenderer.getConsole();
    console.lines[0] = "console line";
    mGraph.getOverlay().addItem(0, kOverlayText);
    drawOverlayOnly();
    EXPECT_EQ(litPixels(0, 150, 400, 400), 0);  // off, and its font is not built anyway
    ASSERT_TRUE(console.font.loadFont(kFontFile, 10));
    mRenderer.setConsoleVisible(true);
    drawOverlayOnly();
    EXPECT_GT(litPixels(8, 196, 200, 215), 20);
}

TEST_F(Overlay, TrackEditorDrawsMarkersAndTheSurfaceFollowsADrag)
{
    cTrackNode* track = mGraph.createTrackNode();
    mGraph.getRoot()->addChild(track);
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k <= 4; ++k) {
            cControllerKey key;
            key.time = k / 4.0f;
            const float angle = 1.5707963f * static_cast<float>(k % 4);
            const float r = 600.0f + 60.0f * static_cast<float>(c);
            key.value.set(r * std::cos(angle), 0.0f, r * std::sin(angle));
            track->getCurve(c).addKey(key);
        }
    }
    ASSERT_TRUE(track->generateSurface());
    track->getMaterial();
    track->getSurface()->getMaterial().getPrimitiveState().setCullMode(2);
    cCameraNode* camera = mGraph.getActiveCamera();
    camera->lookAtMode = true;
    camera->setLookAt(cVec3f(0, 0, 0), cVec3f(0, 1, 0));
    camera->setPosition(cVec3f(0, 1500, -1500));
    mRenderer.prepareSceneGraph(mGraph);
    cMouseState& mouse = getMouseState();
    mouse = cMouseState();

    const auto frame = [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mRenderer.drawFrame(mGraph, 0.0f);
    };
    track->getSurface()->setVisible(false);
    frame();
    const int withoutEditor = litPixels(0, 0, 800, 600);
    EXPECT_EQ(withoutEditor, 0);  // editing off: nothing but the (hidden) surface
    track->editing = true;
    frame();
    EXPECT_GT(litPixels(0, 0, 800, 600), 100);  // the markers: short white lines at 16 places
    track->getSurface()->setVisible(true);

    // Press on the key at (600, 0, 0), drag 20 pixels down the screen: the key goes down 100.
    const cVec4f eye = camera->getViewMatrix().transform(cVec4f(600, 0, 0, 1));
    const cVec4f clip = camera->getProjection().transform(eye);
    mouse.x = static_cast<int32_t>(std::lround((clip.x / clip.w + 1.0f) * 400.0f));
    mouse.y = static_cast<int32_t>(std::lround((1.0f - clip.y / clip.w) * 300.0f));
    mouse.button = true;
    frame();
    ASSERT_EQ(track->selectedCurve, 0);
    const int32_t slot = track->getSurface()->getVertexBufferSlot();
    ASSERT_GE(slot, 0);
    const std::vector<cVec3f> before = track->getSurface()->getPositions();
    mouse.y += 20;
    frame();
    EXPECT_FLOAT_EQ(track->getCurve(0).getKey(track->selectedKey)->value.y, -100.0f);
    EXPECT_EQ(track->getSurface()->getVertexBufferSlot(), slot);  // refreshed in place

    // What GL draws from is the regenerated mesh.
    const cVertexBufferSet* set = mRenderer.vertexBufferSet(slot);
    ASSERT_NE(set, nullptr);
    const auto& positions = track->getSurface()->getPositions();
    std::vector<cVec3f> uploaded(positions.size());
    glBindBuffer(GL_ARRAY_BUFFER, set->positions);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(uploaded.size() * sizeof(cVec3f)), uploaded.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    size_t moved = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        ASSERT_FLOAT_EQ(uploaded[i].y, positions[i].y) << "vertex " << i;
        moved += positions[i].y != before[i].y ? 1 : 0;
    }
    EXPECT_GT(moved, 41u);

    mouse.button = false;
    frame();
    EXPECT_EQ(track->selectedCurve, -1);
    mouse = cMouseState();
}
