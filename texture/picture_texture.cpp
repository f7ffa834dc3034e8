// Pictures (JPEG, GIF) to RGBA textures, over the platform's picture decoder.
#include <cstddef>

#include "shell/gl_api.h"
#include "texture/picture_decoder.h"
#include "texture/resource_bytes.h"
#include "texture/texture_loader.h"

namespace {

// Renders the picture at its texture size, converts the rendered blue, green,
// red, unused pixels in place to red, green, blue, alpha and uploads them.
// Releases the picture whatever happens.
int UploadPicture(TextureLoader& loader, DecodedPicture* picture, bool applyKey, TextureInfo& info)
{
    int pictureWidth = 0;
    int pictureHeight = 0;
    PictureSize(picture, pictureWidth, pictureHeight);
    int width = 0;
    int height = 0;
    loader.FitTextureSize(pictureWidth, pictureHeight, width, height);

    unsigned char* pixels = RenderPicture(picture, width, height);
    if (pixels == nullptr) {
        ClosePicture(picture);
        return 0;
    }

    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    unsigned char* pixel = pixels;
    if (applyKey) {
        const unsigned char keyRed = loader.keyRed;
        const unsigned char keyGreen = loader.keyGreen;
        const unsigned char keyBlue = loader.keyBlue;
        for (size_t i = 0; i < count; ++i, pixel += 4) {
            const unsigned char blue = pixel[0];
            const unsigned char green = pixel[1];
            const unsigned char red = pixel[2];
            const bool keyed = red == keyRed && green == keyGreen && blue == keyBlue;
            pixel[0] = red;
            pixel[2] = blue;
            pixel[3] = keyed ? 0 : 255;
        }
    } else {
        for (size_t i = 0; i < count; ++i, pixel += 4) {
            const unsigned char blue = pixel[0];
            pixel[0] = pixel[2];
            pixel[2] = blue;
            pixel[3] = 255;
        }
    }

    info.width = width;
    info.height = height;
    info.bitsPerPixel = 32;
    info.format = GL_RGBA;
    GLuint name = 0;
    glGenTextures(1, &name);
    info.glName = name;
    loader.UploadTexture(info, pixels);

    ClosePicture(picture);
    return 1;
}

}  // namespace

int TextureLoader::LoadPictureResource(int id, const char* type, TextureInfo& info)
{
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!FindResourceBytes(id, type, &bytes, &size)) {
        return 0;
    }
    DecodedPicture* picture = OpenPictureBytes(bytes, size);
    if (picture == nullptr) {
        return 0;
    }
    // A plain picture never takes the key, so black in a photograph stays opaque.
    const bool applyKey = colourKeyOn == 1 && info.kind != PlainPicture;
    return UploadPicture(*this, picture, applyKey, info);
}

int TextureLoader::LoadPictureFile(const char* path, TextureInfo& info)
{
    DecodedPicture* picture = OpenPictureFile(path);
    if (picture == nullptr) {
        return 0;
    }
    // Files carry no kind of their own here: the key follows the option alone.
    return UploadPicture(*this, picture, colourKeyOn == 1, info);
}
