// Fuzzes picture decoding (JPEG, GIF) and the scaled render into the target
// image, both reduced and, for small pictures, enlarged.
#include <cstddef>
#include <cstdint>

#include "texture/linux_picture.h"
#include "texture/picture_decoder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // 65536 pixels reach every path; larger pictures only slow each run.
    SetPicturePixelLimit(1u << 16);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedPicture* picture = OpenPictureBytes(data, size);
    if (picture == nullptr) {
        return 0;
    }
    int width = 0;
    int height = 0;
    PictureSize(picture, width, height);
    if (width <= 0 || height <= 0) {
        __builtin_trap();
    }
    volatile unsigned char sink = 0;
    if (const unsigned char* pixels = RenderPicture(picture, 8, 4)) {
        sink = pixels[8 * 4 * 4 - 1];
    }
    if (static_cast<int64_t>(width) * height <= 64 * 64) {
        if (const unsigned char* pixels = RenderPicture(picture, width * 2, height + 3)) {
            sink = pixels[static_cast<size_t>(width) * 2 * (height + 3) * 4 - 1];
        }
    }
    (void)sink;
    ClosePicture(picture);
    return 0;
}
