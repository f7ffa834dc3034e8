#include "texture/tga_decoder.h"

#include <cstdlib>
#include <cstring>

namespace {

// File order is blue, green, red (alpha); GL wants red first.
void SwapRedBlue(unsigned char* image, uint64_t pixels, int bytesPerPixel)
{
    for (uint64_t i = 0; i < pixels; ++i, image += bytesPerPixel) {
        const unsigned char blue = image[0];
        image[0] = image[2];
        image[2] = blue;
    }
}

// Images stored top row first are turned over, so the bottom row goes first to GL.
void PutBottomRowFirst(const TgaHeader& header, unsigned char* image)
{
    if ((header.descriptor & 0x20) == 0) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(header.width) * TgaBytesPerPixel(header);
    unsigned char* top = image;
    unsigned char* bottom = image + (static_cast<size_t>(header.height) - 1) * rowBytes;
    for (; top < bottom; top += rowBytes, bottom -= rowBytes) {
        for (size_t i = 0; i < rowBytes; ++i) {
            const unsigned char swap = top[i];
            top[i] = bottom[i];
            bottom[i] = swap;
        }
    }
}

bool DecodePackets(const TgaHeader& header, const unsigned char* data, size_t size, unsigned char* image)
{
    const int bytesPerPixel = TgaBytesPerPixel(header);
    const uint64_t pixelCount = static_cast<uint64_t>(header.width) * header.height;
    uint64_t written = 0;
    size_t position = 0;
    auto writePixel = [&](const unsigned char* value) {
        if (written == pixelCount) {
            return false;  // the packet reaches past the last pixel
        }
        unsigned char* out = image + written * bytesPerPixel;
        out[0] = value[2];
        out[1] = value[1];
        out[2] = value[0];
        if (bytesPerPixel == 4) {
            out[3] = value[3];
        }
        ++written;
        return true;
    };
    while (written < pixelCount) {
        if (position >= size) {
            return false;
        }
        const unsigned packet = data[position++];
        if (packet >= 128) {
            if (size - position < static_cast<size_t>(bytesPerPixel)) {
                return false;
            }
            const unsigned char* value = data + position;
            position += bytesPerPixel;
            for (unsigned i = 0; i < packet - 127; ++i) {
                if (!writePixel(value)) {
                    return false;
                }
            }
        } else {
            for (unsigned i = 0; i <= packet; ++i) {
                if (size - position < static_cast<size_t>(bytesPerPixel)) {
                    return false;
                }
                if (!writePixel(data + position)) {
                    return false;
                }
                position += bytesPerPixel;
            }
        }
    }
    return true;
}

}  // namespace

TgaHeader ParseTgaHeader(const unsigned char* bytes)
{
    TgaHeader header;
    header.idLength = bytes[0];
    header.imageType = bytes[2];
    header.width = static_cast<uint16_t>(bytes[12] | (bytes[13] << 8));
    header.height = static_cast<uint16_t>(bytes[14] | (bytes[15] << 8));
    header.depth = bytes[16];
    header.descriptor = bytes[17];
    return header;
}

bool TgaHeaderAccepted(const TgaHeader& header)
{
    const int bytesPerPixel = TgaBytesPerPixel(header);
    return (header.imageType == 2 || header.imageType == 10) && header.width != 0 && header.height != 0
        && (bytesPerPixel == 3 || bytesPerPixel == 4);
}

uint64_t TgaImageBytes(const TgaHeader& header)
{
    return static_cast<uint64_t>(header.width) * header.height * TgaBytesPerPixel(header);
}

bool TgaDataCanFill(const TgaHeader& header, uint64_t available)
{
    if (header.imageType == 2) {
        return available >= TgaImageBytes(header);
    }
    const uint64_t runPacketBytes = 1 + static_cast<uint64_t>(TgaBytesPerPixel(header));
    const uint64_t mostPixels = available / runPacketBytes * 128;
    return static_cast<uint64_t>(header.width) * header.height <= mostPixels;
}

uint64_t TgaDataBytesWanted(const TgaHeader& header)
{
    if (header.imageType == 2) {
        return TgaImageBytes(header);
    }
    // Worst case: every pixel in a raw packet of its own.
    return static_cast<uint64_t>(header.width) * header.height * (1 + static_cast<uint64_t>(TgaBytesPerPixel(header)));
}

bool DecodeTgaPixels(const TgaHeader& header, const unsigned char* data, size_t size, unsigned char* image)
{
    const uint64_t pixels = static_cast<uint64_t>(header.width) * header.height;
    if (header.imageType == 2) {
        const uint64_t bytes = TgaImageBytes(header);
        if (size < bytes) {
            return false;
        }
        if (data != image) {
            std::memcpy(image, data, bytes);
        }
        SwapRedBlue(image, pixels, TgaBytesPerPixel(header));
    } else if (!DecodePackets(header, data, size, image)) {
        return false;
    }
    PutBottomRowFirst(header, image);
    return true;
}

unsigned char* DecodeTgaBytes(const unsigned char* bytes, size_t size, TgaHeader& header)
{
    if (bytes == nullptr || size < kTgaHeaderSize) {
        return nullptr;
    }
    header = ParseTgaHeader(bytes);
    const uint64_t skip = kTgaHeaderSize + static_cast<uint64_t>(header.idLength);
    const uint64_t available = size > skip ? size - skip : 0;
    if (!TgaHeaderAccepted(header) || !TgaDataCanFill(header, available)) {
        return nullptr;
    }
    auto* image = static_cast<unsigned char*>(std::malloc(TgaImageBytes(header)));
    if (image == nullptr) {
        return nullptr;
    }
    if (!DecodeTgaPixels(header, available > 0 ? bytes + skip : bytes, available, image)) {
        std::free(image);
        return nullptr;
    }
    return image;
}
