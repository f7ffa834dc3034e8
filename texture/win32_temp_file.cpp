// The temporary file that in-memory images pass through: "glTEMP$$.tmp" in
// the current directory.
#include <windows.h>

#include <cstring>

#include "texture/temp_file.h"

namespace {

constexpr char TempFileName[] = "glTEMP$$.tmp";

}  // namespace

bool WriteTempFile(const unsigned char* bytes, size_t size, char* path, size_t capacity)
{
    if (path == nullptr || capacity == 0)
        return false;
    const size_t limit = capacity < MAX_PATH ? capacity : MAX_PATH;
    char directory[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    // 0 is a failure; MAX_PATH or more is the size the directory would need.
    if (length == 0 || length >= MAX_PATH)
        return false;
    const bool endsWithSeparator = directory[length - 1] == '\\' || directory[length - 1] == '/';
    const size_t needed = length + (endsWithSeparator ? 0 : 1) + sizeof TempFileName;  // with the zero
    if (needed > limit)
        return false;
    std::memcpy(path, directory, length);
    size_t at = length;
    if (!endsWithSeparator)
        path[at++] = '\\';
    std::memcpy(path + at, TempFileName, sizeof TempFileName);

    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // WriteFile takes at most a DWORD at a time.
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0)
            break;
        bytes += written;
        size -= written;
    }
    CloseHandle(file);
    return true;
}

void DeleteTempFile(const char* path)
{
    if (path != nullptr)
        DeleteFileA(path);
}
