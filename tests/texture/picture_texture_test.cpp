// Pictures from the resources and from files: decoding, keying, orientation,
// and what a broken picture leaves behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "tests/support/gl_test.h"
#include "tests/texture/texture_test_support.h"
#include "texture/picture_decoder.h"
#include "texture/resource_bytes.h"

namespace {

const std::string kFixtures = TEXTURE_FIXTURES;
const std::string kPictures = PICTURE_DIR;

// The sprite's eight pure black pixels, (x, y) with y counted from the top.
const int kSpriteBlack[8][2] = {{0, 0}, {1, 0}, {30, 0}, {31, 0}, {0, 31}, {1, 31}, {30, 31}, {31, 31}};

bool IsSpriteBlack(int x, int yFromTop)
{
    for (const auto& p : kSpriteBlack) {
        if (p[0] == x && p[1] == yFromTop) {
            return true;
        }
    }
    return false;
}

const uint8_t* Pixel(const std::vector<uint8_t>& rgba, int width, int x, int rowFromBottom)
{
    return &rgba[(static_cast<size_t>(rowFromBottom) * width + x) * 4];
}

// A picture decoded by libjpeg on its own, RGB, top row first: the reference.
struct ReferenceJpeg {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

ReferenceJpeg DecodeReference(const std::vector<uint8_t>& bytes)
{
    ReferenceJpeg picture;
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &picture.rgb[static_cast<size_t>(info.output_scanline) * picture.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return picture;
}

// Mean absolute difference between a texture row and a reference row of equal width.
double RowDifference(const std::vector<uint8_t>& rgba, int textureRow, const ReferenceJpeg& reference,
                     int referenceRow)
{
    double sum = 0;
    for (int x = 0; x < reference.width; ++x) {
        const uint8_t* t = Pixel(rgba, reference.width, x, textureRow);
        const uint8_t* r = &reference.rgb[(static_cast<size_t>(referenceRow) * reference.width + x) * 3];
        sum += std::abs(t[0] - r[0]) + std::abs(t[1] - r[1]) + std::abs(t[2] - r[2]);
    }
    return sum / (reference.width * 3.0);
}

class PictureTexture : public GlTest {};

TEST_F(PictureTexture, SpriteAsKeyablePictureIsTransparentExactlyOnItsBlackPixels)
{
    TextureLoader loader;
    TextureInfo info = ZeroInfo();
    ASSERT_EQ(loader.LoadTextureResource(119, "IMAGES", info, KeyablePicture), 1);
    EXPECT_NE(info.glName, 0u);
    EXPECT_EQ(info.kind, KeyablePicture);
    EXPECT_EQ(info.width, 32);
    EXPECT_EQ(info.height, 32);
    EXPECT_EQ(info.format, static_cast<uint32_t>(GL_RGBA));
    EXPECT_EQ(info.bitsPerPixel, 32);

    const TextureLevel level = QueryLevel(info.glName);
    EXPECT_EQ(level.width, 32);
    EXPECT_EQ(level.height, 32);
    EXPECT_EQ(level.internalFormat, 4);  // uploaded with a component count of 4

    const std::vector<uint8_t> rgba = ReadRgba(info.glName);
    int transparent = 0;
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 32; ++x) {
            const uint8_t* p = Pixel(rgba, 32, x, row);
            const int yFromTop = 31 - row;
            if (IsSpriteBlack(x, yFromTop)) {
                EXPECT_EQ(p[3], 0) << x << "," << yFromTop;
                EXPECT_EQ(p[0] | p[1] | p[2], 0) << "a keyed pixel keeps its colour";
                ++transparent;
            } else {
                EXPECT_EQ(p[3], 255) << x << "," << yFromTop;
                EXPECT_GE(p[0], 2);  // every other sprite pixel is at least (2, 2, 2)
            }
        }
    }
    EXPECT_EQ(transparent, 8);
    // The glow is brightest in the middle.
    EXPECT_GT(Pixel(rgba, 32, 16, 16)[0], 200);
}

TEST_F(PictureTexture, KeyIsOffForPlainPicturesAndForAnyFlagButOne)
{
    const struct {
        const char* name;
        int32_t kind;
        uint8_t keyOn;
    } cases[] = {
        {"plain picture, key on", PlainPicture, 1},
        {"keyable picture, key off", KeyablePicture, 0},
        {"keyable picture, key flag 2", KeyablePicture, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextureLoader loader;
        loader.SetColourKey(c.keyOn, 0, 0, 0);
        TextureInfo info = ZeroInfo();
        ASSERT_EQ(loader.LoadTextureResource(119, "IMAGES", info, c.kind), 1);
        const std::vector<uint8_t> rgba = ReadRgba(info.glName);
        for (size_t i = 3; i < rgba.size(); i += 4) {
            ASSERT_EQ(rgba[i], 255) << "pixel " << i / 4;
        }
        // The corner stays black, only opaque.
        EXPECT_EQ(Pixel(rgba, 32, 0, 0)[0], 0);
    }
}

TEST_F(PictureTexture, AKeyColourMatchesExactly)
{
    // Key on the colour of the sprite's centre: exactly the pixels of that
    // colour turn transparent, the black corners no longer do.
    TextureLoader plain;
    TextureInfo reference = ZeroInfo();
    ASSERT_EQ(plain.LoadTextureResource(119, "IMAGES", reference, PlainPicture), 1);
    const std::vector<uint8_t> colours = ReadRgba(reference.glName);
    const uint8_t* centre = Pixel(colours, 32, 16, 16);

    TextureLoader loader;
    loader.SetColourKey(1, centre[0], centre[1], centre[2]);
    TextureInfo info = ZeroInfo();
    ASSERT_EQ(loader.LoadTextureResource(119, "IMAGES", info, KeyablePicture), 1);
    const std::vector<uint8_t> rgba = ReadRgba(info.glName);
    int keyed = 0;
    for (size_t p = 0; p < 32 * 32; ++p) {
        const bool same = colours[p * 4] == centre[0] && colours[p * 4 + 1] == centre[1]
            && colours[p * 4 + 2] == centre[2];
        ASSERT_EQ(rgba[p * 4 + 3], same ? 0 : 255) << "pixel " << p;
        ASSERT_EQ(rgba[p * 4], colours[p * 4]);
        keyed += same ? 1 : 0;
    }
    EXPECT_GE(keyed, 1);
}

TEST_F(PictureTexture, BackgroundFillsASquareTextureBottomRowFirst)
{
    TextureLoader loader;
    loader.SetMipmapping(1);  // as the scene sets it; mode 0 ignores it
    TextureInfo info = ZeroInfo();
    ASSERT_EQ(loader.LoadTextureResource(120, "IMAGES", info, PlainPicture), 1);
    EXPECT_EQ(info.width, 1024);
    EXPECT_EQ(info.height, 1024);
    EXPECT_EQ(info.format, static_cast<uint32_t>(GL_RGBA));
    EXPECT_EQ(info.bitsPerPixel, 32);
    EXPECT_EQ(info.kind, PlainPicture);
    const TextureLevel level = QueryLevel(info.glName);
    EXPECT_EQ(level.width, 1024);
    EXPECT_EQ(level.height, 1024);
    EXPECT_EQ(QueryLevel(info.glName, 1).width, 0) << "nearest filtering builds no mipmaps";

    const std::vector<uint8_t> rgba = ReadRgba(info.glName);
    for (size_t i = 3; i < rgba.size(); i += 4) {
        ASSERT_EQ(rgba[i], 255);
    }
    const ReferenceJpeg jpeg = DecodeReference(ReadFile(kPictures + "/120-m31-andromeda.jpg"));
    ASSERT_EQ(jpeg.width, 1024);
    ASSERT_EQ(jpeg.height, 768);
    const double bottomToBottom = RowDifference(rgba, 0, jpeg, 767);
    const double bottomToTop = RowDifference(rgba, 0, jpeg, 0);
    const double topToTop = RowDifference(rgba, 1023, jpeg, 0);
    EXPECT_LT(bottomToBottom, 3.0);
    EXPECT_LT(topToTop, 3.0);
    EXPECT_GT(bottomToTop, bottomToBottom + 3.0) << "the picture's top and bottom rows must differ for this check";
    // Stretched by 4/3: texture row 512 lies near picture row 768 - 1 - 384 (from the top).
    EXPECT_LT(RowDifference(rgba, 512, jpeg, 767 - 384), 12.0);
}

TEST_F(PictureTexture, LowQualityHalvesABackground)
{
    TextureLoader loader;
    loader.SetHighQuality(0);
    TextureInfo info = ZeroInfo();
    ASSERT_EQ(loader.LoadTextureResource(125, "IMAGES", info, PlainPicture), 1);
    EXPECT_EQ(info.width, 512);
    EXPECT_EQ(info.height, 512);
    const TextureLevel level = QueryLevel(info.glName);
    EXPECT_EQ(level.width, 512);
    EXPECT_EQ(level.height, 512);
}

// The JPEG fixtures run red at the top to blue at the bottom.
TEST_F(PictureTexture, BaselineAndProgressiveJpegFilesLoadUpright)
{
    ScratchDirectory scratch;
    for (const char* name : {"gradient-baseline.jpg", "gradient-progressive.jpg"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ReadFile(kFixtures + "/" + name);
        ASSERT_FALSE(bytes.empty());
        TextureLoader loader;
        TextureInfo info = ZeroInfo();
        ASSERT_EQ(loader.LoadViaTempFile(bytes.data(), bytes.size(), info, PlainPicture), 1);
        EXPECT_EQ(info.kind, PlainPicture);
        EXPECT_EQ(info.width, 64);   // 48 is nearer 64 than 32 on the log scale
        EXPECT_EQ(info.height, 32);  // 36 is nearer 32
        const std::vector<uint8_t> rgba = ReadRgba(info.glName);
        const uint8_t* bottom = Pixel(rgba, 64, 32, 0);
        const uint8_t* top = Pixel(rgba, 64, 32, 31);
        EXPECT_GT(bottom[2], 200);
        EXPECT_LT(bottom[0], 50);
        EXPECT_GT(top[0], 200);
        EXPECT_LT(top[2], 50);
        EXPECT_FALSE(Exists(scratch.TempFile()));
    }
}

// A file's picture takes the key whatever kind the record holds; the GIF's
// transparent pixels come out black, so they are the ones keyed.
TEST_F(PictureTexture, PictureFilesTakeTheKeyWhateverTheKind)
{
    ScratchDirectory scratch;
    const std::vector<uint8_t> bytes = ReadFile(kFixtures + "/half-transparent.gif");
    ASSERT_FALSE(bytes.empty());
    for (int32_t kind : {int32_t{PlainPicture}, int32_t{KeyablePicture}, int32_t{0}}) {
        SCOPED_TRACE(kind);
        TextureLoader loader;
        TextureInfo info = ZeroInfo();
        ASSERT_EQ(loader.LoadViaTempFile(bytes.data(), bytes.size(), info, kind), 1);
        EXPECT_EQ(info.kind, kind);
        EXPECT_EQ(info.width, 16);
        EXPECT_EQ(info.height, 16);
        const std::vector<uint8_t> rgba = ReadRgba(info.glName);
        for (int row = 0; row < 16; ++row) {
            for (int x = 0; x < 16; ++x) {
                const uint8_t* p = Pixel(rgba, 16, x, row);
                if (x < 8) {
                    ASSERT_EQ(p[0] | p[1] | p[2] | p[3], 0) << x << "," << row;
                } else {
                    ASSERT_EQ(p[0] & p[1] & p[2] & p[3], 255) << x << "," << row;
                }
            }
        }
    }
    // With the key off, the transparent half is opaque black.
    TextureLoader unkeyed;
    unkeyed.SetColourKey(0, 0, 0, 0);
    TextureInfo info = ZeroInfo();
    ASSERT_EQ(unkeyed.LoadViaTempFile(bytes.data(), bytes.size(), info, KeyablePicture), 1);
    const std::vector<uint8_t> rgba = ReadRgba(info.glName);
    EXPECT_EQ(Pixel(rgba, 16, 0, 0)[3], 255);
    EXPECT_EQ(Pixel(rgba, 16, 0, 0)[0], 0);
}

std::vector<uint8_t> Resource(int id)
{
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    EXPECT_TRUE(FindResourceBytes(id, "IMAGES", &bytes, &size));
    return std::vector<uint8_t>(bytes, bytes + size);
}

std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t count)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::min(count, bytes.size()));
}

