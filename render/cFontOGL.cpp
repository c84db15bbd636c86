// FreeType glyphs into GL textures and display lists, the font collection file, and drawing text.
#include "render/cFont.h"

#include "core/textUtil.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <cstdio>
#include <fstream>
#include <sstream>

namespace qvr {

namespace {

constexpr int32_t kGlyphCount = 128;

// The bitmap of a glyph converted by FreeType; false when it could not be loaded or converted.
bool renderGlyph(FT_Face face, int32_t code, FT_Glyph& glyph, cGlyphBitmap& out)
{
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, static_cast<FT_ULong>(code)), FT_LOAD_DEFAULT) != 0 ||
        FT_Get_Glyph(face->glyph, &glyph) != 0) {
        return false;
    }
    if (FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) != 0) {
        return false;
    }
    const auto* bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(glyph);
    const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        return false;
    }
    out.buffer = bitmap.buffer;
    out.width = static_cast<int32_t>(bitmap.width);
    out.rows = static_cast<int32_t>(bitmap.rows);
    out.pitch = bitmap.pitch;
    out.mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    out.left = bitmapGlyph->left;
    out.top = bitmapGlyph->top;
    out.advance = static_cast<int32_t>(face->glyph->advance.x);
    return true;
}

// Coverage 0-255 of column j in row i (row 0 the top).
uint8_t coverage(const cGlyphBitmap& bitmap, int32_t i, int32_t j)
{
    const int32_t stride = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    const int32_t row = bitmap.pitch < 0 ? bitmap.rows - 1 - i : i;
    const uint8_t* line = bitmap.buffer + static_cast<size_t>(row) * static_cast<size_t>(stride);
    if (bitmap.mono) {
        return (line[j >> 3] & (0x80 >> (j & 7))) ? 255 : 0;
    }
    return line[j];
}

} // namespace

int32_t glyphTextureSize(int32_t pixels)
{
    int32_t size = 1;
    while (size < pixels) {
        size <<= 1;
    }
    return size;
}

std::vector<uint8_t> glyphTexels(const cGlyphBitmap& bitmap, int32_t textureWidth, int32_t textureHeight)
{
    std::vector<uint8_t> texels(static_cast<size_t>(textureWidth) * static_cast<size_t>(textureHeight) * 2, 0);
    if (!bitmap.buffer) {
        return texels;
    }
    for (int32_t i = 0; i < bitmap.rows && i < textureHeight; ++i) {
        for (int32_t j = 0; j < bitmap.width && j < textureWidth; ++j) {
            const size_t at = (static_cast<size_t>(i) * static_cast<size_t>(textureWidth) + static_cast<size_t>(j)) * 2;
            texels[at] = texels[at + 1] = coverage(bitmap, i, j);
        }
    }
    return texels;
}

void cFontOGL::makeGlyph(GLuint texture, GLuint list, const cGlyphBitmap& bitmap)
{
    const int32_t w = bitmap.width, r = bitmap.rows;
    const int32_t textureWidth = glyphTextureSize(w), textureHeight = glyphTextureSize(r);
    const std::vector<uint8_t> texels = glyphTexels(bitmap, textureWidth, textureHeight);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_LUMINANCE_ALPHA,
                 GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    const float s = static_cast<float>(w) / static_cast<float>(textureWidth);
    const float t = static_cast<float>(r) / static_cast<float>(textureHeight);
    const auto fw = static_cast<float>(w), fr = static_cast<float>(r);
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    glTranslatef(static_cast<float>(bitmap.left), 0.0f, 0.0f);
    glTranslatef(0.0f, static_cast<float>(bitmap.top - r), 0.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, fr);
    glTexCoord2f(0.0f, t);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(s, t);
    glVertex2f(fw, 0.0f);
    glTexCoord2f(s, 0.0f);
    glVertex2f(fw, fr);
    glEnd();
    glPopMatrix();
    glTranslatef(static_cast<float>(bitmap.advance >> 6), 0.0f, 0.0f);
    glEndList();
}

cFontOGL::~cFontOGL()
{
    if (mListBase != 0) {
        glDeleteLists(mListBase, kGlyphCount);
        glDeleteTextures(kGlyphCount, mTextures.data());
    }
    if (mFace) {
        FT_Done_Face(mFace);
    }
    if (mLibrary) {
        FT_Done_FreeType(mLibrary);
    }
}

