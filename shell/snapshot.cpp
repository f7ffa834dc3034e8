#include "shell/snapshot.h"

#include <cstdio>
#include <cstring>

#include <png.h>

#include "render/outline_font.h"
#include "render/scene.h"
#include "shell/command_line.h"
#include "shell/egl_context.h"
#include "shell/gl_api.h"
#include "shell/lifecycle_trace.h"
#include "shell/settings_store.h"

std::vector<unsigned char> ReadFramePixels(int width, int height)
{
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    std::vector<unsigned char> rgba(stride * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());

    // GL's rows run bottom to top; a picture's top to bottom.
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const unsigned char* from = rgba.data() + static_cast<std::size_t>(height - 1 - y) * stride;
        unsigned char* to = rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            std::memcpy(to + x * 3, from + x * 4, 3);
        }
    }
    return rgb;
}

bool WritePngFile(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb,
                  std::string* error)
{
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3) {
        *error = "no picture to write";
        return false;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr)) {
        *error = image.message[0] != '\0' ? image.message : "cannot write the file";
        png_image_free(&image);
        std::remove(path.c_str());
        return false;
    }
    return true;
}

int RunSnapshot(const SaverOptions& options)
{
    const int width = options.width;
    const int height = options.height;

    TraceStep("create %dx%d", width, height);
    LoadSettings();
    ApplySettingsOverrides(options.overrides, &SaverSettings);
    TraceStep("load-settings");

    std::string error;
    HeadlessContext* context = CreateHeadlessContext(width, height, &error);
    if (context == nullptr) {
        std::fprintf(stderr, "orinthal: %s\n", error.c_str());
        return 1;
    }
    FrameSurface* surface = HeadlessSurface(context);
    BuildOutlineFont(surface);
    TraceStep("create-gl-context");
    InitScene(width, height);
    TraceStep("init-scene");

    for (int frame = 1; frame <= options.frames; ++frame) {
        RenderFrame(surface);
        TraceStep("tick %d", frame);
    }
    const std::vector<unsigned char> pixels = ReadFramePixels(width, height);

    ShutdownScene();
    TraceStep("shutdown-scene");
    DestroyHeadlessContext(context);
    TraceStep("destroy-gl-context");

    if (!WritePngFile(options.snapshotPath, width, height, pixels, &error)) {
        std::fprintf(stderr, "orinthal: %s: %s\n", options.snapshotPath.c_str(), error.c_str());
        return 1;
    }
    TraceStep("exit 0");
    return 0;
}
