// The picture decoder on Linux: libjpeg-turbo for JPEG (baseline and
// progressive), giflib for GIF (first frame). Scaling: pixman's bilinear
// filter when the picture is enlarged (a background's 4/3 stretch: fast, and
// with no detail to lose), stb_image_resize's Mitchell filter when a side
// shrinks, where bilinear sampling would alias.
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <jpeglib.h>
#include <jerror.h>
#include <gif_lib.h>
#include <sys/mman.h>

#include <pixman.h>
#include <stb/stb_image_resize.h>

#include "texture/linux_picture.h"
#include "texture/picture_decoder.h"

namespace {

// An image's memory. Large images come straight from the kernel, asked for in
// 2 MB pages: a background otherwise touches some 2000 fresh 4 KB pages, and on
// a virtual machine those first-touch faults cost more than decoding the JPEG.
// Sanitizer builds keep to malloc, which they can watch for overruns.
struct ImageMemory {
    unsigned char* data = nullptr;
    void* mapping = nullptr;
    size_t mappedBytes = 0;
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMapLargeImages = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kMapLargeImages = false;
#else
constexpr bool kMapLargeImages = true;
#endif
#else
constexpr bool kMapLargeImages = true;
#endif
constexpr size_t kHugePage = size_t{2} << 20;

bool AllocateImage(ImageMemory& memory, size_t bytes, bool zeroed)
{
    if (kMapLargeImages && bytes >= kHugePage) {
        // Anonymous mappings are zeroed already; map a spare huge page so the
        // image can start on a 2 MB boundary.
        const size_t mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage + kHugePage;
        void* mapping = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapping == MAP_FAILED) {
            return false;
        }
        const uintptr_t start = (reinterpret_cast<uintptr_t>(mapping) + kHugePage - 1) & ~(kHugePage - 1);
        madvise(reinterpret_cast<void*>(start), mapped - (start - reinterpret_cast<uintptr_t>(mapping)),
                MADV_HUGEPAGE);
        memory.data = reinterpret_cast<unsigned char*>(start);
        memory.mapping = mapping;
        memory.mappedBytes = mapped;
        return true;
    }
    memory.data = static_cast<unsigned char*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes));
    return memory.data != nullptr;
}

void ReleaseImage(ImageMemory& memory)
{
    if (memory.mapping != nullptr) {
        munmap(memory.mapping, memory.mappedBytes);
    } else {
        std::free(memory.data);
    }
    memory = ImageMemory{};
}

}  // namespace

struct DecodedPicture {
    int width = 0;
    int height = 0;
    ImageMemory pixels;    // blue, green, red, unused; bottom row first
    ImageMemory rendered;  // the last RenderPicture result
};

namespace {

// Pictures larger than this are refused before their pixels are allocated:
// 32 megapixels (128 MB decoded) covers any photograph worth a background.
unsigned long long maxPicturePixels = kDefaultMaxPicturePixels;
// A picture file larger than this is not read into memory.
constexpr size_t kMaxPictureFileBytes = size_t{128} << 20;
// Real progressive JPEGs have about ten scans; a stream with hundreds is hostile
// and would take minutes to decode.
constexpr int kMaxJpegScans = 256;

bool SizeAcceptable(unsigned long long width, unsigned long long height)
{
    return width > 0 && height > 0 && width * height <= maxPicturePixels;
}

DecodedPicture* NewPicture(int width, int height, bool zeroed)
{
    auto* picture = new (std::nothrow) DecodedPicture;
    if (picture == nullptr) {
        return nullptr;
    }
    picture->width = width;
    picture->height = height;
    // Zeroed when the decoder may leave pixels undrawn (GIF transparency): they stay black.
    if (!AllocateImage(picture->pixels, static_cast<size_t>(width) * height * 4, zeroed)) {
        delete picture;
        return nullptr;
    }
    return picture;
}

unsigned char* PictureRow(DecodedPicture* picture, int topDownRow)
{
    return picture->pixels.data + static_cast<size_t>(picture->height - 1 - topDownRow) * picture->width * 4;
}

void DestroyPicture(DecodedPicture* picture)
{
    if (picture != nullptr) {
        ReleaseImage(picture->pixels);
        ReleaseImage(picture->rendered);
        delete picture;
    }
}

// ---- JPEG -------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer converts back
    std::jmp_buf escape;
};

[[noreturn]] void JpegFail(j_common_ptr info)
{
    // libjpeg's own handler would end the process; return to the decoder instead.
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->escape, 1);
}

void JpegMessage(j_common_ptr info, int level)
{
    // Warnings are silent, but data that stops early means a picture with a
    // grey hole where it ended: that counts as a failed decode, and there is
    // no point decoding the rest.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        JpegFail(info);
    }
}

void JpegSilent(j_common_ptr) {}

void JpegProgress(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxJpegScans) {
        JpegFail(info);
    }
}

