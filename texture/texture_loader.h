#pragma once
// Turns the pictures in the program's resources (and TGA images) into GL textures.
#include <cstddef>
#include <cstdint>

struct TextureInfo {
    uint32_t glName;      // 0 until a load succeeds
    int32_t kind;         // the TextureKind that was asked for
    int32_t width;        // of the image handed to GL
    int32_t height;
    uint32_t format;      // GL_RGB or GL_RGBA
    int32_t bitsPerPixel; // recorded only
};

enum TextureKind : int32_t {
    ReservedKind = 1,
    PlainPicture = 2,
    TgaImage = 4,
    KeyablePicture = 5,
};

enum TextureFilterMode : int32_t { NearestFilter = 0, LinearFilter = 1, TrilinearFilter = 2 };

// 2 to the power floor(log2(n) + 0.5), for n > 0 (1 for n <= 0, at most 2^30).
int NearestPowerOfTwo(int n);

// The texture-size rule with the largest texture size given: each side becomes
// maxSize when it exceeds it, else its nearest power of two; with highQuality 0
// a target wider than 64 is halved in both directions.
void FitTextureSizeWithin(int width, int height, int maxSize, uint8_t highQuality,
                          int& targetWidth, int& targetHeight);

class TextureLoader {
public:
    TextureLoader();
    virtual ~TextureLoader();

    void SetColourKey(uint8_t on, uint8_t red, uint8_t green, uint8_t blue);
    void SetHighQuality(uint8_t flag);
    void SetMipmapping(uint8_t flag);
    void SetFilterMode(int32_t mode);

    // 1 when a texture was created, 0 otherwise.
    int LoadTextureResource(int id, const char* type, TextureInfo& info, int32_t kind);

    // Target texture size for an image; reads GL_MAX_TEXTURE_SIZE.
    void FitTextureSize(int width, int height, int& targetWidth, int& targetHeight) const;
    // Uploads width x height pixels of info's format, bottom row first, to info.glName.
    void UploadTexture(const TextureInfo& info, const unsigned char* pixels) const;

    int LoadPictureResource(int id, const char* type, TextureInfo& info);
    int LoadPictureFile(const char* path, TextureInfo& info);
    int LoadTgaResource(int id, const char* type, TextureInfo& info);
    int LoadTgaFile(const char* path, TextureInfo& info);
    int LoadViaTempFile(const unsigned char* bytes, size_t size, TextureInfo& info, int32_t kind);

    uint8_t colourKeyOn;
    uint8_t highQuality;
    uint8_t mipmapping;
    int32_t filterMode;
    uint8_t keyRed;
    uint8_t keyGreen;
    uint8_t keyBlue;
};

extern TextureLoader GlobalTextureLoader;
