// Inputs the fuzzers found, kept as plain tests besides their corpus files.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/command_line.h"

namespace {

// An argument with a newline and a NUL-free control byte used to come back
// inside the error verbatim, breaking the one-line message on a terminal.
TEST(FuzzRegression, CommandLineErrorStaysOnOneLine)
{
    const std::vector<std::vector<std::string>> lines = {
        {"-csiz\xfd\n", "", "", "", "$'"},
        {"--number", "12\n\x1b[2J"},
        {"--window-id", "\r0x1"},
    };
    for (const auto& arguments : lines) {
        const CommandLineResult result = ParseCommandLine(arguments);
        ASSERT_FALSE(result.ok);
        EXPECT_EQ(result.error.find_first_of(std::string("\n\r\x1b", 3)), std::string::npos) << result.error;
    }
    const CommandLineResult shown = ParseCommandLine({"--bad\noption"});
    EXPECT_EQ(shown.error, "unknown option \"--bad\\x0aoption\"");
}

}  // namespace
