#pragma once
// Helpers shared by the texture tests: reading back what GL holds.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/gl_api.h"
#include "texture/texture_loader.h"

struct TextureLevel {
    GLint width = 0;
    GLint height = 0;
    GLint internalFormat = 0;
};

inline TextureLevel QueryLevel(GLuint name, GLint level = 0)
{
    TextureLevel result;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &result.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &result.height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_INTERNAL_FORMAT, &result.internalFormat);
    return result;
}

// The texture's level 0 as tightly packed RGBA, bottom row first.
inline std::vector<uint8_t> ReadRgba(GLuint name)
{
    const TextureLevel level = QueryLevel(name);
    std::vector<uint8_t> pixels(static_cast<size_t>(level.width) * level.height * 4);
    GLint saved = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &saved);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, saved);
    return pixels;
}

inline TextureInfo ZeroInfo() { return TextureInfo{0, 0, 0, 0, 0, 0}; }

inline bool SameInfo(const TextureInfo& a, const TextureInfo& b)
{
    return a.glName == b.glName && a.kind == b.kind && a.width == b.width && a.height == b.height
        && a.format == b.format && a.bitsPerPixel == b.bitsPerPixel;
}

inline std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        uint8_t buffer[65536];
        size_t count;
        while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) {
            bytes.insert(bytes.end(), buffer, buffer + count);
        }
        fclose(file);
    }
    return bytes;
}

// Runs a test inside a fresh directory of its own, so the temporary file and
// anything planted next to it belong to that test alone.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        char previous[4096];
        if (getcwd(previous, sizeof previous) != nullptr) {
            previous_ = previous;
        }
        char pattern[] = "/tmp/orinthal-texture-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            path_ = pattern;
            if (chdir(path_.c_str()) != 0) {
                path_.clear();
            }
        }
    }
    ~ScratchDirectory()
    {
        if (!previous_.empty() && chdir(previous_.c_str()) != 0) {
            return;
        }
        if (!path_.empty()) {
            std::string command = "rm -rf '" + path_ + "'";
            if (std::system(command.c_str()) != 0) {
                return;
            }
        }
    }
    const std::string& Path() const { return path_; }
    std::string TempFile() const { return path_ + "/glTEMP$$.tmp"; }

private:
    std::string previous_;
    std::string path_;
};

inline bool Exists(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}
