#pragma once
// The seam to the platform's picture decoder (JPEG, GIF): the OLE picture
// object on Windows, libjpeg-turbo and giflib on Linux.
#include <cstddef>

struct DecodedPicture;  // opaque

// Decodes the whole picture; nullptr when it is not a picture this decoder reads.
DecodedPicture* OpenPictureBytes(const unsigned char* bytes, size_t size);
DecodedPicture* OpenPictureFile(const char* path);
// Native size in pixels.
void PictureSize(const DecodedPicture* picture, int& width, int& height);
// Renders the whole picture scaled to width x height into an image owned by the
// picture: 4 bytes a pixel (blue, green, red, unused), rows bottom-up, no padding.
// nullptr when the image cannot be made. Valid until ClosePicture.
unsigned char* RenderPicture(DecodedPicture* picture, int width, int height);
void ClosePicture(DecodedPicture* picture);
