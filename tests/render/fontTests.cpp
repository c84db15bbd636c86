// Glyph texture sizes and texels, text lines and the font collection list, without a GL context.
#include "render/cFont.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace qvr;

TEST(Font, GlyphTexturesArePowersOfTwo)
{
    EXPECT_EQ(glyphTextureSize(0), 1);
    EXPECT_EQ(glyphTextureSize(1), 1);
    EXPECT_EQ(glyphTextureSize(2), 2);
    EXPECT_EQ(glyphTextureSize(5), 8);
    EXPECT_EQ(glyphTextureSize(9), 16);
    EXPECT_EQ(glyphTextureSize(16), 16);
    EXPECT_EQ(glyphTextureSize(17), 32);
}

TEST(Font, TexelsFollowTheBitmapPitch)
{
    // A 3 x 2 bitmap in rows of 4 bytes: the padding byte (99) must never show.
    const uint8_t rows[] = {10, 20, 30, 99, 40, 50, 60, 99};
    cGlyphBitmap bitmap;
    bitmap.buffer = rows;
    bitmap.width = 3;
    bitmap.rows = 2;
    bitmap.pitch = 4;
    const std::vector<uint8_t> texels = glyphTexels(bitmap, 4, 2);
    const std::vector<uint8_t> want = {10, 10, 20, 20, 30, 30, 0, 0, 40, 40, 50, 50, 60, 60, 0, 0};
    EXPECT_EQ(texels, want);

    // Rows running upwards in memory: the last row stored is the top one.
    bitmap.pitch = -4;
    const std::vector<uint8_t> flipped = glyphTexels(bitmap, 4, 2);
    EXPECT_EQ(flipped[0], 40);
    EXPECT_EQ(flipped[8], 10);

    // One bit per pixel.
    const uint8_t mono[] = {0xA0, 0x00, 0x40, 0x00};
    cGlyphBitmap bits;
    bits.buffer = mono;
    bits.width = 3;
    bits.rows = 2;
    bits.pitch = 2;
    bits.mono = true;
    const std::vector<uint8_t> fromBits = glyphTexels(bits, 4, 2);
    EXPECT_EQ(fromBits[0], 255);
    EXPECT_EQ(fromBits[2], 0);
    EXPECT_EQ(fromBits[4], 255);
    EXPECT_EQ(fromBits[10], 255);

    // No bitmap (a glyph that could not be rendered): all clear.
    const std::vector<uint8_t> empty = glyphTexels(cGlyphBitmap(), 1, 1);
    EXPECT_EQ(empty, std::vector<uint8_t>(2, 0));
}

TEST(Font, TextSplitsIntoLinesAndDropsBytesWithoutGlyphs)
{
    EXPECT_EQ(textLines("one"), (std::vector<std::string>{"one"}));
    EXPECT_EQ(textLines("one\ntwo"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(textLines("one\n\ntwo\n"), (std::vector<std::string>{"one", "", "two"}));
    EXPECT_EQ(textLines("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(textLines("").empty());
    EXPECT_EQ(textLines("caf\xC3\xA9!"), (std::vector<std::string>{"caf!"}));
    EXPECT_NEAR(lineHeight(12), 19.0476f, 1e-3f);
}

TEST(Font, CollectionLinesNameAFontAndASize)
{
    std::istringstream in("Assets/Fonts/a.ttf 24\r\n\n   \nAssets/Fonts/b.ttf 40\nnosize.ttf\nneg.ttf -3\n"
                          "Assets/Fonts/c.ttf 11");
    testing::internal::CaptureStderr();
    const std::vector<cFontEntry> fonts = readFontCollection(in, "fonts.txt");
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(fonts[0].path, "Assets/Fonts/a.ttf");
    EXPECT_EQ(fonts[0].size, 24);
    EXPECT_EQ(fonts[1].path, "Assets/Fonts/b.ttf");
    EXPECT_EQ(fonts[2].size, 11);
    // The two unusable lines are named; empty lines are not complaints.
    EXPECT_NE(said.find("fonts.txt: line 5"), std::string::npos) << said;
    EXPECT_NE(said.find("fonts.txt: line 6"), std::string::npos) << said;
    EXPECT_EQ(said.find("line 2"), std::string::npos) << said;
}
