#include "shell/win32_command_line.h"

#include <cstdlib>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The module's own path: up to the closing quote when quoted, else up to the
// first blank.
const char* SkipModulePath(const char* p)
{
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
        return p;
    }
    while (*p != '\0' && !IsBlank(*p))
        ++p;
    return p;
}

// Digits up to the first non-digit. A handle never needs more than 20 digits;
// longer runs saturate instead of wrapping round to some other window.
uint64_t ReadDecimal(const char* p)
{
    uint64_t value = 0;
    for (; IsDigit(*p); ++p) {
        const uint64_t digit = static_cast<uint64_t>(*p - '0');
        if (value > (UINT64_MAX - digit) / 10)
            value = UINT64_MAX;
        else
            value = value * 10 + digit;
    }
    return value;
}

}  // namespace

SaverCommand ParseSaverCommandLine(const char* commandLine)
{
    if (commandLine == nullptr)
        return {SaverMode::ConfigureNoOwner, 0};
    const char* p = SkipModulePath(commandLine);
    while (IsBlank(*p) || *p == '-' || *p == '/')
        ++p;
    if (*p == '\0')
        return {SaverMode::ConfigureNoOwner, 0};

    const char letter = Lower(*p++);
    switch (letter) {
    case 'c':
        if (*p == ':')
            return {SaverMode::Configure, ReadDecimal(p + 1)};
        return {SaverMode::Configure, 0};
    case 's':
        return {SaverMode::FullScreen, 0};
    case 'p':
    case 'l':
        while (IsBlank(*p))
            ++p;
        return {SaverMode::Preview, ReadDecimal(p)};
    case 'a':
        while (IsBlank(*p))
            ++p;
        return {SaverMode::ChangePassword, ReadDecimal(p)};
    default:
        return {SaverMode::Invalid, 0};
    }
}

bool IsClosingMouseMove(int recordedX, int recordedY, int x, int y)
{
    // In 64 bits, so that screen coordinates far apart cannot overflow.
    const long long dx = static_cast<long long>(x) - recordedX;
    const long long dy = static_cast<long long>(y) - recordedY;
    return std::llabs(dx) + std::llabs(dy) > 4;
}
