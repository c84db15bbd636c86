// Bitmap fonts for 2D text: FreeType rasterises each character code 0-127 once into a texture and a
// display list; drawText draws a line with one glCallLists. Also the font collection file and the
// message console.
#pragma once

#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace qvr {

class cFont {
public:
    virtual ~cFont() = default;
    virtual void buildGlyphs(int32_t) {}
};

//! A glyph bitmap as FreeType hands it over: rows of pitch bytes (negative when the rows run
//! upwards in memory), 8-bit coverage or 1-bit mono.
struct cGlyphBitmap {
    const uint8_t* buffer = nullptr;
    int32_t width = 0;
    int32_t rows = 0;
    int32_t pitch = 0;
    bool mono = false;
    int32_t left = 0;
    int32_t top = 0;
    //! Horizontal advance in 26.6 fixed point.
    int32_t advance = 0;
};

class cFontOGL : public cFont {
public:
    cFontOGL() = default;
    //! Deletes the glyph textures and lists (a context must be current when the font was built).
    ~cFontOGL() override;
    cFontOGL(const cFontOGL&) = delete;
    cFontOGL& operator=(const cFontOGL&) = delete;

    //! Opens the face and builds the glyphs at size points. false, with one line on standard
    //! error, when FreeType cannot open the file (the font then draws nothing).
    bool loadFont(const std::string& path, int32_t size);
    //! Rasterises the 128 glyphs of the open face at size points (96 dpi) and releases the face and
    //! the library. A glyph FreeType cannot load draws nothing; the count is reported once.
    void buildGlyphs(int32_t size) override;
    //! Makes the texture and display list of one glyph from its bitmap.
    static void makeGlyph(GLuint texture, GLuint list, const cGlyphBitmap& bitmap);

    int32_t getSize() const { return mSize; }
    //! First of the 128 lists; 0 until built.
    GLuint getListBase() const { return mListBase; }
    bool isBuilt() const { return mListBase != 0; }
    //! Texture of a character code 0-127; 0 before building or outside the range.
    GLuint getTexture(int32_t code) const;

private:
    int32_t mSize = 0;
    FT_Library mLibrary = nullptr;
    FT_Face mFace = nullptr;
    std::vector<GLuint> mTextures;
    GLuint mListBase = 0;
    std::string mPath;
};

//! One line of a font collection file.
struct cFontEntry {
    std::string path;
    int32_t size = 0;
};

//! Reads a font collection: per line a font file path and a size. Empty lines are skipped; a line
//! without a path and a positive size is reported on standard error (naming name and the line) and
//! skipped.
std::vector<cFontEntry> readFontCollection(std::istream& in, const std::string& name);
//! Appends one built font per usable line of the collection file at path. A file that cannot be
//! opened and a font FreeType cannot open are reported on standard error and skipped.
void loadFontCollection(std::vector<std::unique_ptr<cFontOGL>>& fonts, const std::string& path);

//! Smallest power of two not below pixels; 1 below 2.
int32_t glyphTextureSize(int32_t pixels);
//! W x H texels of two bytes (luminance, alpha), both the bitmap's coverage inside it and 0 outside.
std::vector<uint8_t> glyphTexels(const cGlyphBitmap& bitmap, int32_t textureWidth, int32_t textureHeight);
//! The lines of a text: split at line feeds, a final line feed adding no empty line; bytes
//! 128-255 removed (no glyph exists for them).
std::vector<std::string> textLines(const std::string& text);
//! Distance between the baselines of two lines.
inline float lineHeight(int32_t size)
{
    return static_cast<float>(size) / 0.63f;
}

//! Draws text with its first baseline at (x, y) in the current model-view space, lines going
//! downwards. A null or unbuilt font draws nothing.
void drawText(const cFontOGL* font, float x, float y, const std::string& text);

//! Ten lines of messages drawn over the frame when the renderer's console is switched on.
struct cMessageConsole {
    cFontOGL font;
    std::array<std::string, 10> lines;
};

} // namespace qvr
