#include "shell/lifecycle_trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {
int TraceFd = -1;
}

void OpenLifecycleTrace()
{
    const char* path = std::getenv("ORINTHAL_TRACE");
    if (TraceFd < 0 && path != nullptr && path[0] != '\0') {
        TraceFd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
}

void TraceStep(const char* format, ...)
{
    if (TraceFd < 0) {
        return;
    }
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(line, sizeof line - 1, format, arguments);
    va_end(arguments);
    if (length < 0) {
        return;
    }
    if (length > static_cast<int>(sizeof line) - 2) {
        length = sizeof line - 2;
    }
    line[length] = '\n';
    // One write per line, unbuffered, so a reader sees whole lines at once.
    [[maybe_unused]] ssize_t wrote = write(TraceFd, line, static_cast<std::size_t>(length) + 1);
}
