// Pictures decoded by the OLE picture object and rendered with GDI into a
// 32-bit bottom-up DIB section.
#include <windows.h>

#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <cstring>

#include "texture/picture_decoder.h"

struct DecodedPicture {
    IPicture* picture;
    HDC memoryDc;
    HBITMAP target;
    HGDIOBJ previousBitmap;
    // The picture's extent in HIMETRIC units (0.01 mm), the y axis pointing up.
    OLE_XSIZE_HIMETRIC himetricWidth;
    OLE_YSIZE_HIMETRIC himetricHeight;
};

namespace {

// The drawing surface goes with the picture from the start: its logical
// pixels per inch turn the HIMETRIC extent into pixels.
DecodedPicture* WithDrawingSurface(IPicture* picture)
{
    HDC screen = GetDC(nullptr);
    HDC memoryDc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (memoryDc == nullptr) {
        picture->Release();
        return nullptr;
    }
    DecodedPicture* decoded = new DecodedPicture{};
    decoded->picture = picture;
    decoded->memoryDc = memoryDc;
    picture->get_Width(&decoded->himetricWidth);
    picture->get_Height(&decoded->himetricHeight);
    return decoded;
}

void ReleaseTarget(DecodedPicture* decoded)
{
    if (decoded->target == nullptr)
        return;
    SelectObject(decoded->memoryDc, decoded->previousBitmap);
    DeleteObject(decoded->target);
    decoded->target = nullptr;
    decoded->previousBitmap = nullptr;
}

}  // namespace

DecodedPicture* OpenPictureBytes(const unsigned char* bytes, size_t size)
{
    if (bytes == nullptr || size == 0 || size > 0xFFFFFFFFu)
        return nullptr;
    // The stream works on a movable global block of its own.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        return nullptr;
    void* copy = GlobalLock(block);
    if (copy == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(copy, bytes, size);
    GlobalUnlock(block);

    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK || stream == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    const HRESULT loaded = OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    // Releasing the stream frees the block as well.
    stream->Release();
    if (FAILED(loaded) || picture == nullptr)
        return nullptr;
    return WithDrawingSurface(picture);
}

DecodedPicture* OpenPictureFile(const char* path)
{
    if (path == nullptr)
        return nullptr;
    WCHAR widePath[MAX_PATH];
    // 0 also when the path does not fit the buffer.
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) == 0)
        return nullptr;
    IPicture* picture = nullptr;
    const HRESULT loaded =
        OleLoadPicturePath(widePath, nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&picture));
    if (FAILED(loaded) || picture == nullptr)
        return nullptr;
    return WithDrawingSurface(picture);
}

void PictureSize(const DecodedPicture* picture, int& width, int& height)
{
    width = MulDiv(picture->himetricWidth, GetDeviceCaps(picture->memoryDc, LOGPIXELSX), 2540);
    height = MulDiv(picture->himetricHeight, GetDeviceCaps(picture->memoryDc, LOGPIXELSY), 2540);
}

unsigned char* RenderPicture(DecodedPicture* picture, int width, int height)
{
    ReleaseTarget(picture);
    // Four bytes a pixel must stay addressable as a DIB (signed 32-bit size).
    if (width <= 0 || height <= 0 ||
        static_cast<int64_t>(width) * height * 4 > static_cast<int64_t>(INT32_MAX))
        return nullptr;

    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = height;  // positive: the rows run bottom-up
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(picture->memoryDc, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (target == nullptr || bits == nullptr) {
        if (target != nullptr)
            DeleteObject(target);
        return nullptr;
    }
    picture->target = target;
    picture->previousBitmap = SelectObject(picture->memoryDc, target);

    // HIMETRIC y runs upward: a source rectangle from the top edge with a
    // negative height lands the picture upright.
    picture->picture->Render(picture->memoryDc, 0, 0, width, height, 0, picture->himetricHeight,
                             picture->himetricWidth, -picture->himetricHeight, nullptr);
    GdiFlush();
    return static_cast<unsigned char*>(bits);
}

void ClosePicture(DecodedPicture* picture)
{
    if (picture == nullptr)
        return;
    ReleaseTarget(picture);
    DeleteDC(picture->memoryDc);
    picture->picture->Release();
    delete picture;
}
