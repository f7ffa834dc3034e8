// Fuzzes TGA decoding: header checks, the size guard, raw and run packets,
// the row flip. The file loader runs the same code on what it reads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "texture/tga_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TgaHeader header;
    unsigned char* image = DecodeTgaBytes(data, size, header);
    if (image != nullptr) {
        // Touch the whole image, so a short buffer shows.
        const uint64_t bytes = TgaImageBytes(header);
        volatile unsigned char sum = 0;
        for (uint64_t i = 0; i < bytes; ++i) {
            sum = sum + image[i];
        }
        std::free(image);
    }
    return 0;
}
