// How long the saver's start-up spends turning its twelve pictures into
// textures, and where that time goes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "shell/egl_context.h"
#include "shell/gl_api.h"
#include "texture/picture_decoder.h"
#include "texture/resource_bytes.h"
#include "texture/texture_loader.h"

namespace {

HeadlessContext* Context()
{
    static HeadlessContext* context = [] {
        std::string error;
        HeadlessContext* made = CreateHeadlessContext(64, 64, &error);
        if (made == nullptr) {
            std::fprintf(stderr, "texture_bench: %s\n", error.c_str());
        }
        return made;
    }();
    return context;
}

// The scene set-up's loads: the sprite keyed, the eleven backgrounds plain.
void LoadAllTwelve(benchmark::State& state)
{
    if (Context() == nullptr) {
        state.SkipWithError("no headless GL context");
        return;
    }
    TextureLoader loader;
    loader.SetMipmapping(1);
    for (auto _ : state) {
        TextureInfo infos[12] = {};
        for (int id = 119; id <= 130; ++id) {
            TextureInfo& info = infos[id - 119];
            loader.LoadTextureResource(id, "IMAGES", info, id == 119 ? KeyablePicture : PlainPicture);
        }
        glFinish();
        state.PauseTiming();
        for (TextureInfo& info : infos) {
            glDeleteTextures(1, &info.glName);
        }
        state.ResumeTiming();
    }
}
BENCHMARK(LoadAllTwelve)->Unit(benchmark::kMillisecond);

// The decoding alone, for one background.
void DecodeBackground(benchmark::State& state)
{
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    FindResourceBytes(120, "IMAGES", &bytes, &size);
    for (auto _ : state) {
        DecodedPicture* picture = OpenPictureBytes(bytes, size);
        benchmark::DoNotOptimize(picture);
        ClosePicture(picture);
    }
}
BENCHMARK(DecodeBackground)->Unit(benchmark::kMillisecond);

// Decoding and the scaled render to the texture's 1024 x 1024, for one background.
void DecodeAndRenderBackground(benchmark::State& state)
{
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    FindResourceBytes(120, "IMAGES", &bytes, &size);
    for (auto _ : state) {
        DecodedPicture* picture = OpenPictureBytes(bytes, size);
        benchmark::DoNotOptimize(RenderPicture(picture, 1024, 1024));
        ClosePicture(picture);
    }
}
BENCHMARK(DecodeAndRenderBackground)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