struct BrokenPicture {
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<BrokenPicture> BrokenPictures()
{
    const std::vector<uint8_t> jpeg = Resource(121);
    const std::vector<uint8_t> progressive = ReadFile(kFixtures + "/gradient-progressive.jpg");
    const std::vector<uint8_t> gif = Resource(119);
    std::vector<BrokenPicture> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"not a picture", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}});
    cases.push_back({"JPEG start marker only", {0xFF, 0xD8, 0xFF}});
    cases.push_back({"JPEG headers only", Prefix(jpeg, 600)});
    cases.push_back({"JPEG cut in half", Prefix(jpeg, jpeg.size() / 2)});
    cases.push_back({"progressive JPEG cut short", Prefix(progressive, progressive.size() - 200)});
    {
        // Width 0 in the frame header.
        std::vector<uint8_t> bytes = jpeg;
        for (size_t i = 2; i + 9 < bytes.size(); ++i) {
            if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
                bytes[i + 7] = 0;
                bytes[i + 8] = 0;
                break;
            }
        }
        cases.push_back({"JPEG of width 0", bytes});
    }
    {
        std::vector<uint8_t> bytes = Prefix(jpeg, 2);
        for (int i = 0; i < 4000; ++i) {
            bytes.push_back(static_cast<uint8_t>((i * 37) ^ (i >> 3)));
        }
        cases.push_back({"JPEG start then noise", bytes});
    }
    cases.push_back({"GIF signature only", {'G', 'I', 'F', '8', '9', 'a'}});
    cases.push_back({"GIF screen descriptor only", Prefix(gif, 13)});
    cases.push_back({"GIF cut in half", Prefix(gif, gif.size() / 2)});
    {
        // An LZW minimum code size no GIF may have.
        std::vector<uint8_t> bytes = gif;
        size_t at = 13 + ((bytes[10] & 0x80) != 0 ? 3u << ((bytes[10] & 7) + 1) : 0);
        while (at < bytes.size() && bytes[at] == 0x21) {  // skip extensions
            at += 2;
            while (at < bytes.size() && bytes[at] != 0) {
                at += bytes[at] + 1;
            }
            ++at;
        }
        EXPECT_EQ(bytes.at(at), 0x2C) << "image descriptor";
        const uint8_t flags = bytes.at(at + 9);
        at += 10 + ((flags & 0x80) != 0 ? 3u << ((flags & 7) + 1) : 0);
        bytes.at(at) = 15;
        cases.push_back({"GIF with a bad code size", bytes});
    }
    {
        // A logical screen of 65535 x 65535: far too large to draw.
        std::vector<uint8_t> bytes = gif;
        bytes[6] = bytes[7] = bytes[8] = bytes[9] = 0xFF;
        cases.push_back({"GIF of 65535 x 65535", bytes});
    }
    return cases;
}

