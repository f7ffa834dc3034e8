// TGA images: files from a real encoder, hand-made byte streams for the edges,
// scaling to the texture size, and TGA resources through the temporary file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/gl_test.h"
#include "tests/texture/texture_test_support.h"
#include "texture/tga_decoder.h"

namespace {

const std::string kFixtures = TEXTURE_FIXTURES;

// A TGA file: 18-byte header, idLength bytes of image ID, then data as given.
std::vector<uint8_t> Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth,
                         const std::vector<uint8_t>& data, uint8_t idLength = 0, uint8_t descriptor = 0)
{
    std::vector<uint8_t> bytes(18, 0);
    bytes[0] = idLength;
    bytes[2] = type;
    bytes[12] = width & 0xFF;
    bytes[13] = width >> 8;
    bytes[14] = height & 0xFF;
    bytes[15] = height >> 8;
    bytes[16] = depth;
    bytes[17] = descriptor;
    bytes.insert(bytes.end(), idLength, 0xEE);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

class TgaTexture : public GlTest {
protected:
    // Loads bytes as a TGA file through the temporary file, in a scratch directory.
    int Load(const std::vector<uint8_t>& bytes, TextureInfo& info)
    {
        const int result = loader.LoadViaTempFile(bytes.data(), bytes.size(), info, TgaImage);
        EXPECT_FALSE(Exists(scratch.TempFile())) << "the temporary file outlived the load";
        return result;
    }

    ScratchDirectory scratch;
    TextureLoader loader;
};

// The fixtures run red at the top to blue at the bottom; the 32-bit ones have
// alpha rising from 0 at the left edge to 255 at the right.
TEST_F(TgaTexture, EncodedFilesLoadUprightWithTheirAlpha)
{
    const struct {
        const char* file;
        int width, height, depth;
        GLenum format;
    } cases[] = {
        {"gradient-24.tga", 64, 32, 24, GL_RGB},
        {"gradient-24-topleft.tga", 64, 32, 24, GL_RGB},
        {"gradient-24-rle-topleft.tga", 64, 32, 24, GL_RGB},
        {"gradient-32.tga", 64, 64, 32, GL_RGBA},
        {"gradient-32-rle.tga", 64, 64, 32, GL_RGBA},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TextureInfo info{0, 33, 0, 0, 0, 0};
        ASSERT_EQ(loader.LoadTgaFile((kFixtures + "/" + c.file).c_str(), info), 1);
        EXPECT_NE(info.glName, 0u);
        EXPECT_EQ(info.kind, 33) << "a file load leaves the kind alone";
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        EXPECT_EQ(info.bitsPerPixel, c.depth);
        EXPECT_EQ(info.format, static_cast<uint32_t>(c.format));
        const TextureLevel level = QueryLevel(info.glName);
        EXPECT_EQ(level.width, c.width);
        EXPECT_EQ(level.height, c.height);
        EXPECT_EQ(level.internalFormat, c.format == GL_RGB ? 3 : 4);  // the component count

        const std::vector<uint8_t> rgba = ReadRgba(info.glName);
        const uint8_t* bottomLeft = &rgba[0];
        const uint8_t* topRight = &rgba[rgba.size() - 4];
        EXPECT_LT(bottomLeft[0], 10);
        EXPECT_GT(bottomLeft[2], 245);
        EXPECT_GT(topRight[0], 245);
        EXPECT_LT(topRight[2], 10);
        if (c.format == GL_RGBA) {
            EXPECT_EQ(bottomLeft[3], 0);
            EXPECT_EQ(topRight[3], 255);
        } else {
            EXPECT_EQ(bottomLeft[3], 255);
        }
    }
}

struct ByteCase {
    const char* name;
    std::vector<uint8_t> file;
    int result;
    std::vector<uint8_t> rgb;  // on success: the texture's pixels, RGB, bottom row first
};

const uint8_t B = 0x10, G = 0x20, R = 0x30;  // one pixel as stored: blue, green, red

std::vector<ByteCase> ByteCases()
{
    const std::vector<uint8_t> red = {B, G, R};
    const std::vector<uint8_t> rgbRed = {R, G, B};
    return {
        {"uncompressed, two pixels", Tga(2, 2, 1, 24, {1, 2, 3, 4, 5, 6}), 1, {3, 2, 1, 6, 5, 4}},
        {"image ID of 5 bytes skipped", Tga(2, 2, 1, 24, {1, 2, 3, 4, 5, 6}, 5), 1, {3, 2, 1, 6, 5, 4}},
        {"uncompressed, one byte short", Tga(2, 2, 1, 24, {1, 2, 3, 4, 5}), 0, {}},
        {"uncompressed, trailing bytes ignored", Tga(2, 1, 1, 24, {1, 2, 3, 9, 9, 9, 9}), 1, {3, 2, 1}},
        {"run packet 0x81 repeats twice", Tga(10, 2, 1, 24, {0x81, B, G, R}), 1, {R, G, B, R, G, B}},
        {"raw packets of one pixel", Tga(10, 2, 1, 24, {0x00, 1, 2, 3, 0x00, 4, 5, 6}), 1, {3, 2, 1, 6, 5, 4}},
        {"raw packet of two", Tga(10, 2, 1, 24, {0x01, 1, 2, 3, 4, 5, 6}), 1, {3, 2, 1, 6, 5, 4}},
        {"packets run across rows", Tga(10, 2, 2, 24, {0x80, 1, 2, 3, 0x81, 4, 5, 6, 0x00, 7, 8, 9}), 1,
         {3, 2, 1, 6, 5, 4, 6, 5, 4, 9, 8, 7}},
        {"bytes after the last packet ignored", Tga(10, 1, 1, 24, {0x80, 1, 2, 3, 0xFF, 0xFF}), 1, {3, 2, 1}},
        {"run packet one pixel too long", Tga(10, 2, 1, 24, {0x82, B, G, R}), 0, {}},
        {"raw packet one pixel too long", Tga(10, 2, 1, 24, {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9}), 0, {}},
        {"stream ends before the image is full", Tga(10, 2, 1, 24, {0x00, 1, 2, 3}), 0, {}},
        {"stream ends inside a pixel value", Tga(10, 2, 1, 24, {0x81, B, G}), 0, {}},
        {"stream ends inside a raw packet", Tga(10, 2, 1, 24, {0x01, 1, 2, 3, 4}), 0, {}},
        {"no pixel data at all", Tga(10, 2, 1, 24, {}), 0, {}},
        {"top-left origin, uncompressed", Tga(2, 1, 2, 24, {1, 2, 3, 4, 5, 6}, 0, 0x20), 1, {6, 5, 4, 3, 2, 1}},
        {"top-left origin, run-length", Tga(10, 1, 2, 24, {0x00, 1, 2, 3, 0x00, 4, 5, 6}, 0, 0x20), 1,
         {6, 5, 4, 3, 2, 1}},
        {"bottom-left origin with alpha bits", Tga(2, 1, 2, 24, {1, 2, 3, 4, 5, 6}, 0, 0x08), 1, {3, 2, 1, 6, 5, 4}},
        {"longest run packets exactly fill", Tga(10, 256, 1, 24, {0xFF, B, G, R, 0xFF, B, G, R}), 1, {}},
        {"type 1, colour-mapped", Tga(1, 1, 1, 24, red), 0, {}},
        {"type 3, grey", Tga(3, 1, 1, 24, red), 0, {}},
        {"type 9, colour-mapped run-length", Tga(9, 1, 1, 24, {0x80, B, G, R}), 0, {}},
        {"type 0, no image", Tga(0, 1, 1, 24, red), 0, {}},
        {"width 0", Tga(2, 0, 1, 24, red), 0, {}},
        {"height 0", Tga(2, 1, 0, 24, red), 0, {}},
        {"depth 8", Tga(2, 1, 1, 8, red), 0, {}},
        {"depth 40", Tga(2, 1, 1, 40, {1, 2, 3, 4, 5}), 0, {}},
        {"short header", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24}, 0, {}},
        // Headers asking for far more than the file could hold: refused before
        // any buffer is allocated (65535 x 65535 x 4 is 17 GB).
        {"uncompressed 65535 x 65535 in 40 bytes", Tga(2, 65535, 65535, 32, std::vector<uint8_t>(22, 1)), 0, {}},
        {"run-length 65535 x 65535 in 40 bytes", Tga(10, 65535, 65535, 32, std::vector<uint8_t>(22, 0xFF)), 0, {}},
        {"one pixel more than run packets can give", Tga(10, 257, 1, 24, {0xFF, B, G, R, 0xFF, B, G, R}), 0, {}},
    };
}

