// Pictures built into the module: its resources of type "IMAGES".
#include <windows.h>

#include "texture/resource_bytes.h"

bool FindResourceBytes(int id, const char* type, const unsigned char** bytes, size_t* size)
{
    // The module that started the process: the .scr itself (or a test program
    // that carries the same resources).
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id & 0xFFFF), type);
    if (resource == nullptr)
        return false;
    const DWORD length = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr)
        return false;
    const void* data = LockResource(loaded);
    if (data == nullptr)
        return false;
    // Resources stay mapped with the module for the whole process, so the
    // pointer needs no release (FreeResource does nothing on NT systems).
    *bytes = static_cast<const unsigned char*>(data);
    *size = length;
    return true;
}
