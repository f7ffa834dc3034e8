#include "texture/texture_loader.h"

#include <cmath>

#include "shell/gl_api.h"

TextureLoader GlobalTextureLoader;

TextureLoader::TextureLoader()
{
    SetColourKey(1, 0, 0, 0);
    SetHighQuality(1);
    SetMipmapping(0);
    SetFilterMode(NearestFilter);
}

TextureLoader::~TextureLoader() = default;

void TextureLoader::SetColourKey(uint8_t on, uint8_t red, uint8_t green, uint8_t blue)
{
    colourKeyOn = on;
    // Switching the key off keeps the colour, so switching it back on with the
    // same colour needs no caller bookkeeping.
    if (on == 1) {
        keyRed = red;
        keyGreen = green;
        keyBlue = blue;
    }
}

void TextureLoader::SetHighQuality(uint8_t flag) { highQuality = flag; }

void TextureLoader::SetMipmapping(uint8_t flag) { mipmapping = flag; }

void TextureLoader::SetFilterMode(int32_t mode) { filterMode = mode; }

int TextureLoader::LoadTextureResource(int id, const char* type, TextureInfo& info, int32_t kind)
{
    switch (kind) {
    case PlainPicture:
    case KeyablePicture:
        info.kind = kind;
        return LoadPictureResource(id, type, info);
    case TgaImage:
        info.kind = kind;
        return LoadTgaResource(id, type, info);
    case ReservedKind:
        info.kind = kind;
        return 0;
    default:
        return 0;
    }
}

int NearestPowerOfTwo(int n)
{
    if (n <= 0) {
        return 1;
    }
    // Nearest on a logarithmic scale: the step from 2^k to 2^(k+1) lies at 2^k * sqrt(2).
    const int exponent = static_cast<int>(std::floor(std::log(static_cast<double>(n)) / std::log(2.0) + 0.5));
    return exponent >= 30 ? (1 << 30) : (1 << exponent);
}

void FitTextureSizeWithin(int width, int height, int maxSize, uint8_t highQuality,
                          int& targetWidth, int& targetHeight)
{
    targetWidth = width > maxSize ? maxSize : NearestPowerOfTwo(width);
    targetHeight = height > maxSize ? maxSize : NearestPowerOfTwo(height);
    // Low quality halves only what is wide: a tall, narrow image keeps its size.
    if (highQuality == 0 && targetWidth > 64) {
        targetWidth /= 2;
        targetHeight /= 2;
    }
}

void TextureLoader::FitTextureSize(int width, int height, int& targetWidth, int& targetHeight) const
{
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    FitTextureSizeWithin(width, height, maxSize, highQuality, targetWidth, targetHeight);
}

void TextureLoader::UploadTexture(const TextureInfo& info, const unsigned char* pixels) const
{
    const GLint components = info.format == GL_RGBA ? 4 : 3;
    glBindTexture(GL_TEXTURE_2D, info.glName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);

    // Modes 1 and 2 upload under whatever unpack alignment is in force. Rows of
    // 3-byte pixels that are not a multiple of 4 bytes long would then be read
    // with padding that the buffer does not have, so for those uploads the
    // alignment is 1 and the previous value is put back afterwards.
    const bool unpaddedRows = components == 3 && (static_cast<long long>(info.width) * 3) % 4 != 0;
    GLint savedAlignment = 0;
    auto packTightly = [&] {
        if (unpaddedRows) {
            glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        }
    };
    auto restoreAlignment = [&] {
        if (unpaddedRows) {
            glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
        }
    };

    if (filterMode == LinearFilter || filterMode == TrilinearFilter) {
        // Trilinear always builds the mipmap chain; linear only when asked to.
        const bool mipmaps = filterMode == TrilinearFilter || mipmapping != 0;
        const GLint minFilter = filterMode == TrilinearFilter ? GL_LINEAR_MIPMAP_LINEAR
                                : mipmaps                     ? GL_LINEAR_MIPMAP_NEAREST
                                                              : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        packTightly();
        if (mipmaps) {
            gluBuild2DMipmaps(GL_TEXTURE_2D, components, info.width, info.height, info.format,
                              GL_UNSIGNED_BYTE, pixels);
        } else {
            glTexImage2D(GL_TEXTURE_2D, 0, components, info.width, info.height, 0, info.format,
                         GL_UNSIGNED_BYTE, pixels);
        }
        restoreAlignment();
    } else {
        // Nearest filtering; the tight alignment stays in force for later uploads.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, components, info.width, info.height, 0, info.format,
                     GL_UNSIGNED_BYTE, pixels);
    }
}
