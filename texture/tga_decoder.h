#pragma once
// TGA decoding without GL: header rules and pixel data to RGB(A) rows, shared
// by the file loader and the fuzz target.
#include <cstddef>
#include <cstdint>

struct TgaHeader {
    uint8_t idLength;
    uint8_t imageType;   // 2 uncompressed, 10 run-length encoded true colour
    uint16_t width;
    uint16_t height;
    uint8_t depth;       // bits per pixel
    uint8_t descriptor;  // bit 5: the first stored row is the top one
};

constexpr size_t kTgaHeaderSize = 18;

TgaHeader ParseTgaHeader(const unsigned char* bytes);  // kTgaHeaderSize bytes
inline int TgaBytesPerPixel(const TgaHeader& header) { return header.depth / 8; }
// Type 2 or 10, width and height not 0, 3 or 4 bytes a pixel.
bool TgaHeaderAccepted(const TgaHeader& header);
uint64_t TgaImageBytes(const TgaHeader& header);
// False when `available` bytes of pixel data cannot possibly fill the image:
// an uncompressed image needs all its bytes, and a run packet of 1 + bpp bytes
// gives at most 128 pixels. Lets a loader refuse before it allocates.
bool TgaDataCanFill(const TgaHeader& header, uint64_t available);
// The most pixel data a decode of this image can consume.
uint64_t TgaDataBytesWanted(const TgaHeader& header);
// Decodes the pixel data (from just after the image ID) into image, which holds
// TgaImageBytes: red, green, blue (and alpha), bottom row first. data may be
// image itself for an uncompressed image. False when data is short or a packet
// runs past the last pixel.
bool DecodeTgaPixels(const TgaHeader& header, const unsigned char* data, size_t size, unsigned char* image);
// A whole TGA file held in memory to a malloc'd image (free with std::free);
// nullptr when it is refused or broken.
unsigned char* DecodeTgaBytes(const unsigned char* bytes, size_t size, TgaHeader& header);
