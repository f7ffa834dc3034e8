#pragma once
// Settings of the Linux picture decoder beyond the shared seam.

// Pictures with more pixels than this are refused before decoding.
constexpr unsigned long long kDefaultMaxPicturePixels = 1ull << 25;
// Changes the limit; the fuzz targets lower it to keep each run quick.
void SetPicturePixelLimit(unsigned long long pixels);