// Decodes into a picture whose rows run bottom-up. Only plain data lives
// across the setjmp, so the longjmp from an error skips no destructor.
DecodedPicture* DecodeJpeg(const unsigned char* bytes, size_t size)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    jpeg_progress_mgr progress;
    DecodedPicture* volatile picture = nullptr;

    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegFail;
    errors.manager.emit_message = JpegMessage;
    errors.manager.output_message = JpegSilent;
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_decompress(&info);
        DestroyPicture(picture);
        return nullptr;
    }

    jpeg_create_decompress(&info);
    progress.progress_monitor = JpegProgress;
    info.progress = &progress;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK
        || !SizeAcceptable(info.image_width, info.image_height)) {
        JpegFail(reinterpret_cast<j_common_ptr>(&info));
    }
    info.out_color_space = JCS_EXT_BGRX;
    picture = NewPicture(static_cast<int>(info.image_width), static_cast<int>(info.image_height), false);
    if (picture == nullptr) {
        JpegFail(reinterpret_cast<j_common_ptr>(&info));
    }
    jpeg_start_decompress(&info);
    if (info.output_width != static_cast<JDIMENSION>(picture->width)
        || info.output_height != static_cast<JDIMENSION>(picture->height)
        || info.output_components != 4) {
        JpegFail(reinterpret_cast<j_common_ptr>(&info));
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = PictureRow(picture, static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    // Whatever follows the last scan line (a missing end marker, trailing
    // bytes) does not change the picture, so the decoder is not asked to finish.
    jpeg_destroy_decompress(&info);
    return picture;
}

// ---- GIF --------------------------------------------------------------------

struct GifSource {
    const unsigned char* bytes;
    size_t size;
    size_t position;
};

int ReadGifBytes(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* source = static_cast<GifSource*>(gif->UserData);
    size_t count = length > 0 ? static_cast<size_t>(length) : 0;
    if (count > source->size - source->position) {
        count = source->size - source->position;
    }
    std::memcpy(buffer, source->bytes + source->position, count);
    source->position += count;
    return static_cast<int>(count);
}

// Draws the first frame onto a zeroed canvas of the logical screen's size.
// Transparent pixels are not drawn, so they stay black.
DecodedPicture* DrawFirstGifFrame(GifFileType* gif)
{
    int transparentIndex = -1;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) {
            return nullptr;
        }
        if (record == TERMINATE_RECORD_TYPE) {
            return nullptr;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
                return nullptr;
            }
            // Graphic control block: length 4, flags, delay (2), transparent index.
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
                transparentIndex = (block[1] & 0x01) != 0 ? block[4] : -1;
            }
            while (block != nullptr) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
                    return nullptr;
                }
            }
            continue;
        }
        if (record == IMAGE_DESC_RECORD_TYPE) {
            break;
        }
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR) {
        return nullptr;
    }

    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || colours->Colors == nullptr || frame.Width <= 0 || frame.Height <= 0
        || frame.Left < 0 || frame.Top < 0
        || !SizeAcceptable(static_cast<unsigned>(frame.Width), static_cast<unsigned>(frame.Height))) {
        return nullptr;
    }
    int width = gif->SWidth;
    int height = gif->SHeight;
    if (width <= 0 || height <= 0) {
        width = frame.Left + frame.Width;
        height = frame.Top + frame.Height;
    }
    if (!SizeAcceptable(static_cast<unsigned>(width), static_cast<unsigned>(height))) {
        return nullptr;
    }

    DecodedPicture* picture = NewPicture(width, height, true);
    GifPixelType* line = static_cast<GifPixelType*>(std::malloc(static_cast<size_t>(frame.Width)));
    if (picture == nullptr || line == nullptr) {
        std::free(line);
        DestroyPicture(picture);
        return nullptr;
    }

    // Interlaced frames arrive in four passes over the rows.
    static const int kPassStart[] = {0, 4, 2, 1};
    static const int kPassStep[] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    bool ok = true;
    for (int pass = 0; pass < passes && ok; ++pass) {
        const int start = frame.Interlace ? kPassStart[pass] : 0;
        const int step = frame.Interlace ? kPassStep[pass] : 1;
        for (int y = start; y < frame.Height; y += step) {
            if (DGifGetLine(gif, line, frame.Width) == GIF_ERROR) {
                ok = false;
                break;
            }
            const int canvasY = frame.Top + y;
            if (canvasY >= height) {
                continue;
            }
            unsigned char* out = PictureRow(picture, canvasY);
            for (int x = 0; x < frame.Width && frame.Left + x < width; ++x) {
                const int index = line[x];
                if (index == transparentIndex) {
                    continue;
                }
                unsigned char* pixel = out + static_cast<size_t>(frame.Left + x) * 4;
                if (index < colours->ColorCount) {
                    const GifColorType& colour = colours->Colors[index];
                    pixel[0] = colour.Blue;
                    pixel[1] = colour.Green;
                    pixel[2] = colour.Red;
                }
            }
        }
    }
    std::free(line);
    if (!ok) {
        DestroyPicture(picture);
        return nullptr;
    }
    return picture;
}

