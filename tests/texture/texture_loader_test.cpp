// The loader's options, size rule, dispatch by kind and upload.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/gl_test.h"
#include "tests/texture/texture_test_support.h"

namespace {

TEST(NearestPowerOfTwo, RoundsOnALogarithmicScale)
{
    const struct {
        int n;
        int expected;
    } cases[] = {
        {1, 1},    {2, 2},      {3, 4},      {5, 4},       {23, 32},      {45, 32},
        {46, 64},  {64, 64},    {724, 512},  {725, 1024},  {768, 1024},   {1024, 1024},
        {0, 1},    {-5, 1},     {1 << 30, 1 << 30},        {0x7FFFFFFF, 1 << 30},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NearestPowerOfTwo(c.n), c.expected) << "n = " << c.n;
    }
}

TEST(FitTextureSizeWithin, AppliesTheLimitThePowerOfTwoAndLowQualityHalving)
{
    const struct {
        int width, height, maxSize;
        uint8_t highQuality;
        int expectedWidth, expectedHeight;
    } cases[] = {
        {1024, 768, 1024, 1, 1024, 1024},
        {32, 32, 1024, 1, 32, 32},
        {2000, 100, 1024, 1, 1024, 128},
        {1024, 768, 512, 1, 512, 512},
        {1024, 768, 1024, 0, 512, 512},
        {64, 64, 1024, 0, 64, 64},
        {100, 300, 1024, 0, 64, 128},   // 128 x 256, halved
        {40, 300, 1024, 0, 32, 256},    // only the width decides the halving
        {128, 32, 1024, 0, 64, 16},
        {64, 1024, 1024, 0, 64, 1024},
        {600, 5000, 512, 1, 512, 512},
        {724, 725, 4096, 1, 512, 1024},
        {1024, 768, 1024, 2, 1024, 1024},  // any non-zero flag is high quality
    };
    for (const auto& c : cases) {
        int width = -1;
        int height = -1;
        FitTextureSizeWithin(c.width, c.height, c.maxSize, c.highQuality, width, height);
        EXPECT_EQ(width, c.expectedWidth) << c.width << " x " << c.height << " max " << c.maxSize
                                          << " hq " << int(c.highQuality);
        EXPECT_EQ(height, c.expectedHeight) << c.width << " x " << c.height << " max " << c.maxSize
                                            << " hq " << int(c.highQuality);
    }
}

TEST(TextureLoaderOptions, DefaultsAndTheColourKeyRule)
{
    TextureLoader loader;
    EXPECT_EQ(loader.colourKeyOn, 1);
    EXPECT_EQ(loader.highQuality, 1);
    EXPECT_EQ(loader.mipmapping, 0);
    EXPECT_EQ(loader.filterMode, 0);
    EXPECT_EQ(loader.keyRed, 0);
    EXPECT_EQ(loader.keyGreen, 0);
    EXPECT_EQ(loader.keyBlue, 0);

    // Switching the key off keeps the colour; switching it on sets one.
    loader.SetColourKey(0, 255, 0, 255);
    EXPECT_EQ(loader.colourKeyOn, 0);
    EXPECT_EQ(loader.keyRed, 0);
    EXPECT_EQ(loader.keyBlue, 0);
    loader.SetColourKey(2, 255, 0, 255);
    EXPECT_EQ(loader.colourKeyOn, 2);
    EXPECT_EQ(loader.keyRed, 0);
    loader.SetColourKey(1, 255, 0, 255);
    EXPECT_EQ(loader.colourKeyOn, 1);
    EXPECT_EQ(loader.keyRed, 255);
    EXPECT_EQ(loader.keyGreen, 0);
    EXPECT_EQ(loader.keyBlue, 255);

    // The global loader is ready before anything runs.
    EXPECT_EQ(GlobalTextureLoader.colourKeyOn, 1);
    EXPECT_EQ(GlobalTextureLoader.highQuality, 1);
}

class TextureLoaderGl : public GlTest {};

TEST_F(TextureLoaderGl, FitTextureSizeReadsTheContextsLimit)
{
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    ASSERT_GE(maxSize, 1024);
    TextureLoader loader;
    int width = 0;
    int height = 0;
    loader.FitTextureSize(1024, 768, width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 1024);
    loader.FitTextureSize(maxSize + 1, 3, width, height);
    EXPECT_EQ(width, maxSize);
    EXPECT_EQ(height, 4);
    loader.SetHighQuality(0);
    loader.FitTextureSize(1024, 768, width, height);
    EXPECT_EQ(width, 512);
    EXPECT_EQ(height, 512);
}