TEST_F(TgaTexture, HandMadeStreams)
{
    for (const ByteCase& c : ByteCases()) {
        SCOPED_TRACE(c.name);
        TextureInfo info = ZeroInfo();
        ASSERT_EQ(Load(c.file, info), c.result);
        EXPECT_EQ(info.kind, TgaImage);
        if (c.result == 0) {
            EXPECT_EQ(info.glName, 0u);
            continue;
        }
        EXPECT_NE(info.glName, 0u);
        if (c.rgb.empty()) {
            continue;
        }
        const std::vector<uint8_t> rgba = ReadRgba(info.glName);
        ASSERT_EQ(rgba.size() / 4, c.rgb.size() / 3);
        for (size_t p = 0; p < c.rgb.size() / 3; ++p) {
            EXPECT_EQ(rgba[p * 4 + 0], c.rgb[p * 3 + 0]) << "pixel " << p;
            EXPECT_EQ(rgba[p * 4 + 1], c.rgb[p * 3 + 1]) << "pixel " << p;
            EXPECT_EQ(rgba[p * 4 + 2], c.rgb[p * 3 + 2]) << "pixel " << p;
        }
    }
}

// What a refused image leaves in the record.
TEST_F(TgaTexture, RefusedHeadersKeepTheirDescription)
{
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        TextureInfo expected;
    } cases[] = {
        {"16-bit", Tga(2, 7, 5, 16, std::vector<uint8_t>(70, 0)), {0, TgaImage, 7, 5, GL_RGBA, 16}},
        {"grey", Tga(3, 9, 3, 8, std::vector<uint8_t>(27, 0)), {0, TgaImage, 9, 3, GL_RGBA, 8}},
        {"24-bit, short data", Tga(2, 4, 4, 24, {1, 2, 3}), {0, TgaImage, 4, 4, GL_RGB, 24}},
        {"32-bit, packet past the end", Tga(10, 1, 1, 32, {0x81, 1, 2, 3, 4}), {0, TgaImage, 1, 1, GL_RGBA, 32}},
        {"absurdly large", Tga(2, 65535, 65535, 24, {1, 2, 3}), {0, TgaImage, 65535, 65535, GL_RGB, 24}},
        {"short header", {0, 0, 2, 0, 0}, {0, TgaImage, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextureInfo info = ZeroInfo();
        EXPECT_EQ(Load(c.file, info), 0);
        EXPECT_TRUE(SameInfo(info, c.expected))
            << info.glName << " " << info.kind << " " << info.width << " " << info.height << " " << info.format
            << " " << info.bitsPerPixel;
    }
}

// An image of w x h with the rows given from the top, one colour per row.
std::vector<uint8_t> RowsImage(uint16_t width, uint16_t height, int bytesPerPixel)
{
    std::vector<uint8_t> data;
    for (int row = height - 1; row >= 0; --row) {  // stored bottom row first
        for (int x = 0; x < width; ++x) {
            const bool top = row < height / 2;
            data.push_back(top ? 0 : 255);  // blue
            data.push_back(0);
            data.push_back(top ? 255 : 0);  // red
            if (bytesPerPixel == 4) {
                data.push_back(200);
            }
        }
    }
    return Tga(2, width, height, static_cast<uint8_t>(bytesPerPixel * 8), data);
}

TEST_F(TgaTexture, ImagesAreScaledToTheTextureSize)
{
    const struct {
        uint16_t width, height;
        int bytesPerPixel;
        uint8_t highQuality;
        int expectedWidth, expectedHeight;
    } cases[] = {
        {100, 100, 3, 1, 128, 128},
        {256, 100, 3, 1, 256, 128},
        {128, 128, 4, 0, 64, 64},
        {256, 256, 3, 1, 256, 256},
        // Rows of 15 and 3 bytes: GLU must read and write them without padding.
        {5, 6, 3, 1, 4, 8},
        {1, 3, 3, 1, 1, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " x " << c.bytesPerPixel
                                        << ", high quality " << int(c.highQuality));
        loader.SetHighQuality(c.highQuality);
        loader.SetFilterMode(LinearFilter);  // leaves the unpack alignment as it was
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        TextureInfo info = ZeroInfo();
        ASSERT_EQ(Load(RowsImage(c.width, c.height, c.bytesPerPixel), info), 1);
        EXPECT_EQ(info.width, c.expectedWidth);
        EXPECT_EQ(info.height, c.expectedHeight);
        const TextureLevel level = QueryLevel(info.glName);
        EXPECT_EQ(level.width, c.expectedWidth);
        EXPECT_EQ(level.height, c.expectedHeight);
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4);
        glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4);

        // The bottom row is blue, the top row red, every pixel of them. GLU's
        // enlargement blends a little of the opposite edge into the outer rows;
        // rows read with padding would shift colours into the green channel.
        const std::vector<uint8_t> rgba = ReadRgba(info.glName);
        const size_t rowPixels = static_cast<size_t>(c.expectedWidth);
        const size_t last = static_cast<size_t>(c.expectedHeight - 1) * rowPixels;
        for (size_t x = 0; x < rowPixels; ++x) {
            const uint8_t* bottom = &rgba[x * 4];
            const uint8_t* top = &rgba[(last + x) * 4];
            ASSERT_LT(bottom[0], 40) << x;
            ASSERT_EQ(bottom[1], 0) << x;
            ASSERT_GT(bottom[2], 215) << x;
            ASSERT_GT(top[0], 215) << x;
            ASSERT_EQ(top[1], 0) << x;
            ASSERT_LT(top[2], 40) << x;
            ASSERT_EQ(top[3], c.bytesPerPixel == 4 ? 200 : 255) << x;
        }
    }
}

TEST(TgaDecoder, RefusesImagesTheirDataCannotFill)
{
    const TgaHeader uncompressed{0, 2, 10, 10, 24, 0};
    EXPECT_TRUE(TgaDataCanFill(uncompressed, 300));
    EXPECT_FALSE(TgaDataCanFill(uncompressed, 299));
    // Run-length: each 4-byte run packet of a 24-bit image gives up to 128 pixels.
    const TgaHeader encoded{0, 10, 128, 2, 24, 0};
    EXPECT_TRUE(TgaDataCanFill(encoded, 8));
    EXPECT_FALSE(TgaDataCanFill(encoded, 7));
    const TgaHeader huge{0, 10, 65535, 65535, 32, 0};
    EXPECT_FALSE(TgaDataCanFill(huge, 40));
    EXPECT_TRUE(TgaDataCanFill(huge, uint64_t{65535} * 65535 / 128 * 5 + 5));
}

}  // namespace
