#include "resources/embedded_resources.h"

#include <strings.h>

#include "texture/resource_bytes.h"

bool FindResourceBytes(int id, const char* type, const unsigned char** bytes, size_t* size)
{
    if (type == nullptr || bytes == nullptr || size == nullptr) {
        return false;
    }
    // Resource ids are 16-bit and type names compare without regard to case.
    const int wanted = id & 0xFFFF;
    for (size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& resource = kEmbeddedResources[i];
        if (resource.id == wanted && strcasecmp(resource.type, type) == 0) {
            *bytes = resource.begin;
            *size = static_cast<size_t>(resource.end - resource.begin);
            return true;
        }
    }
    return false;
}
