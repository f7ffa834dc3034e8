// How long the saver's start-up spends turning its twelve pictures into
// textures, and where that time goes.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

// The same loads as the saver's start makes them: in a fresh process with a
// fresh context, where every texture's storage is new memory to the GL driver
// (the warm loop above lets the allocator hand back what the last iteration
// freed). Each iteration runs in a child process; only the loads are timed.
void ColdStartLoadAllTwelve(benchmark::State& state)
{
    for (auto _ : state) {
        int channel[2];
        if (pipe(channel) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            double milliseconds = -1;
            std::string error;
            if (CreateHeadlessContext(64, 64, &error) != nullptr) {
                TextureLoader loader;
                loader.SetMipmapping(1);
                TextureInfo infos[12] = {};
                const auto start = std::chrono::steady_clock::now();
                for (int id = 119; id <= 130; ++id) {
                    loader.LoadTextureResource(id, "IMAGES", infos[id - 119], id == 119 ? KeyablePicture : PlainPicture);
                }
                glFinish();
                milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            }
            const ssize_t written = write(channel[1], &milliseconds, sizeof milliseconds);
            _exit(written == sizeof milliseconds ? 0 : 1);
        }
        close(channel[1]);
        double milliseconds = -1;
        const ssize_t got = read(channel[0], &milliseconds, sizeof milliseconds);
        close(channel[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (child < 0 || got != sizeof milliseconds || milliseconds < 0) {
            state.SkipWithError("the child process could not load the pictures");
            return;
        }
        state.SetIterationTime(milliseconds / 1000.0);
    }
}
// Registered first, so the children are forked before this process has a GL context.
BENCHMARK(ColdStartLoadAllTwelve)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
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
