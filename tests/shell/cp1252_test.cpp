#include <gtest/gtest.h>

#include <string>

#include "shell/cp1252.h"

namespace {

TEST(Cp1252, EveryByteSurvivesUtf8AndBack)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    bool complete = false;
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all), 1000, &complete), all);
    EXPECT_TRUE(complete);
}

TEST(Cp1252, Conversions)
{
    struct Case {
        const char* name;
        std::string bytes;  // Windows-1252
        std::string utf8;
    };
    const Case cases[] = {
        {"ascii", "Starry Starry Night", "Starry Starry Night"},
        {"latin-1 range", "caf\xe9 \xfc\xff", "caf\xc3\xa9 \xc3\xbc\xc3\xbf"},
        {"euro and quotes", "\x80 \x93q\x94 \x99", "\xe2\x82\xac \xe2\x80\x9cq\xe2\x80\x9d \xe2\x84\xa2"},
        {"unassigned byte", "\x81", "\xc2\x81"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Cp1252ToUtf8(c.bytes), c.utf8);
        EXPECT_EQ(Utf8ToCp1252(c.utf8, 100), c.bytes);
    }
}

TEST(Cp1252, WhatTheCodePageCannotHoldBecomesQuestionMarks)
{
    struct Case {
        const char* name;
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"CJK", "\xe6\x97\xa5\xe6\x9c\xac", "??"},
        {"emoji (4 bytes)", "a\xf0\x9f\x98\x80" "b", "a?b"},
        {"stray continuation byte", "a\x80" "b", "a?b"},
        {"invalid lead byte", "\xff", "?"},
        {"overlong zero", "\xc0\x80", "??"},
        {"surrogate", "\xed\xa0\x80", "???"},
        {"cut-off sequence at the end", "a\xe2\x82", "a??"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToCp1252(c.utf8, 100), c.bytes);
    }
}

TEST(Cp1252, ByteLimitsNeverSplitACharacter)
{
    bool complete = true;
    EXPECT_EQ(Utf8ToCp1252("\xc3\xa9\xc3\xa9\xc3\xa9", 2, &complete), "\xe9\xe9");
    EXPECT_FALSE(complete);
    EXPECT_EQ(Utf8ToCp1252("abc", 3, &complete), "abc");
    EXPECT_TRUE(complete);

    EXPECT_EQ(Utf8PrefixLength("a\xc3\xa9", 2), 1u);
    EXPECT_EQ(Utf8PrefixLength("a\xc3\xa9", 3), 3u);
    EXPECT_EQ(Utf8PrefixLength("\xe2\x82\xac\xe2\x82\xac", 5), 3u);
    EXPECT_EQ(Utf8PrefixLength("\xff\xff", 1), 1u);
    EXPECT_EQ(Utf8PrefixLength("", 10), 0u);
}

}  // namespace
