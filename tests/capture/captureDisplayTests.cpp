// Frames captured from the real renderer: what the show puts on screen at chosen moments, that a
// frame captures the same twice, and the benchmark's report. Short ranges only.
#include "resources/cPngLoader.h"
#include "tests/support/childProcess.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <thread>

#include <signal.h>

namespace {

using qvr::test::cScratchDir;

// Runs the capture tool on the generated run directory; returns its exit status.
int capture(const cScratchDir& scratch, const std::vector<std::string>& args)
{
    std::vector<std::string> all = {"--run-dir", QVR_RUN_DIR};
    all.insert(all.end(), args.begin(), args.end());
    qvr::test::cChildProcess tool({QVR_CAPTURE_BIN, "", {}, true, scratch.file("out"), scratch.file("err"), all});
    return tool.wait(std::chrono::seconds(120));
}

struct cRgbFrame {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};

cRgbFrame frameAt(const cScratchDir& scratch, int32_t ms, bool hud = false)
{
    const std::string path = scratch.file("at" + std::to_string(ms) + (hud ? "hud" : "") + ".png");
    std::vector<std::string> args = {"--at", std::to_string(ms), "-o", path};
    if (hud) {
        args.push_back("--hud");
    }
    EXPECT_EQ(capture(scratch, args), 0) << qvr::test::readFile(scratch.file("err"));
    cRgbFrame image;
    qvr::cPngLoader loader;
    const qvr::cImage loaded = loader.load(path);
    image.width = loaded.width;
    image.height = loaded.height;
    const int32_t channels = loaded.bytesPerPixel;
    for (int32_t i = 0; i < loaded.width * loaded.height; ++i) {
        for (int32_t c = 0; c < 3; ++c) {
            image.rgb.push_back(loaded.pixels[static_cast<size_t>(i * channels + c)]);
        }
    }
    return image;
}

// Standard deviation of the brightness, 0..255.
double spread(const cRgbFrame& image)
{
    double sum = 0.0, squares = 0.0;
    const size_t n = image.rgb.size() / 3;
    for (size_t i = 0; i < n; ++i) {
        const double v = (image.rgb[3 * i] + image.rgb[3 * i + 1] + image.rgb[3 * i + 2]) / 3.0;
        sum += v;
        squares += v * v;
    }
    const double mean = sum / static_cast<double>(n);
    return std::sqrt(std::max(0.0, squares / static_cast<double>(n) - mean * mean));
}

// Share of pixels whose channels differ by more than 16 between two frames.
double difference(const cRgbFrame& a, const cRgbFrame& b)
{
    size_t differing = 0;
    for (size_t i = 0; i + 2 < a.rgb.size() && i + 2 < b.rgb.size(); i += 3) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(a.rgb[i + c] - b.rgb[i + c]) > 16) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(a.rgb.size() / 3);
}

} // namespace

TEST(Capture, FramesShowWhatTheScheduleSays)
{
    cScratchDir scratch;
    const cRgbFrame fadeCut = frameAt(scratch, 7800);
    ASSERT_EQ(fadeCut.width, 800);
    ASSERT_EQ(fadeCut.height, 600);
    EXPECT_LT(spread(fadeCut), 6.0);  // the fade colour covers the picture
    const cRgbFrame sculptureFade = frameAt(scratch, 54300);
    EXPECT_LT(spread(sculptureFade), 6.0);
    EXPECT_LT(difference(fadeCut, sculptureFade), 0.01);  // the same colour

    const cRgbFrame title = frameAt(scratch, 1000);
    const cRgbFrame street = frameAt(scratch, 20000);
    EXPECT_GT(difference(title, street), 0.05);  // the title is gone by then
    const cRgbFrame sculpture = frameAt(scratch, 45000);
    const cRgbFrame ice = frameAt(scratch, 95000);
    const cRgbFrame closing = frameAt(scratch, 175000);
    for (const cRgbFrame* other : {&street, &sculpture, &ice, &closing}) {
        EXPECT_GT(difference(title, *other), 0.02);
    }
    EXPECT_GT(difference(sculpture, ice), 0.02);
    EXPECT_GT(difference(ice, closing), 0.02);

    // The same moment captured again is the same, pixel for pixel.
    const cRgbFrame again = frameAt(scratch, 20000);
    EXPECT_EQ(again.rgb, street.rgb);
}

// Pixels of a frame (rows top first) inside a box, as a sub-frame.
cRgbFrame crop(const cRgbFrame& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    cRgbFrame part;
    part.width = x1 - x0;
    part.height = y1 - y0;
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
            for (int32_t c = 0; c < 3; ++c) {
                part.rgb.push_back(image.rgb[static_cast<size_t>((y * image.width + x) * 3 + c)]);
            }
        }
    }
    return part;
}

