#pragma once
// Resources built into a Linux executable: a table that a generated source
// fills (see resources/CMakeLists.txt), searched by FindResourceBytes.
#include <cstddef>

struct EmbeddedResource {
    const char* type;
    int id;
    const unsigned char* begin;
    const unsigned char* end;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;