TEST_F(PictureTexture, BrokenPicturesLoadNothingAndLeaveTheRecord)
{
    ScratchDirectory scratch;
    const TextureInfo sentinel{77, 9, 11, 12, 13, 14};
    for (const BrokenPicture& broken : BrokenPictures()) {
        SCOPED_TRACE(broken.name);
        EXPECT_EQ(OpenPictureBytes(broken.bytes.data(), broken.bytes.size()), nullptr);

        TextureLoader loader;
        TextureInfo info = sentinel;
        EXPECT_EQ(loader.LoadViaTempFile(broken.bytes.data(), broken.bytes.size(), info, PlainPicture), 0);
        TextureInfo expected = sentinel;
        expected.kind = PlainPicture;
        EXPECT_TRUE(SameInfo(info, expected));
        EXPECT_FALSE(Exists(scratch.TempFile()));
    }
}

TEST_F(PictureTexture, MissingPictureFileLoadsNothing)
{
    TextureLoader loader;
    TextureInfo info{77, 2, 11, 12, 13, 14};
    EXPECT_EQ(loader.LoadPictureFile("/nonexistent/picture.jpg", info), 0);
    EXPECT_EQ(loader.LoadPictureFile("/", info), 0);
    EXPECT_EQ(info.glName, 77u);
    EXPECT_EQ(info.width, 11);
}

