// Pictures decoded by the OLE picture object into GL textures: the module's
// twelve resources, the file route through the temporary file, and failures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shell/gl_api.h"
#include "texture/resource_bytes.h"
#include "texture/texture_loader.h"
#include "wgl_test_window.h"

namespace {

struct Level {
    GLint width = 0;
    GLint height = 0;
};

Level QueryLevel(GLuint name)
{
    Level level;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &level.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &level.height);
    return level;
}

// Level 0 as tightly packed RGBA, bottom row first.
std::vector<uint8_t> ReadRgba(GLuint name)
{
    const Level level = QueryLevel(name);
    std::vector<uint8_t> pixels(static_cast<size_t>(level.width) * level.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The loader as the saver sets it up: black colour key, high quality.
TextureLoader SaverLoader()
{
    TextureLoader loader;
    loader.SetColourKey(1, 0, 0, 0);
    loader.SetHighQuality(1);
    loader.SetMipmapping(1);
    return loader;
}

const uint8_t* PixelAt(const std::vector<uint8_t>& rgba, int width, int x, int row)
{
    return &rgba[(static_cast<size_t>(row) * width + x) * 4];
}

using PictureTexture = WglTest;

TEST_F(PictureTexture, StarSpriteIsKeyedOnItsBlackCorners)
{
    TextureLoader loader = SaverLoader();
    TextureInfo info = {};
    ASSERT_EQ(loader.LoadTextureResource(119, "IMAGES", info, KeyablePicture), 1);
    EXPECT_NE(info.glName, 0u);
    EXPECT_EQ(info.width, 32);
    EXPECT_EQ(info.height, 32);
    EXPECT_EQ(info.format, GLenum(GL_RGBA));
    EXPECT_EQ(info.bitsPerPixel, 32);

    const std::vector<uint8_t> rgba = ReadRgba(info.glName);
    ASSERT_EQ(rgba.size(), 32u * 32u * 4u);
    // Exactly the eight pure black corner pixels are transparent.
    int transparent = 0;
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 32; ++x) {
            const uint8_t* p = PixelAt(rgba, 32, x, row);
            const bool black = p[0] == 0 && p[1] == 0 && p[2] == 0;
            EXPECT_EQ(p[3], black ? 0 : 255) << x << "," << row;
            transparent += p[3] == 0;
        }
    }
    EXPECT_EQ(transparent, 8);
    for (const auto& corner : {std::pair{0, 0}, {1, 0}, {30, 0}, {31, 0}, {0, 31}, {1, 31}, {30, 31}, {31, 31}})
        EXPECT_EQ(PixelAt(rgba, 32, corner.first, corner.second)[3], 0);

    // As a plain picture nothing is keyed.
    TextureInfo plain = {};
    ASSERT_EQ(loader.LoadTextureResource(119, "IMAGES", plain, PlainPicture), 1);
    const std::vector<uint8_t> opaque = ReadRgba(plain.glName);
    for (size_t i = 3; i < opaque.size(); i += 4)
        ASSERT_EQ(opaque[i], 255);
}

TEST_F(PictureTexture, BackgroundsFillSquareTextures)
{
    TextureLoader loader = SaverLoader();
    for (int id = 120; id <= 130; ++id) {
        SCOPED_TRACE(id);
        TextureInfo info = {};
        ASSERT_EQ(loader.LoadTextureResource(id, "IMAGES", info, PlainPicture), 1);
        EXPECT_EQ(info.kind, PlainPicture);
        EXPECT_EQ(info.width, 1024);
        EXPECT_EQ(info.height, 1024);
        EXPECT_EQ(info.format, GLenum(GL_RGBA));
        EXPECT_EQ(info.bitsPerPixel, 32);
        const Level level = QueryLevel(info.glName);
        EXPECT_EQ(level.width, 1024);
        EXPECT_EQ(level.height, 1024);
        // A photograph: opaque everywhere, and not a blank render.
        const std::vector<uint8_t> rgba = ReadRgba(info.glName);
        uint64_t sum = 0;
        bool opaque = true;
        for (size_t i = 0; i < rgba.size(); i += 4) {
            sum += rgba[i] + rgba[i + 1] + rgba[i + 2];
            opaque = opaque && rgba[i + 3] == 255;
        }
        EXPECT_TRUE(opaque);
        EXPECT_GT(sum, 1024u * 1024u * 3u * 8u);
        glDeleteTextures(1, &info.glName);
    }

    loader.SetHighQuality(0);
    TextureInfo low = {};
    ASSERT_EQ(loader.LoadTextureResource(120, "IMAGES", low, PlainPicture), 1);
    EXPECT_EQ(low.width, 512);
    EXPECT_EQ(low.height, 512);
}