bool cFontOGL::loadFont(const std::string& path, int32_t size)
{
    mSize = size;
    mPath = path;
    if (FT_Init_FreeType(&mLibrary) != 0) {
        std::fprintf(stderr, "font: FreeType cannot start; \"%s\" is not loaded\n", path.c_str());
        mLibrary = nullptr;
        return false;
    }
    if (FT_New_Face(mLibrary, path.c_str(), 0, &mFace) != 0) {
        std::fprintf(stderr, "font: cannot open \"%s\" as a font; it draws nothing\n", path.c_str());
        mFace = nullptr;
        FT_Done_FreeType(mLibrary);
        mLibrary = nullptr;
        return false;
    }
    buildGlyphs(size);
    return true;
}

void cFontOGL::buildGlyphs(int32_t size)
{
    if (!mFace || mListBase != 0) {
        return;
    }
    mSize = size;
    mTextures.assign(kGlyphCount, 0);
    FT_Set_Char_Size(mFace, size * 64, size * 64, 96, 96);
    mListBase = glGenLists(kGlyphCount);
    glGenTextures(kGlyphCount, mTextures.data());
    int32_t missing = 0;
    for (int32_t code = 0; code < kGlyphCount; ++code) {
        FT_Glyph glyph = nullptr;
        cGlyphBitmap bitmap;
        if (!renderGlyph(mFace, code, glyph, bitmap)) {
            ++missing;
            bitmap = cGlyphBitmap();
        }
        makeGlyph(mTextures[static_cast<size_t>(code)], mListBase + static_cast<GLuint>(code), bitmap);
        if (glyph) {
            FT_Done_Glyph(glyph);
        }
    }
    if (missing > 0) {
        std::fprintf(stderr, "font: %d of the 128 glyphs of \"%s\" could not be rendered; they draw nothing\n",
                     missing, mPath.c_str());
    }
    FT_Done_Face(mFace);
    FT_Done_FreeType(mLibrary);
    mFace = nullptr;
    mLibrary = nullptr;
}

GLuint cFontOGL::getTexture(int32_t code) const
{
    if (code < 0 || static_cast<size_t>(code) >= mTextures.size()) {
        return 0;
    }
    return mTextures[static_cast<size_t>(code)];
}

std::vector<cFontEntry> readFontCollection(std::istream& in, const std::string& name)
{
    std::vector<cFontEntry> entries;
    std::string line;
    for (int32_t number = 1; std::getline(in, line); ++number) {
        stripCarriageReturn(line);
        std::istringstream fields(line);
        cFontEntry entry;
        if (!(fields >> entry.path)) {
            continue;
        }
        if (!(fields >> entry.size) || entry.size <= 0 || entry.size > 1000) {
            std::fprintf(stderr, "font collection %s: line %d names no font and size; skipped\n",
                         name.c_str(), number);
            continue;
        }
        entries.push_back(entry);
    }
    return entries;
}

void loadFontCollection(std::vector<std::unique_ptr<cFontOGL>>& fonts, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "font collection %s: cannot be opened; no fonts loaded\n", path.c_str());
        return;
    }
    for (const cFontEntry& entry : readFontCollection(in, path)) {
        auto font = std::make_unique<cFontOGL>();
        if (font->loadFont(entry.path, entry.size)) {
            fonts.push_back(std::move(font));
        }
    }
}

std::vector<std::string> textLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (static_cast<unsigned char>(c) < 128) {
            line.push_back(c);
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

void drawText(const cFontOGL* font, float x, float y, const std::string& text)
{
    if (!font || !font->isBuilt()) {
        return;
    }
    const float height = lineHeight(font->getSize());
    const std::vector<std::string> lines = textLines(text);
    glPushAttrib(GL_LIST_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glListBase(font->getListBase());
    GLfloat modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    for (size_t k = 0; k < lines.size(); ++k) {
        glPushMatrix();
        glLoadIdentity();
        glTranslatef(x, y - height * static_cast<float>(k), 0.0f);
        glMultMatrixf(modelView);
        glCallLists(static_cast<GLsizei>(lines[k].size()), GL_UNSIGNED_BYTE, lines[k].data());
        glPopMatrix();
    }
    glPopAttrib();
}

} // namespace qvr