// Native-size renders of two encodings of one picture must agree.
std::vector<uint8_t> RenderNative(const std::vector<uint8_t>& bytes)
{
    DecodedPicture* picture = OpenPictureBytes(bytes.data(), bytes.size());
    if (picture == nullptr) {
        return {};
    }
    int width = 0;
    int height = 0;
    PictureSize(picture, width, height);
    const unsigned char* pixels = RenderPicture(picture, width, height);
    std::vector<uint8_t> copy(pixels, pixels + static_cast<size_t>(width) * height * 4);
    ClosePicture(picture);
    return copy;
}

TEST(PictureDecoder, InterlacedGifRowsLandWhereThePlainOnesDo)
{
    const std::vector<uint8_t> plain = RenderNative(ReadFile(kFixtures + "/gradient.gif"));
    const std::vector<uint8_t> interlaced = RenderNative(ReadFile(kFixtures + "/gradient-interlaced.gif"));
    ASSERT_EQ(plain.size(), 16u * 16 * 4);
    EXPECT_EQ(interlaced, plain);
    // Bottom-up blue, green, red: the first row in memory is the blue bottom.
    EXPECT_GT(plain[0], 200);
    EXPECT_LT(plain[2], 50);
    EXPECT_GT(plain[plain.size() - 2], 200);
}