TEST_F(TextureLoaderGl, DispatchRecordsTheKindOnlyForKnownKinds)
{
    TextureLoader loader;
    const TextureInfo sentinel{77, 9, 11, 12, 13, 14};

    // Unknown kinds: nothing recorded, nothing loaded (119 exists, so a load would succeed).
    for (int kind : {0, 3, 6, -1}) {
        TextureInfo info = sentinel;
        EXPECT_EQ(loader.LoadTextureResource(119, "IMAGES", info, kind), 0) << kind;
        EXPECT_TRUE(SameInfo(info, sentinel)) << kind;
    }

    // The reserved kind is recorded and nothing else happens.
    TextureInfo reserved = sentinel;
    EXPECT_EQ(loader.LoadTextureResource(119, "IMAGES", reserved, ReservedKind), 0);
    TextureInfo expected = sentinel;
    expected.kind = ReservedKind;
    EXPECT_TRUE(SameInfo(reserved, expected));

    // A resource that does not exist: the kind is recorded, the rest kept.
    for (int kind : {PlainPicture, KeyablePicture, TgaImage}) {
        TextureInfo info = sentinel;
        EXPECT_EQ(loader.LoadTextureResource(131, "IMAGES", info, kind), 0) << kind;
        expected.kind = kind;
        EXPECT_TRUE(SameInfo(info, expected)) << kind;
    }
    // Nor does a picture under another type name.
    TextureInfo otherType = sentinel;
    EXPECT_EQ(loader.LoadTextureResource(119, "ICONS", otherType, PlainPicture), 0);
    EXPECT_EQ(otherType.glName, 77u);
}

TEST_F(TextureLoaderGl, ResourceIdsUseTheirLow16BitsAndTypesIgnoreCase)
{
    TextureLoader loader;
    TextureInfo info = ZeroInfo();
    EXPECT_EQ(loader.LoadTextureResource(119 + 0x10000, "images", info, KeyablePicture), 1);
    EXPECT_NE(info.glName, 0u);
    EXPECT_EQ(info.width, 32);
}

// The filter-mode rows: parameters, mipmaps and the unpack alignment afterwards.
TEST_F(TextureLoaderGl, UploadFollowsTheFilterModeRows)
{
    const struct {
        int32_t filterMode;
        uint8_t mipmapping;
        GLint mag, min;
        bool mipmaps;
        GLint alignmentAfter;  // with 4 in force before
    } cases[] = {
        {0, 0, GL_NEAREST, GL_NEAREST, false, 1},
        {0, 1, GL_NEAREST, GL_NEAREST, false, 1},
        {7, 1, GL_NEAREST, GL_NEAREST, false, 1},
        {-1, 0, GL_NEAREST, GL_NEAREST, false, 1},
        {1, 0, GL_LINEAR, GL_LINEAR, false, 4},
        {1, 1, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, true, 4},
        {2, 0, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, true, 4},
        {2, 1, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, true, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "filter mode " << c.filterMode << ", mipmapping " << int(c.mipmapping));
        TextureLoader loader;
        loader.SetFilterMode(c.filterMode);
        loader.SetMipmapping(c.mipmapping);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

        std::vector<uint8_t> pixels(8 * 4 * 4);
        for (size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = static_cast<uint8_t>(i * 7);
        }
        TextureInfo info{0, PlainPicture, 8, 4, GL_RGBA, 32};
        glGenTextures(1, &info.glName);
        loader.UploadTexture(info, pixels.data());

        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), info.glName);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
        EXPECT_EQ(value, GL_CLAMP);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
        EXPECT_EQ(value, GL_CLAMP);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
        EXPECT_EQ(value, c.mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
        EXPECT_EQ(value, c.min);
        // A mipmap chain of an 8 x 4 image ends with a 1 x 1 level 3.
        EXPECT_EQ(QueryLevel(info.glName, 3).width, c.mipmaps ? 1 : 0);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
        EXPECT_EQ(value, c.alignmentAfter);

        const TextureLevel level = QueryLevel(info.glName);
        EXPECT_EQ(level.width, 8);
        EXPECT_EQ(level.height, 4);
        EXPECT_EQ(ReadRgba(info.glName), pixels);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// RGB rows of 3 or 6 bytes under an alignment of 4 would be read with padding
// the buffer lacks: every mode must read them tightly.
TEST_F(TextureLoaderGl, NarrowRgbRowsAreReadTightlyInEveryMode)
{
    const struct {
        int32_t filterMode;
        uint8_t mipmapping;
    } modes[] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}};
    for (const auto& mode : modes) {
        for (int width : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode.filterMode << "/" << int(mode.mipmapping)
                                            << ", width " << width);
            const int height = 4;
            TextureLoader loader;
            loader.SetFilterMode(mode.filterMode);
            loader.SetMipmapping(mode.mipmapping);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

            // Exactly width x height x 3 bytes, on the heap so ASan sees any overrun.
            std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
            for (size_t i = 0; i < pixels.size(); ++i) {
                pixels[i] = static_cast<uint8_t>(10 + i);
            }
            TextureInfo info{0, TgaImage, width, height, GL_RGB, 24};
            glGenTextures(1, &info.glName);
            loader.UploadTexture(info, pixels.data());

            const std::vector<uint8_t> rgba = ReadRgba(info.glName);
            ASSERT_EQ(rgba.size(), static_cast<size_t>(width) * height * 4);
            for (int p = 0; p < width * height; ++p) {
                ASSERT_EQ(rgba[p * 4 + 0], pixels[p * 3 + 0]) << "pixel " << p;
                ASSERT_EQ(rgba[p * 4 + 1], pixels[p * 3 + 1]) << "pixel " << p;
                ASSERT_EQ(rgba[p * 4 + 2], pixels[p * 3 + 2]) << "pixel " << p;
                ASSERT_EQ(rgba[p * 4 + 3], 255) << "pixel " << p;
            }
            GLint alignment = 0;
            glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
            EXPECT_EQ(alignment, mode.filterMode == 0 ? 1 : 4);
        }
    }
}

}  // namespace
