// TGA images to textures, from a file, from the resources through a temporary
// file, and the temporary-file bridge itself.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "shell/gl_api.h"
#include "texture/resource_bytes.h"
#include "texture/temp_file.h"
#include "texture/texture_loader.h"
#include "texture/tga_decoder.h"

namespace {

constexpr size_t kTempPathCapacity = 260;

// The file's size in bytes, or 0 when it has none that can be found (a pipe,
// a device): such a file can then hold no image.
uint64_t FileSize(std::FILE* file)
{
#if defined(_WIN32)
    if (_fseeki64(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const long long size = _ftelli64(file);
#else
    if (fseeko(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const long long size = ftello(file);
#endif
    return size > 0 ? static_cast<uint64_t>(size) : 0;
}

bool SeekTo(std::FILE* file, uint64_t offset)
{
#if defined(_WIN32)
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

// Reads the pixel data of an accepted header into a new image buffer;
// nullptr when the file cannot hold the image or its data is broken.
unsigned char* ReadTgaPixels(std::FILE* file, const TgaHeader& header)
{
    const uint64_t start = kTgaHeaderSize + static_cast<uint64_t>(header.idLength);
    const uint64_t fileSize = FileSize(file);
    const uint64_t available = fileSize > start ? fileSize - start : 0;
    // A 40-byte file must not get to ask for gigabytes.
    if (!TgaDataCanFill(header, available) || !SeekTo(file, start)) {
        return nullptr;
    }
    const uint64_t imageBytes = TgaImageBytes(header);
    if (imageBytes > SIZE_MAX) {
        return nullptr;
    }
    auto* image = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(imageBytes)));
    if (image == nullptr) {
        return nullptr;
    }

    bool ok = false;
    if (header.imageType == 2) {
        // Read straight into the image and convert there.
        const size_t got = std::fread(image, 1, static_cast<size_t>(imageBytes), file);
        ok = got == imageBytes && DecodeTgaPixels(header, image, got, image);
    } else {
        uint64_t wanted = TgaDataBytesWanted(header);
        if (wanted > available) {
            wanted = available;
        }
        auto* data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(wanted)));
        if (data != nullptr) {
            const size_t got = std::fread(data, 1, static_cast<size_t>(wanted), file);
            ok = DecodeTgaPixels(header, data, got, image);
            std::free(data);
        }
    }
    if (!ok) {
        std::free(image);
        return nullptr;
    }
    return image;
}

// gluScaleImage pads rows to the pack and unpack alignments in force; the
// buffers here have none, so both are 1 for the call and then put back.
bool ScaleTightly(GLenum format, int width, int height, const unsigned char* in, int targetWidth,
                  int targetHeight, unsigned char* out)
{
    GLint packAlignment = 0;
    GLint unpackAlignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLint result = gluScaleImage(format, width, height, GL_UNSIGNED_BYTE, in, targetWidth, targetHeight,
                                       GL_UNSIGNED_BYTE, out);
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    return result == 0;
}

}  // namespace

int TextureLoader::LoadTgaFile(const char* path, TextureInfo& info)
{
    if (path == nullptr) {
        return 0;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return 0;
    }
    unsigned char headerBytes[kTgaHeaderSize];
    if (std::fread(headerBytes, 1, sizeof headerBytes, file) != sizeof headerBytes) {
        std::fclose(file);
        return 0;
    }
    const TgaHeader header = ParseTgaHeader(headerBytes);
    const int bytesPerPixel = TgaBytesPerPixel(header);
    // The header's description is kept even when the image is refused.
    info.width = header.width;
    info.height = header.height;
    info.bitsPerPixel = header.depth;
    info.format = bytesPerPixel == 3 ? GL_RGB : GL_RGBA;
    if (!TgaHeaderAccepted(header)) {
        std::fclose(file);
        return 0;
    }
    unsigned char* image = ReadTgaPixels(file, header);
    std::fclose(file);
    if (image == nullptr) {
        return 0;
    }

    int targetWidth = 0;
    int targetHeight = 0;
    FitTextureSize(header.width, header.height, targetWidth, targetHeight);
    if (targetWidth != header.width || targetHeight != header.height) {
        const size_t scaledBytes = static_cast<size_t>(targetWidth) * static_cast<size_t>(targetHeight) * bytesPerPixel;
        auto* scaled = static_cast<unsigned char*>(std::malloc(scaledBytes));
        if (scaled == nullptr
            || !ScaleTightly(info.format, header.width, header.height, image, targetWidth, targetHeight, scaled)) {
            std::free(scaled);
            std::free(image);
            return 0;
        }
        std::free(image);
        image = scaled;
        info.width = targetWidth;
        info.height = targetHeight;
    }

    GLuint name = 0;
    glGenTextures(1, &name);
    info.glName = name;
    UploadTexture(info, image);
    std::free(image);
    return 1;
}

int TextureLoader::LoadTgaResource(int id, const char* type, TextureInfo& info)
{
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!FindResourceBytes(id, type, &bytes, &size)) {
        return 0;
    }
    return LoadViaTempFile(bytes, size, info, TgaImage);
}

int TextureLoader::LoadViaTempFile(const unsigned char* bytes, size_t size, TextureInfo& info, int32_t kind)
{
    char path[kTempPathCapacity];
    if (!WriteTempFile(bytes, size, path, sizeof path)) {
        return 0;
    }
    info.kind = kind;
    const int result = kind == TgaImage ? LoadTgaFile(path, info) : LoadPictureFile(path, info);
    DeleteTempFile(path);
    return result;
}