TEST(PictureDecoder, GreyJpegGivesGreyPixels)
{
    const std::vector<uint8_t> grey = RenderNative(ReadFile(kFixtures + "/grey.jpg"));
    ASSERT_EQ(grey.size(), 16u * 16 * 4);
    for (size_t p = 0; p < grey.size(); p += 4) {
        ASSERT_EQ(grey[p], grey[p + 1]);
        ASSERT_EQ(grey[p], grey[p + 2]);
    }
    EXPECT_LT(grey[0], 30);                // black at the bottom
    EXPECT_GT(grey[grey.size() - 4], 225);  // white at the top
}

TEST(PictureDecoder, RendersAtAnySizeAndRendersAgain)
{
    const std::vector<uint8_t> gif = Resource(119);
    DecodedPicture* picture = OpenPictureBytes(gif.data(), gif.size());
    ASSERT_NE(picture, nullptr);
    int width = 0;
    int height = 0;
    PictureSize(picture, width, height);
    EXPECT_EQ(width, 32);
    EXPECT_EQ(height, 32);
    // Enlarged, reduced in one direction, reduced in both, then at its own size.
    for (const auto& size : {std::pair{64, 64}, std::pair{64, 8}, std::pair{4, 4}, std::pair{1, 1}, std::pair{32, 32}}) {
        const unsigned char* pixels = RenderPicture(picture, size.first, size.second);
        ASSERT_NE(pixels, nullptr) << size.first << " x " << size.second;
        // The centre of the glow stays bright, the corner dark.
        const size_t centre = (static_cast<size_t>(size.second / 2) * size.first + size.first / 2) * 4;
        if (size.first >= 8 && size.second >= 8) {
            EXPECT_GT(pixels[centre], 100) << size.first << " x " << size.second;
            EXPECT_LT(pixels[0], 40) << size.first << " x " << size.second;
        }
    }
    EXPECT_EQ(RenderPicture(picture, 0, 5), nullptr);
    ClosePicture(picture);
}

}  // namespace
