#include "shell/cp1252.h"

#include <cstdint>

namespace {

// Code points of 0x80 to 0x9F; the unassigned five map to themselves.
constexpr char32_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t ByteToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) {
        return HighControls[byte - 0x80];
    }
    return byte;
}

// The code page byte for a code point, or -1 when it has none.
int CodePointToByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (int i = 0; i < 32; ++i) {
        if (HighControls[i] == c) {
            return 0x80 + i;
        }
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one character at utf8[pos]; sets *length to the bytes it takes
// (1 for a malformed byte) and returns the code point, or -1 when malformed.
int64_t DecodeUtf8(std::string_view utf8, std::size_t pos, std::size_t* length)
{
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    *length = 1;
    if (lead < 0x80) {
        return lead;
    }
    std::size_t count;
    char32_t c;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2; c = lead & 0x1F; minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3; c = lead & 0x0F; minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4; c = lead & 0x07; minimum = 0x10000;
    } else {
        return -1;
    }
    if (pos + count > utf8.size()) {
        return -1;
    }
    for (std::size_t i = 1; i < count; ++i) {
        const auto next = static_cast<unsigned char>(utf8[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return -1;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return -1;
    }
    *length = count;
    return c;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char byte : bytes) {
        AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(byte)));
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8, std::size_t maxBytes, bool* complete)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size() && out.size() < maxBytes) {
        std::size_t length = 1;
        const int64_t c = DecodeUtf8(utf8, pos, &length);
        const int byte = c < 0 ? -1 : CodePointToByte(static_cast<char32_t>(c));
        out += byte < 0 ? '?' : static_cast<char>(byte);
        pos += length;
    }
    if (complete != nullptr) {
        *complete = pos >= utf8.size();
    }
    return out;
}

std::size_t Utf8PrefixLength(std::string_view utf8, std::size_t maxBytes)
{
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t length = 1;
        DecodeUtf8(utf8, pos, &length);
        if (pos + length > maxBytes) {
            break;
        }
        pos += length;
    }
    return pos;
}
