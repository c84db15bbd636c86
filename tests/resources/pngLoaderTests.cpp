// PNG decoding of every colour type and depth, and of broken files.
#include "resources/cPngLoader.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <vector>

using qvr::cImage;
using qvr::cPngLoader;
using qvr::test::cScratchDir;
using qvr::test::readFile;
using qvr::test::writeFile;

namespace {

struct cPngSample {
    uint32_t width = 0;
    uint32_t height = 0;
    int colorType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    int interlace = PNG_INTERLACE_NONE;
    size_t rowBytes = 0;
    std::vector<uint8_t> pixels;  // rows top first, rowBytes each, as the file stores them
    uint8_t lastByteMask = 0xFF;   // the pixel bits of each row's last byte
};

// A deterministic image of the given format whose every byte depends on its position.
cPngSample makeSpec(uint32_t width, uint32_t height, int colorType, int bitDepth)
{
    cPngSample sample;
    sample.width = width;
    sample.height = height;
    sample.colorType = colorType;
    sample.bitDepth = bitDepth;
    int channels = 1;
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: channels = 2; break;
    case PNG_COLOR_TYPE_RGB: channels = 3; break;
    case PNG_COLOR_TYPE_RGBA: channels = 4; break;
    default: break;
    }
    sample.rowBytes = (static_cast<size_t>(width) * channels * bitDepth + 7) / 8;
    sample.pixels.resize(sample.rowBytes * height);
    for (size_t i = 0; i < sample.pixels.size(); ++i) {
        sample.pixels[i] = static_cast<uint8_t>((i * 7 + i / sample.rowBytes * 13) & 0xFF);
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE && bitDepth == 8) {
        for (uint8_t& index : sample.pixels) {
            index %= 16;
        }
    }
    if (bitDepth < 8) {
        const size_t bits = static_cast<size_t>(width) * channels * bitDepth;
        if (bits % 8 != 0) {
            sample.lastByteMask = static_cast<uint8_t>(0xFF << (8 - bits % 8));
        }
    }
    return sample;
}

void writePng(const std::string& path, const cPngSample& sample)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp write = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(write);
    if (setjmp(png_jmpbuf(write))) {
        png_destroy_write_struct(&write, &info);
        std::fclose(file);
        FAIL() << "libpng could not write " << path;
    }
    png_init_io(write, file);
    png_set_IHDR(write, info, sample.width, sample.height, sample.bitDepth, sample.colorType,
                 sample.interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(16);
    if (sample.colorType == PNG_COLOR_TYPE_PALETTE) {
        for (size_t i = 0; i < palette.size(); ++i) {
            palette[i] = {static_cast<png_byte>(i * 16), 0, static_cast<png_byte>(255 - i)};
        }
        png_set_PLTE(write, info, palette.data(), static_cast<int>(palette.size()));
    }
    png_write_info(write, info);
    std::vector<png_bytep> rows(sample.height);
    for (uint32_t r = 0; r < sample.height; ++r) {
        rows[r] = const_cast<png_bytep>(sample.pixels.data() + r * sample.rowBytes);
    }
    png_write_image(write, rows.data());
    png_write_end(write, nullptr);
    png_destroy_write_struct(&write, &info);
    std::fclose(file);
}

void expectImage(const cImage& image, const cPngSample& sample, int bytesPerPixel)
{
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.width, static_cast<int32_t>(sample.width));
    EXPECT_EQ(image.height, static_cast<int32_t>(sample.height));
    EXPECT_EQ(image.reserved, 0);
    EXPECT_EQ(image.bytesPerPixel, bytesPerPixel);
    // Bits past the last pixel of a row carry no data; compare only pixel bits.
    size_t mismatches = 0;
    for (size_t i = 0; i < sample.pixels.size(); ++i) {
        const uint8_t mask = (i % sample.rowBytes == sample.rowBytes - 1) ? sample.lastByteMask : 0xFF;
        mismatches += ((image.pixels[i] ^ sample.pixels[i]) & mask) != 0;
    }
    EXPECT_EQ(mismatches, 0u);
}

void expectEmpty(const cImage& image)
{
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.bytesPerPixel, 0);
}

// Offset of the first byte of the first chunk of the given type, or 0.
size_t findChunk(const std::string& file, const char* type)
{
    const size_t at = file.find(type, 8);
    return at == std::string::npos ? 0 : at - 4;
}

