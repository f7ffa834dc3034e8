// The settings file's text form on its own: what is written reads back
// byte for byte, and the readable parts read as a person would expect.
#include <gtest/gtest.h>

#include <string>

#include "shell/keyfile_settings.h"

namespace {

StoredSettingsValue Dword(const char* name, std::string data)
{
    return {name, SettingsValueType::Dword, std::move(data)};
}
StoredSettingsValue String(const char* name, std::string data)
{
    return {name, SettingsValueType::String, std::move(data)};
}

TEST(SettingsFile, EveryByteRoundTrips)
{
    std::string allBytes;
    for (int b = 1; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    const StoredSettingsValues values = {
        Dword("Min", std::string("\x00\x00\x00\x80", 4)),
        Dword("Max", std::string("\xff\xff\xff\x7f", 4)),
        Dword("Flag", std::string("\xff", 1)),
        Dword("Zero", std::string("\0", 1)),
        Dword("Two", std::string("\x01\x02", 2)),
        Dword("Empty", ""),
        String("WithTail", std::string("Hi\0\x01\0\xfe\0\0", 8)),
        String("NoZero", "abcdef"),
        String("Spaces", std::string("  lead and trail  \0", 19)),
        String("Escapes", std::string("a\\sb\\n#[x]=;\0", 13)),
        String("Controls", std::string("a\nb\tc\x7f\0zz", 9)),
        String("HighBytes", std::string("\x80\x81\x8d\x8f\x90\x9d\xe9\xff\0", 9)),
        String("AllBytes", allBytes),
        String("AllZero", std::string(70, '\0')),
    };
    const StoredSettingsValues parsed = ParseSettingsFile(FormatSettingsFile(values));
    ASSERT_EQ(parsed.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(values[i].name);
        EXPECT_EQ(parsed[i].name, values[i].name);
        EXPECT_EQ(parsed[i].type, values[i].type);
        EXPECT_EQ(parsed[i].data, values[i].data);
    }
}

TEST(SettingsFile, ReadableForms)
{
    const std::string text = FormatSettingsFile({
        Dword("Number", std::string("\xd0\x07\0\0", 4)),
        Dword("Negative", std::string("\xd8\xff\xff\xff", 4)),
        String("Text", std::string("Caf\xe9 \x80\0AB\0\0", 10)),
        String("Odd", std::string("a\x01", 2)),
    });
    EXPECT_NE(text.find("[Number]\nType=REG_DWORD\nLength=4\nData=2000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Data=-40\n"), std::string::npos) << text;
    // The code page's text in UTF-8; the meaningless bytes after it in hex.
    EXPECT_NE(text.find("[Text]\nType=REG_SZ\nLength=10\nData=Caf\xc3\xa9 \xe2\x82\xac\nTail=4142\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("[Odd]\nType=REG_SZ\nLength=2\nHex=6101\n"), std::string::npos) << text;
}

TEST(SettingsFile, HandWrittenTextIsConverted)
{
    // Someone edits the text by hand: the zero and the padding come back, and
    // a character the code page lacks becomes "?".
    const StoredSettingsValues parsed = ParseSettingsFile("[Text]\nType=REG_SZ\nLength=8\nData=\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\n");
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].data, std::string("\xe9t\xe9 ?\0\0\0", 8));
}

TEST(SettingsFile, NothingToParse)
{
    EXPECT_TRUE(ParseSettingsFile("").empty());
    EXPECT_TRUE(ParseSettingsFile(std::string("\0\0\0", 3)).empty());
    EXPECT_TRUE(ParseSettingsFile("[").empty());
    EXPECT_TRUE(ParseSettingsFile("[A]\n[B]\n").empty());
}

}  // namespace
