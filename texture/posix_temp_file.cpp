// The temporary file on POSIX systems.
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "texture/temp_file.h"

namespace {

constexpr char kTempFileName[] = "glTEMP$$.tmp";

}  // namespace

bool WriteTempFile(const unsigned char* bytes, size_t size, char* path, size_t capacity)
{
    if (path == nullptr || capacity == 0 || getcwd(path, capacity) == nullptr) {
        return false;
    }
    size_t length = std::strlen(path);
    const bool needsSeparator = length == 0 || path[length - 1] != '/';
    const size_t total = length + (needsSeparator ? 1 : 0) + sizeof kTempFileName;  // with the zero
    if (total > capacity) {
        return false;
    }
    if (needsSeparator) {
        path[length++] = '/';
    }
    std::memcpy(path + length, kTempFileName, sizeof kTempFileName);

    // Replace whatever has the name, but never write through it: a symbolic link
    // planted there is removed, not followed, and a file that appears between
    // the two calls makes the create fail rather than be reused.
    if (unlink(path) != 0 && errno != ENOENT) {
        return false;
    }
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    size_t written = 0;
    while (written < size) {
        const ssize_t count = write(fd, bytes + written, size - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;  // a short file fails its load like any truncated image
        }
        written += static_cast<size_t>(count);
    }
    close(fd);
    return true;
}

void DeleteTempFile(const char* path)
{
    if (path != nullptr) {
        unlink(path);
    }
}