class PngLoader : public ::testing::Test {
protected:
    std::string write(const std::string& name, const cPngSample& sample)
    {
        const std::string path = mDir.file(name);
        writePng(path, sample);
        return path;
    }

    cScratchDir mDir;
    cPngLoader mLoader;
};

} // namespace

TEST_F(PngLoader, Rgba8KeepsRowsInFileOrder)
{
    const cPngSample sample = makeSpec(256, 128, PNG_COLOR_TYPE_RGBA, 8);
    const cImage image = mLoader.load(write("rgba.png", sample));
    expectImage(image, sample, 4);
    EXPECT_EQ(sample.pixels.size(), 131072u);
    // The first bytes in memory are the top row's first pixel.
    EXPECT_EQ(image.pixels[4 * 256], sample.pixels[1024]);
}

TEST_F(PngLoader, EightBitFormatsStayUnconverted)
{
    const struct {
        int colorType;
        int bytesPerPixel;
    } formats[] = {
        {PNG_COLOR_TYPE_RGB, 3},
        {PNG_COLOR_TYPE_GRAY, 1},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 2},
        {PNG_COLOR_TYPE_PALETTE, 1},  // indices, not colours
    };
    for (const auto& format : formats) {
        SCOPED_TRACE(format.colorType);
        const cPngSample sample = makeSpec(33, 17, format.colorType, 8);
        expectImage(mLoader.load(write("img.png", sample)), sample, format.bytesPerPixel);
    }
}

TEST_F(PngLoader, SixteenBitSamplesStaySixteenBit)
{
    const cPngSample rgb = makeSpec(20, 10, PNG_COLOR_TYPE_RGB, 16);
    expectImage(mLoader.load(write("rgb16.png", rgb)), rgb, 6);
    const cPngSample rgba = makeSpec(20, 10, PNG_COLOR_TYPE_RGBA, 16);
    expectImage(mLoader.load(write("rgba16.png", rgba)), rgba, 8);
}

TEST_F(PngLoader, SubBytePixelsGiveZeroBytesPerPixel)
{
    const cPngSample grey1 = makeSpec(37, 5, PNG_COLOR_TYPE_GRAY, 1);
    expectImage(mLoader.load(write("grey1.png", grey1)), grey1, 0);
    const cPngSample palette4 = makeSpec(9, 4, PNG_COLOR_TYPE_PALETTE, 4);
    expectImage(mLoader.load(write("pal4.png", palette4)), palette4, 0);
}

TEST_F(PngLoader, InterlacedImagesComeOutDeinterlaced)
{
    cPngSample sample = makeSpec(19, 23, PNG_COLOR_TYPE_RGB, 8);
    sample.interlace = PNG_INTERLACE_ADAM7;
    expectImage(mLoader.load(write("adam7.png", sample)), sample, 3);
}

TEST_F(PngLoader, UnreadableFilesGiveEmptyImagesWithTheirStatus)
{
    EXPECT_EQ(mLoader.readPng(mDir.file("missing.png")), qvr::kPngCannotOpen);
    expectEmpty(mLoader.load(mDir.file("missing.png")));

    writeFile(mDir.file("text.png"), "this is not a PNG file at all");
    EXPECT_EQ(mLoader.readPng(mDir.file("text.png")), qvr::kPngNoSignature);
    expectEmpty(mLoader.load(mDir.file("text.png")));

    writeFile(mDir.file("short.png"), "\x89PN");
    EXPECT_EQ(mLoader.readPng(mDir.file("short.png")), qvr::kPngNoSignature);
    expectEmpty(mLoader.load(mDir.file("short.png")));

    // The loader is still good for a valid file afterwards.
    const cPngSample sample = makeSpec(4, 4, PNG_COLOR_TYPE_RGBA, 8);
    expectImage(mLoader.load(write("good.png", sample)), sample, 4);
}

TEST_F(PngLoader, EveryTruncationGivesAnEmptyImage)
{
    const std::string whole = readFile(write("whole.png", makeSpec(16, 8, PNG_COLOR_TYPE_RGBA, 8)));
    const std::string cutPath = mDir.file("cut.png");
    for (size_t length = 0; length < whole.size(); ++length) {
        writeFile(cutPath, whole.substr(0, length));
        const cImage image = mLoader.load(cutPath);
        EXPECT_TRUE(image.empty()) << "cut at " << length << " of " << whole.size();
    }
    EXPECT_EQ(mLoader.readPng(cutPath), qvr::kPngCorrupt);
}