TEST(Capture, HudShowsTimeSceneCostAndProgressOverTheFrame)
{
    cScratchDir scratch;
    const cRgbFrame plain = frameAt(scratch, 45000);
    const cRgbFrame hud = frameAt(scratch, 45000, true);
    // Above the band the picture is untouched; the band along the bottom carries the text.
    EXPECT_LT(difference(crop(plain, 0, 0, 800, 560), crop(hud, 0, 0, 800, 560)), 0.001);
    const cRgbFrame band = crop(hud, 0, 572, 800, 594);
    EXPECT_GT(spread(band), 12.0);  // text on the dark band, not a flat strip
    EXPECT_GT(spread(crop(hud, 8, 572, 70, 594)), 20.0);      // the time
    EXPECT_GT(spread(crop(hud, 92, 572, 200, 594)), 20.0);    // the scene's name
    EXPECT_GT(spread(crop(hud, 636, 572, 790, 594)), 20.0);   // the frame cost
    // The progress bar: lantern up to 45 / 184 of the width, the dark track after it.
    const cRgbFrame bar = crop(hud, 0, 597, 800, 598);
    const auto red = [&](int32_t x) { return bar.rgb[static_cast<size_t>(x * 3)]; };
    EXPECT_GT(red(150), 200);
    EXPECT_GT(red(190), 200);
    EXPECT_LT(red(200), 60);
    EXPECT_LT(red(700), 60);
    // Another moment writes other text: a later time and another scene.
    const cRgbFrame later = frameAt(scratch, 95000, true);
    EXPECT_GT(difference(crop(hud, 0, 572, 400, 594), crop(later, 0, 572, 400, 594)), 0.01);
}

TEST(Capture, FramesAndBenchmarkCoverTheirRange)
{
    cScratchDir scratch;
    ASSERT_EQ(capture(scratch, {"--frames", scratch.file("frames"), "--from", "9000", "--to", "10000"}), 0)
        << qvr::test::readFile(scratch.file("err"));
    size_t frames = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.file("frames"))) {
        frames += entry.path().extension() == ".png";
    }
    EXPECT_EQ(frames, 30u);
    EXPECT_TRUE(std::filesystem::exists(scratch.file("frames/frame_00029.png")));

    ASSERT_EQ(capture(scratch, {"--benchmark", "--from", "37000", "--to", "41000", "--json", scratch.file("b.json")}), 0)
        << qvr::test::readFile(scratch.file("err"));
    const std::string table = qvr::test::readFile(scratch.file("out"));
    EXPECT_NE(table.find("\n0 ms "), std::string::npos) << table;
    EXPECT_NE(table.find("\n39000 ms "), std::string::npos) << table;
    EXPECT_NE(table.find("start-up"), std::string::npos) << table;
    const std::string json = qvr::test::readFile(scratch.file("b.json"));
    EXPECT_NE(json.find("\"fromMs\": 39000, \"frames\": 60"), std::string::npos) << json;
    EXPECT_NE(json.find("\"toMs\": 41000"), std::string::npos) << json;
    EXPECT_EQ(std::count(json.begin(), json.end(), '{'), std::count(json.begin(), json.end(), '}'));

    ASSERT_EQ(capture(scratch, {"--benchmark", "--to", "10000", "--json", scratch.file("all.json")}), 0);
    const std::string whole = qvr::test::readFile(scratch.file("all.json"));
    EXPECT_NE(whole.find("\"total\": {\"frames\": 300,"), std::string::npos) << whole;
    EXPECT_NE(whole.find("\"toMs\": 10000"), std::string::npos) << whole;
}

TEST(Capture, VideoHasPictureAndSoundAndNoPartialFileRemains)
{
    cScratchDir scratch;
    const std::string video = scratch.file("show.mp4");
    ASSERT_EQ(capture(scratch, {"--video", video, "--from", "38000", "--to", "40000"}), 0)
        << qvr::test::readFile(scratch.file("err"));
    ASSERT_TRUE(std::filesystem::exists(video));
    EXPECT_FALSE(std::filesystem::exists(video + ".partial"));
    std::system(("ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,pix_fmt "
                 "-show_entries format=duration -of default=nw=1 '" + video + "' > '" + scratch.file("probe") + "'")
                    .c_str());
    const std::string probe = qvr::test::readFile(scratch.file("probe"));
    EXPECT_NE(probe.find("codec_name=h264"), std::string::npos) << probe;
    EXPECT_NE(probe.find("pix_fmt=yuv420p"), std::string::npos) << probe;
    EXPECT_NE(probe.find("codec_type=audio"), std::string::npos) << probe;
    EXPECT_NE(probe.find("width=800"), std::string::npos) << probe;
    const size_t at = probe.find("duration=");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NEAR(std::atof(probe.c_str() + at + 9), 2.0, 0.1);
}

TEST(Capture, AnInterruptedVideoLeavesNoFile)
{
    cScratchDir scratch;
    const std::string video = scratch.file("show.mp4");
    qvr::test::cChildProcess tool({QVR_CAPTURE_BIN, "", {}, true, scratch.file("out"), scratch.file("err"),
                                   {"--run-dir", QVR_RUN_DIR, "--video", video}});
    // Wait until encoding is under way, then interrupt.
    for (int i = 0; i < 200 && !std::filesystem::exists(video + ".partial"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(std::filesystem::exists(video + ".partial"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    tool.sendSignal(SIGINT);
    EXPECT_EQ(tool.wait(std::chrono::seconds(30)), 2);
    EXPECT_NE(qvr::test::readFile(scratch.file("err")).find("interrupted"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(video));
    EXPECT_FALSE(std::filesystem::exists(video + ".partial"));
}
