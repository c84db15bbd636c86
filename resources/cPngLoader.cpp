// PNG decoding: libpng reads the whole image untransformed, then the rows are copied into one block.
#include "resources/cPngLoader.h"

#include <csetjmp>
#include <cstring>

namespace qvr {

namespace {

// Larger images are refused before anything is allocated for their rows; no texture is that big.
constexpr png_uint_32 kMaxImageSide = 8192;
constexpr png_alloc_size_t kMaxChunkBytes = 4 * 1024 * 1024;

// Walks the chunk headers after the signature: every announced length must fit in what the file
// still holds. libpng reserves a chunk's announced length before reading it, so a few bytes could
// otherwise ask for gigabytes. Leaves the file just after the signature.
bool chunksFitTheFile(std::FILE* file)
{
    const long start = std::ftell(file);
    if (start < 0 || std::fseek(file, 0, SEEK_END) != 0) {
        return false;
    }
    const long size = std::ftell(file);
    long at = start;
    bool fits = true;
    while (at + 8 <= size) {
        unsigned char header[8];
        if (std::fseek(file, at, SEEK_SET) != 0 || std::fread(header, 1, 8, file) != 8) {
            break;
        }
        const uint32_t length = (uint32_t(header[0]) << 24) | (uint32_t(header[1]) << 16) |
                                (uint32_t(header[2]) << 8) | uint32_t(header[3]);
        if (static_cast<long long>(length) + 12 > static_cast<long long>(size - at)) {
            fits = false;
            break;
        }
        at += static_cast<long>(length) + 12;
        if (std::memcmp(header + 4, "IEND", 4) == 0) {
            break;
        }
    }
    return std::fseek(file, start, SEEK_SET) == 0 && fits;
}

void onPngError(png_structp read, png_const_charp message)
{
    const auto* path = static_cast<const std::string*>(png_get_error_ptr(read));
    std::fprintf(stderr, "cPngLoader: %s: %s\n", path ? path->c_str() : "?", message);
    png_longjmp(read, 1);
}

void onPngWarning(png_structp read, png_const_charp message)
{
    const auto* path = static_cast<const std::string*>(png_get_error_ptr(read));
    std::fprintf(stderr, "cPngLoader: %s: warning: %s\n", path ? path->c_str() : "?", message);
}

} // namespace

cPngLoader::~cPngLoader()
{
    release();
}

void cPngLoader::release()
{
    if (mRead) {
        png_destroy_read_struct(&mRead, mInfo ? &mInfo : nullptr, mEndInfo ? &mEndInfo : nullptr);
    }
    mRead = nullptr;
    mInfo = nullptr;
    mEndInfo = nullptr;
    if (mFile) {
        std::fclose(mFile);
        mFile = nullptr;
    }
}

int32_t cPngLoader::readPng(const std::string& path)
{
    release();
    mPath = path;
    mFile = std::fopen(path.c_str(), "rb");
    if (!mFile) {
        return kPngCannotOpen;
    }
    png_byte signature[8] = {};
    if (std::fread(signature, 1, sizeof(signature), mFile) != sizeof(signature) ||
        png_sig_cmp(signature, 0, sizeof(signature)) != 0) {
        release();
        return kPngNoSignature;
    }
    if (!chunksFitTheFile(mFile)) {
        std::fprintf(stderr, "cPngLoader: %s: a chunk is longer than the file holds\n", path.c_str());
        release();
        return kPngCorrupt;
    }
    mRead = png_create_read_struct(PNG_LIBPNG_VER_STRING, &mPath, onPngError, onPngWarning);
    if (!mRead) {
        release();
        return kPngNoReadStruct;
    }
    mInfo = png_create_info_struct(mRead);
    if (!mInfo) {
        release();
        return kPngNoInfoStruct;
    }
    mEndInfo = png_create_info_struct(mRead);
    if (!mEndInfo) {
        release();
        return kPngNoEndInfoStruct;
    }
    // libpng's errors (truncated or corrupt data, limits exceeded) come back here.
    if (setjmp(png_jmpbuf(mRead))) {
        release();
        return kPngCorrupt;
    }
    png_set_user_limits(mRead, kMaxImageSide, kMaxImageSide);
    // A chunk announcing a huge length must not make libpng reserve that much before it finds
    // the file ends: no chunk of a picture the engine loads comes near this.
    png_set_chunk_malloc_max(mRead, kMaxChunkBytes);
    png_init_io(mRead, mFile);
    png_set_sig_bytes(mRead, sizeof(signature));
    png_read_png(mRead, mInfo, PNG_TRANSFORM_IDENTITY, nullptr);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0, compression = 0, filter = 0;
    png_get_IHDR(mRead, mInfo, &width, &height, &bitDepth, &colorType, &interlace, &compression,
                 &filter);
    mWidth = static_cast<int32_t>(width);
    mHeight = static_cast<int32_t>(height);
    mBitDepth = bitDepth;
    mColorType = colorType;
    mInterlace = interlace;
    mCompression = compression;
    mFilter = filter;
    mChannels = png_get_channels(mRead, mInfo);

    std::fclose(mFile);
    mFile = nullptr;
    return kPngDecoded;
}

cImage cPngLoader::copyRows() const
{
    cImage image;
    const size_t rowBytes = png_get_rowbytes(mRead, mInfo);
    png_bytepp rows = png_get_rows(mRead, mInfo);
    if (!rows || rowBytes == 0 || mWidth <= 0 || mHeight <= 0) {
        return image;
    }
    image.height = mHeight;
    image.width = mWidth;
    image.bytesPerPixel = static_cast<uint8_t>(rowBytes / static_cast<size_t>(mWidth));
    image.pixels.reset(new uint8_t[rowBytes * static_cast<size_t>(mHeight)]);
    for (int32_t r = mHeight - 1; r >= 0; --r) {
        std::memcpy(image.pixels.get() + static_cast<size_t>(r) * rowBytes, rows[r], rowBytes);
    }
    return image;
}

cImage cPngLoader::load(const std::string& path)
{
    const int32_t status = readPng(path);
    if (status == kPngCannotOpen) {
        std::fprintf(stderr, "cPngLoader: %s: cannot open the file\n", path.c_str());
    } else if (status == kPngNoSignature) {
        std::fprintf(stderr, "cPngLoader: %s: not a PNG file (no PNG signature)\n", path.c_str());
    } else if (status == kPngNoReadStruct || status == kPngNoInfoStruct ||
               status == kPngNoEndInfoStruct) {
        std::fprintf(stderr, "cPngLoader: %s: libpng could not start (status %d)\n", path.c_str(),
                     static_cast<int>(status));
    }
    cImage image;
    if (status == kPngDecoded) {
        image = copyRows();
    }
    release();
    return image;
}

} // namespace qvr