TEST_F(PngLoader, CorruptImageDataGivesAnEmptyImage)
{
    const std::string whole = readFile(write("whole.png", makeSpec(16, 8, PNG_COLOR_TYPE_RGB, 8)));
    const size_t idat = findChunk(whole, "IDAT");
    ASSERT_GT(idat, 0u);
    const size_t dataLength = static_cast<uint8_t>(whole[idat + 3]) |
                              static_cast<uint8_t>(whole[idat + 2]) << 8;

    // A flipped data byte: the chunk's checksum no longer matches.
    std::string badCrc = whole;
    badCrc[idat + 8 + dataLength / 2] ^= 0x55;
    writeFile(mDir.file("badcrc.png"), badCrc);
    expectEmpty(mLoader.load(mDir.file("badcrc.png")));

    // A broken compressed stream under a correct checksum.
    std::string badZlib = whole;
    badZlib[idat + 8] = 0x00;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(badZlib.data() + idat + 4),
                            static_cast<uInt>(dataLength + 4));
    for (int i = 0; i < 4; ++i) {
        badZlib[idat + 8 + dataLength + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
    }
    writeFile(mDir.file("badzlib.png"), badZlib);
    EXPECT_EQ(mLoader.readPng(mDir.file("badzlib.png")), qvr::kPngCorrupt);
    expectEmpty(mLoader.load(mDir.file("badzlib.png")));
}

TEST_F(PngLoader, HugeDeclaredSizeIsRefusedBeforeAllocating)
{
    std::string file = readFile(write("small.png", makeSpec(2, 2, PNG_COLOR_TYPE_RGBA, 8)));
    const size_t ihdr = findChunk(file, "IHDR");
    ASSERT_GT(ihdr, 0u);
    // Width and height 1,000,000 with a matching checksum.
    for (size_t field : {ihdr + 8, ihdr + 12}) {
        const uint32_t side = 1000000;
        for (int i = 0; i < 4; ++i) {
            file[field + i] = static_cast<char>((side >> (24 - 8 * i)) & 0xFF);
        }
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(file.data() + ihdr + 4), 17);
    for (int i = 0; i < 4; ++i) {
        file[ihdr + 21 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
    }
    writeFile(mDir.file("huge.png"), file);
    expectEmpty(mLoader.load(mDir.file("huge.png")));
}

TEST_F(PngLoader, PicturesUpTo8192PerSideLoadAndLargerOnesAreRefused)
{
    const cImage wide = mLoader.load(write("wide.png", makeSpec(8192, 2, PNG_COLOR_TYPE_GRAY, 8)));
    EXPECT_EQ(wide.width, 8192);
    EXPECT_EQ(wide.height, 2);
    const cImage tall = mLoader.load(write("tall.png", makeSpec(1, 8192, PNG_COLOR_TYPE_GRAY, 8)));
    EXPECT_EQ(tall.height, 8192);
    expectEmpty(mLoader.load(write("wider.png", makeSpec(8193, 1, PNG_COLOR_TYPE_GRAY, 8))));
    expectEmpty(mLoader.load(write("taller.png", makeSpec(1, 8193, PNG_COLOR_TYPE_GRAY, 8))));
}

TEST_F(PngLoader, ChunksAnnouncingHugeLengthsReserveNothing)
{
    // Found by fuzzing: a 57-byte file whose zTXt chunk announces 1.2 GB made libpng reserve that
    // much before noticing the file ends. The loader now checks every chunk's length against the
    // file's size before libpng reads it: the file is refused.
    // (The fuzz command runs these inputs under a 1 GB allocation limit, which catches a relapse.)
    for (const char* name : {"ztxt-huge-length.png", "ztxt-huge-length-after-image.png"}) {
        const std::string path = qvr::test::sourcePath(std::string("fuzz-regressions/fuzzPng/") + name);
        ASSERT_FALSE(qvr::test::readFile(path).empty()) << path;
        expectEmpty(mLoader.load(path));
    }
}
