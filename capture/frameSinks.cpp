// The frame sinks: PNG files, the ffmpeg pipe, the single frame and the contact sheet.
#include "capture/frameSinks.h"

#include "resources/pngWriter.h"

#include <array>
#include <cstdlib>
#include <filesystem>

namespace capture {

namespace {

class cPngFramesSink : public cFrameSink {
public:
    explicit cPngFramesSink(std::string dir) : mDir(std::move(dir)) {}
    bool take(const cFrame& frame) override
    {
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%05d.png", mNext++);
        return qvr::writePngFile(mDir + name, frame.width, frame.height, 3, frame.rgb.data());
    }
    bool finish() override { return true; }

private:
    std::string mDir;
    int32_t mNext = 0;
};

class cSinglePngSink : public cFrameSink {
public:
    explicit cSinglePngSink(std::string path) : mPath(std::move(path)) {}
    bool take(const cFrame& frame) override
    {
        return qvr::writePngFile(mPath, frame.width, frame.height, 3, frame.rgb.data());
    }
    bool finish() override { return true; }

private:
    std::string mPath;
};

// Raw RGB frames into ffmpeg, which encodes H.264 into a temporary file beside the final one and
// muxes the music from the capture's start; the file gets its name only when ffmpeg succeeded.
class cVideoSink : public cFrameSink {
public:
    cVideoSink(const cCaptureOptions& options, int32_t width, int32_t height)
        : mFinal(options.output), mTemporary(options.output + ".partial")
    {
        const bool music = std::filesystem::exists("tideglass.mp3");
        if (!music) {
            std::fprintf(stderr, "quorvane-capture: no tideglass.mp3 in the run directory; the video has no sound\n");
        }
        char offset[32];
        std::snprintf(offset, sizeof offset, "%.3f", options.fromMs / 1000.0);
        std::string command = "ffmpeg -hide_banner -loglevel error -y -f rawvideo -pix_fmt rgb24 -s " +
                              std::to_string(width) + "x" + std::to_string(height) + " -framerate " +
                              std::to_string(options.fps) + " -i -";
        if (music) {
            command += std::string(" -ss ") + offset + " -i tideglass.mp3 -map 0:v -map 1:a -c:a aac -b:a 192k";
        }
        command += " -c:v libx264 -preset veryfast -crf 18 -pix_fmt yuv420p -shortest -movflags +faststart -f mp4 '" +
                   mTemporary + "'";
        mPipe = popen(command.c_str(), "w");
    }
    ~cVideoSink() override { abort(); }
    bool take(const cFrame& frame) override
    {
        return mPipe && std::fwrite(frame.rgb.data(), 1, frame.rgb.size(), mPipe) == frame.rgb.size();
    }
    bool finish() override
    {
        if (!mPipe) {
            return false;
        }
        const int status = pclose(mPipe);
        mPipe = nullptr;
        std::error_code error;
        if (status == 0) {
            std::filesystem::rename(mTemporary, mFinal, error);
        }
        if (status != 0 || error) {
            std::filesystem::remove(mTemporary, error);
            return false;
        }
        return true;
    }
    void abort() override
    {
        if (mPipe) {
            pclose(mPipe);
            mPipe = nullptr;
        }
        std::error_code ignored;
        std::filesystem::remove(mTemporary, ignored);
    }

private:
    std::string mFinal;
    std::string mTemporary;
    FILE* mPipe = nullptr;
};

// Glyphs 3 wide and 5 high for the labels: digits, ':' and '.'; a bit per pixel, rows top first.
uint16_t glyphBits(char c)
{
    static const std::array<uint16_t, 10> digits = {0x7B6F, 0x2C97, 0x73E7, 0x73CF, 0x5BC9,
                                                    0x79CF, 0x79EF, 0x7249, 0x7BEF, 0x7BCF};
    if (c >= '0' && c <= '9') {
        return digits[static_cast<size_t>(c - '0')];
    }
    return c == ':' ? 0x0410 : c == '.' ? 0x0002 : 0;
}

class cSheetSink : public cFrameSink {
public:
    static constexpr int32_t kThumbWidth = 200;
    static constexpr int32_t kThumbHeight = 150;
    static constexpr int32_t kColumns = 5;
    static constexpr int32_t kGap = 4;