DecodedPicture* DecodeGif(const unsigned char* bytes, size_t size)
{
    GifSource source{bytes, size, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadGifBytes, &error);
    if (gif == nullptr) {
        return nullptr;
    }
    DecodedPicture* picture = DrawFirstGifFrame(gif);
    DGifCloseFile(gif, &error);
    return picture;
}

// Bilinear enlargement into picture.rendered, edges clamped.
bool Enlarge(DecodedPicture& picture, int width, int height)
{
    // x8r8g8b8 is blue, green, red, unused in memory on a little-endian machine,
    // and 32-bit pixels keep every stride a multiple of 4.
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel layout assumes little-endian");
    pixman_image_t* source = pixman_image_create_bits(PIXMAN_x8r8g8b8, picture.width, picture.height,
                                                      reinterpret_cast<uint32_t*>(picture.pixels.data), picture.width * 4);
    pixman_image_t* target = pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height,
                                                      reinterpret_cast<uint32_t*>(picture.rendered.data), width * 4);
    bool ok = source != nullptr && target != nullptr;
    if (ok) {
        pixman_transform_t scale;
        pixman_transform_init_scale(&scale, pixman_double_to_fixed(static_cast<double>(picture.width) / width),
                                    pixman_double_to_fixed(static_cast<double>(picture.height) / height));
        ok = pixman_image_set_transform(source, &scale) != 0
            && pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0) != 0;
        pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
        if (ok) {
            pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, 0, 0, 0, 0, 0, width, height);
        }
    }
    if (source != nullptr) {
        pixman_image_unref(source);
    }
    if (target != nullptr) {
        pixman_image_unref(target);
    }
    return ok;
}

}  // namespace

DecodedPicture* OpenPictureBytes(const unsigned char* bytes, size_t size)
{
    if (bytes == nullptr) {
        return nullptr;
    }
    if (size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return DecodeJpeg(bytes, size);
    }
    if (size >= 6 && std::memcmp(bytes, "GIF8", 4) == 0) {
        return DecodeGif(bytes, size);
    }
    return nullptr;
}

DecodedPicture* OpenPictureFile(const char* path)
{
    if (path == nullptr) {
        return nullptr;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return nullptr;
    }
    // Read in growing steps with a ceiling, so a device or pipe that never ends
    // cannot take all memory.
    size_t capacity = 1 << 16;
    size_t size = 0;
    auto* bytes = static_cast<unsigned char*>(std::malloc(capacity));
    while (bytes != nullptr) {
        size += std::fread(bytes + size, 1, capacity - size, file);
        if (size < capacity) {
            break;
        }
        if (capacity > kMaxPictureFileBytes) {
            std::free(bytes);
            bytes = nullptr;
            break;
        }
        auto* larger = static_cast<unsigned char*>(std::realloc(bytes, capacity * 2));
        if (larger == nullptr) {
            std::free(bytes);
        }
        bytes = larger;
        capacity *= 2;
    }
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    DecodedPicture* picture = nullptr;
    if (bytes != nullptr && !readFailed) {
        picture = OpenPictureBytes(bytes, size);
    }
    std::free(bytes);
    return picture;
}

void PictureSize(const DecodedPicture* picture, int& width, int& height)
{
    width = picture->width;
    height = picture->height;
}

unsigned char* RenderPicture(DecodedPicture* picture, int width, int height)
{
    if (picture == nullptr || width <= 0 || height <= 0) {
        return nullptr;
    }
    ReleaseImage(picture->rendered);
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (!AllocateImage(picture->rendered, bytes, false)) {
        return nullptr;
    }
    if (width == picture->width && height == picture->height) {
        std::memcpy(picture->rendered.data, picture->pixels.data, bytes);
        return picture->rendered.data;
    }
    // Both images run bottom-up, and both resamplers sample at pixel centres,
    // which treats rows symmetrically, so scaling the stored picture gives the
    // scaled picture bottom-up.
    const bool ok = width >= picture->width && height >= picture->height
        ? Enlarge(*picture, width, height)
        : stbir_resize_uint8_generic(picture->pixels.data, picture->width, picture->height, 0,
                                     picture->rendered.data, width, height, 0, 4, STBIR_ALPHA_CHANNEL_NONE, 0,
                                     STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR, nullptr) != 0;
    if (!ok) {
        ReleaseImage(picture->rendered);
    }
    return picture->rendered.data;
}

void SetPicturePixelLimit(unsigned long long pixels)
{
    maxPicturePixels = pixels;
}

void ClosePicture(DecodedPicture* picture)
{
    DestroyPicture(picture);
}