TEST_F(PictureTexture, FileRouteLandsUprightAndAppliesTheKey)
{
    // The 64 x 48 fixture is white above, black below. Loaded from a file, the
    // key applies whatever the kind; GL's first row is the picture's bottom.
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    ASSERT_TRUE(FindResourceBytes(1, "FIXTURE", &bytes, &size));
    TextureLoader loader = SaverLoader();
    TextureInfo info = {};
    ASSERT_EQ(loader.LoadViaTempFile(bytes, size, info, PlainPicture), 1);
    EXPECT_EQ(info.kind, PlainPicture);
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 64);
    const std::vector<uint8_t> rgba = ReadRgba(info.glName);
    const uint8_t* bottom = PixelAt(rgba, 64, 10, 2);
    const uint8_t* top = PixelAt(rgba, 64, 10, 61);
    EXPECT_EQ((std::vector<int>{bottom[0], bottom[1], bottom[2], bottom[3]}), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ((std::vector<int>{top[0], top[1], top[2], top[3]}), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(GetFileAttributesA("glTEMP$$.tmp"), INVALID_FILE_ATTRIBUTES) << "temporary file left behind";
}

TEST_F(PictureTexture, TgaResourcePassesThroughTheTemporaryFile)
{
    TextureLoader loader = SaverLoader();
    TextureInfo info = {};
    ASSERT_EQ(loader.LoadTextureResource(3, "FIXTURE", info, TgaImage), 1);
    EXPECT_EQ(info.kind, TgaImage);
    EXPECT_EQ(info.width, 16);
    EXPECT_EQ(info.height, 8);
    EXPECT_EQ(info.format, GLenum(GL_RGB));
    EXPECT_EQ(info.bitsPerPixel, 24);
    const std::vector<uint8_t> rgba = ReadRgba(info.glName);
    EXPECT_EQ((std::vector<int>{rgba[0], rgba[1], rgba[2]}), (std::vector<int>{10, 200, 30}));
    EXPECT_EQ(GetFileAttributesA("glTEMP$$.tmp"), INVALID_FILE_ATTRIBUTES) << "temporary file left behind";
}

TEST_F(PictureTexture, WhatIsNoPictureLeavesTheInfoAlone)
{
    TextureLoader loader = SaverLoader();
    struct Case {
        int id;
        const char* type;
    };
    for (const Case c : {Case{2, "FIXTURE"}, Case{131, "IMAGES"}, Case{119, "NOSUCHTYPE"}}) {
        SCOPED_TRACE(c.id);
        TextureInfo info = {77, 0, 5, 6, 7, 8};
        EXPECT_EQ(loader.LoadTextureResource(c.id, c.type, info, KeyablePicture), 0);
        EXPECT_EQ(info.glName, 77u);
        EXPECT_EQ(info.kind, KeyablePicture);
        EXPECT_EQ(info.width, 5);
        EXPECT_EQ(info.height, 6);
        EXPECT_EQ(info.format, 7u);
        EXPECT_EQ(info.bitsPerPixel, 8);
    }
    TextureInfo info = {77, 0, 5, 6, 7, 8};
    EXPECT_EQ(loader.LoadPictureFile("Z:\\no\\such\\picture.jpg", info), 0);
    EXPECT_EQ(info.glName, 77u);
    const std::string tooLong(400, 'a');
    EXPECT_EQ(loader.LoadPictureFile(tooLong.c_str(), info), 0);
    EXPECT_EQ(info.glName, 77u);
}

}  // namespace