    explicit cSheetSink(std::string path) : mPath(std::move(path)) {}
    bool take(const cFrame& frame) override
    {
        mThumbs.push_back(shrink(frame));
        label(mThumbs.back(), formatDemoTime(frame.demoMs));
        return true;
    }
    bool finish() override
    {
        if (mThumbs.empty()) {
            return false;
        }
        const int32_t count = static_cast<int32_t>(mThumbs.size());
        const int32_t columns = count < kColumns ? count : kColumns;
        const int32_t rows = (count + kColumns - 1) / kColumns;
        const int32_t width = columns * (kThumbWidth + kGap) + kGap;
        const int32_t height = rows * (kThumbHeight + kGap) + kGap;
        std::vector<uint8_t> sheet(static_cast<size_t>(width) * height * 3, 24);
        for (int32_t i = 0; i < count; ++i) {
            const int32_t x0 = kGap + (i % kColumns) * (kThumbWidth + kGap);
            const int32_t y0 = kGap + (i / kColumns) * (kThumbHeight + kGap);
            for (int32_t y = 0; y < kThumbHeight; ++y) {
                const uint8_t* src = &mThumbs[static_cast<size_t>(i)][static_cast<size_t>(y * kThumbWidth * 3)];
                std::copy(src, src + kThumbWidth * 3, &sheet[static_cast<size_t>(((y0 + y) * width + x0) * 3)]);
            }
        }
        return qvr::writePngFile(mPath, width, height, 3, sheet.data());
    }

private:
    // Box-filtered down to the thumbnail size.
    static std::vector<uint8_t> shrink(const cFrame& frame)
    {
        std::vector<uint8_t> thumb(static_cast<size_t>(kThumbWidth) * kThumbHeight * 3);
        for (int32_t y = 0; y < kThumbHeight; ++y) {
            for (int32_t x = 0; x < kThumbWidth; ++x) {
                const int32_t sx0 = x * frame.width / kThumbWidth, sx1 = (x + 1) * frame.width / kThumbWidth;
                const int32_t sy0 = y * frame.height / kThumbHeight, sy1 = (y + 1) * frame.height / kThumbHeight;
                for (int32_t c = 0; c < 3; ++c) {
                    int32_t sum = 0;
                    for (int32_t sy = sy0; sy < sy1; ++sy) {
                        for (int32_t sx = sx0; sx < sx1; ++sx) {
                            sum += frame.rgb[static_cast<size_t>((sy * frame.width + sx) * 3 + c)];
                        }
                    }
                    const int32_t n = (sx1 - sx0) * (sy1 - sy0);
                    thumb[static_cast<size_t>((y * kThumbWidth + x) * 3 + c)] = static_cast<uint8_t>(n ? sum / n : 0);
                }
            }
        }
        return thumb;
    }

    // The text in white 2 x 2 pixels per glyph pixel on a black band at the bottom left.
    static void label(std::vector<uint8_t>& thumb, const std::string& text)
    {
        const int32_t bandHeight = 14;
        const int32_t bandWidth = static_cast<int32_t>(text.size()) * 8 + 4;
        for (int32_t y = kThumbHeight - bandHeight; y < kThumbHeight; ++y) {
            for (int32_t x = 0; x < bandWidth && x < kThumbWidth; ++x) {
                for (int32_t c = 0; c < 3; ++c) {
                    thumb[static_cast<size_t>((y * kThumbWidth + x) * 3 + c)] = 0;
                }
            }
        }
        for (size_t i = 0; i < text.size(); ++i) {
            const uint16_t bits = glyphBits(text[i]);
            for (int32_t gy = 0; gy < 5; ++gy) {
                for (int32_t gx = 0; gx < 3; ++gx) {
                    if (!(bits & (1u << (14 - (gy * 3 + gx))))) {
                        continue;
                    }
                    for (int32_t p = 0; p < 4; ++p) {
                        const int32_t x = 2 + static_cast<int32_t>(i) * 8 + gx * 2 + p % 2;
                        const int32_t y = kThumbHeight - bandHeight + 2 + gy * 2 + p / 2;
                        for (int32_t c = 0; c < 3; ++c) {
                            thumb[static_cast<size_t>((y * kThumbWidth + x) * 3 + c)] = 255;
                        }
                    }
                }
            }
        }
    }

    std::string mPath;
    std::vector<std::vector<uint8_t>> mThumbs;
};

} // namespace

std::string formatDemoTime(int32_t demoMs)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d.%d", demoMs / 60000, demoMs / 1000 % 60, demoMs / 100 % 10);
    return text;
}

std::unique_ptr<cFrameSink> makeFrameSink(const cCaptureOptions& options, int32_t width, int32_t height)
{
    switch (options.mode) {
    case eMode::kFrames:
        return std::make_unique<cPngFramesSink>(options.output);
    case eMode::kVideo:
        return std::make_unique<cVideoSink>(options, width, height);
    case eMode::kSingle:
        return std::make_unique<cSinglePngSink>(options.output);
    case eMode::kSheet:
        return std::make_unique<cSheetSink>(options.output);
    default:
        return nullptr;
    }
}

} // namespace capture
