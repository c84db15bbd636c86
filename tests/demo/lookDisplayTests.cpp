// The show's look, drawn by the real renderer: every material and GLSL program of the run
// directory in use, frames of every scene neither black, flat nor in the fallback colour, the
// bloom and the water's mirror visibly taking part, the title city's letters on its blocks.
#include "core/cInputSystemSDL.h"
#include "demo/demoState.h"
#include "demo/sceneToolkit.h"
#include "demo/timeline.h"
#include "render/cNullRenderer.h"
#include "render/cOglRenderer.h"
#include "render/frameReadback.h"
#include "resources/cResourceManger.h"
#include "tests/support/glTestContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

using namespace qvr;

namespace {

class cScriptedClock : public cSystemWrapper {
public:
    void present() override {}
    void setDefaultClearColor() override {}
    int32_t getFrameTimeMs() override { return 33; }
};

class cNoKeys : public cKeySource {
public:
    bool queryKey(eInputKey) override { return false; }
};

using cPixels = std::vector<uint8_t>;

// The whole show built into a fresh scene graph with a GL renderer of its own; frames are run in
// time order, drawn only close to the moments looked at.
class cLookWorld {
public:
    cLookWorld()
    {
        if (chdir(QVR_RUN_DIR) != 0 || !gl.ok()) {
            return;
        }
        demo::resetDemo();
        getResourceManager().loadResourceList("Assets/Data/resources.dat");
        demo::setDemoServices({&graph, &renderer, &input});
        demo::setTimelineClock(&clock);
        demo::setTimelineExit([](int) {});
        demo::buildShow();
        ready = true;
    }
    ~cLookWorld()
    {
        demo::setDemoServices({});
        demo::setTimelineClock(nullptr);
        demo::setTimelineExit(nullptr);
        demo::resetDemo();
    }

    // Runs 33 ms frames until the demo clock reaches ms; the last frames are drawn.
    cPixels runTo(int32_t ms)
    {
        while (demo::demoTimeMs + 33 < ms || !started) {
            const bool near = demo::demoTimeMs + 4 * 33 >= ms;
            demo::setDemoServices({&graph, near ? static_cast<cRenderer*>(&renderer) : &skip, &input});
            demo::updateTimeline();
            started = true;
        }
        demo::setDemoServices({&graph, &renderer, &input});
        demo::updateTimeline();
        return read();
    }

    // The frame drawn again as it stands.
    cPixels redraw()
    {
        renderer.clearFrame();
        renderer.drawFrame(graph, 0.0f);
        return read();
    }

    test::cGlTestContext gl;
    cScenegraph graph;
    cOglRenderer renderer;
    cNullRenderer skip;
    cNoKeys keys;
    cInputSystemSDL input{&keys};
    cScriptedClock clock;
    bool ready = false;

private:
    cPixels read()
    {
        finishGl();
        cPixels rgb;
        readFramebuffer(800, 600, rgb);
        return rgb;
    }
    bool started = false;
};

struct cStats {
    double mean = 0.0;
    double spread = 0.0;
    size_t fallback = 0;
};

cStats statsOf(const cPixels& rgb)
{
    cStats s;
    double squares = 0.0;
    const size_t n = rgb.size() / 3;
    for (size_t i = 0; i < n; ++i) {
        const int r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
        const double v = (r + g + b) / 3.0;
        s.mean += v;
        squares += v * v;
        // The renderer's fallback colour (0.4, 0.1, 0.3).
        s.fallback += std::abs(r - 102) <= 2 && std::abs(g - 26) <= 2 && std::abs(b - 77) <= 2;
    }
    s.mean /= static_cast<double>(n);
    s.spread = std::sqrt(std::max(0.0, squares / static_cast<double>(n) - s.mean * s.mean));
    return s;
}

size_t differing(const cPixels& a, const cPixels& b)
{
    size_t count = 0;
    for (size_t i = 0; i + 2 < a.size(); i += 3) {
        count += std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]) > 24;
    }
    return count;
}

// Every program the graph's materials and the post-processing chain use, linked.
void expectLinkedPrograms(cLookWorld& world)
{
    std::vector<cMaterial*> materials;
    visitPreOrder(world.graph.getRoot(), [&](cSpatialNode* node) {
        if (cSpatialNode::cMaterialList* list = node->getMaterials()) {
            for (cMaterial& m : *list) {
                materials.push_back(&m);
            }
        }
        return true;
    });
    for (cPostProcessStep& step : world.graph.getPostProcessChain()) {
        materials.push_back(&step.material);
    }
    size_t withModules = 0;
    for (cMaterial* m : materials) {
        const cShaderState& shader = m->getShaderState();
        if (shader.vertexModules().empty()) {
            continue;
        }
        ++withModules;
        const cProgramRecord* record = world.renderer.programRecord(shader.getProgramId());
        ASSERT_NE(record, nullptr) << shader.vertexModules().back();
        GLint linked = 0;
        glGetProgramiv(record->program, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE) << shader.vertexModules().back() << " + " << shader.fragmentModules().back();
    }
    EXPECT_GT(withModules, 40u);
}

} // namespace

TEST(Look, EverySceneIsDrawnInItsOwnColoursWithBloomMirrorAndLetters)
{
    cLookWorld world;
    ASSERT_TRUE(world.ready) << world.gl.error();
    expectLinkedPrograms(world);

    struct cMoment {
        int32_t ms;
        const char* scene;
    };
    const cMoment moments[] = {{1000, "title"},       {12000, "snake city"}, {30000, "snake"},
                               {45000, "sculpture"},  {60000, "rain"},       {80000, "cloud"},
                               {95000, "ice tree"},   {115000, "corridor"},  {150000, "tubes"},
                               {172000, "title city"}};
    for (const cMoment& moment : moments) {
        const cPixels frame = world.runTo(moment.ms);
        const cStats s = statsOf(frame);
        std::printf("%-10s mean %5.1f spread %5.1f\n", moment.scene, s.mean, s.spread);
        EXPECT_EQ(s.fallback, 0u) << moment.scene;
        EXPECT_GT(s.mean, 4.0) << moment.scene;
        EXPECT_GT(s.spread, 6.0) << moment.scene;

        if (moment.ms == 45000 || moment.ms == 172000) {
            // The bloom: the same frame without the post-processing steps.
            std::vector<int32_t> steps = world.graph.getPostProcessSteps();
            world.graph.getPostProcessSteps().clear();
            const cPixels plain = world.redraw();
            world.graph.getPostProcessSteps() = steps;
            std::printf("  glow changes %zu pixels\n", differing(frame, plain));
            EXPECT_GT(differing(frame, plain), 2000u) << moment.scene << ": the glow adds nothing";
            // The mirror: the same frame with nothing drawn into the reflection target.
            cRenderPass& mirror = demo::reflectionPass();
            auto include = mirror.include;
            mirror.include.clear();
            const cPixels unmirrored = world.redraw();
            mirror.include = include;
            std::printf("  the mirror changes %zu pixels\n", differing(frame, unmirrored));
            EXPECT_GT(differing(frame, unmirrored), 2000u) << moment.scene << ": the water shows no reflection";
        }
        if (moment.ms == 172000) {
            // Letters of the glyph strip on the blocks: bright lantern-coloured pixels.
            size_t letters = 0;
            for (size_t i = 0; i + 2 < frame.size(); i += 3) {
                letters += frame[i] > 235 && frame[i + 1] > 150 && frame[i + 2] < 200;
            }
            std::printf("  %zu letter pixels\n", letters);
            EXPECT_GT(letters, 500u);
        }
    }
}
