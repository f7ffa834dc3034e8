#pragma once
// Windows-1252 is the code page of the stored text. The program speaks UTF-8
// to the outside world (command line, settings file, dialog), so these two
// conversions sit between them.
#include <cstddef>
#include <string>
#include <string_view>

// Every byte maps to one character: 0x80 to 0x9F to the code page's own
// characters, and the five bytes the code page leaves unassigned (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) to the control character of the same number, so no byte
// is ever lost on the way to UTF-8 and back.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252, at most maxBytes bytes. A character the code page
// cannot show, and any malformed UTF-8 sequence, becomes "?". Output stops
// before the first character that would not fit, so a character is never
// split; *complete (when given) says whether all of the input fitted.
std::string Utf8ToCp1252(std::string_view utf8, std::size_t maxBytes, bool* complete = nullptr);

// The length of the longest prefix of utf8 that fits in maxBytes without
// splitting a character (a malformed byte counts as one character).
std::size_t Utf8PrefixLength(std::string_view utf8, std::size_t maxBytes);
