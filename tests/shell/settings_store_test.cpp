// The settings store through the Linux backend, pointed at a temporary
// folder with XDG_CONFIG_HOME.
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>

#include "shell/keyfile_settings.h"
#include "shell/settings_store.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string TextField(const SaverSettingsRecord& settings)
{
    return std::string(settings.Text, TextFieldBytes);
}

// Field by field: the record's padding is not part of what is stored.
void ExpectSameSettings(const SaverSettingsRecord& expected, const SaverSettingsRecord& actual)
{
    EXPECT_EQ(expected.Number, actual.Number);
    EXPECT_EQ(expected.Background, actual.Background);
    EXPECT_EQ(expected.TextOn, actual.TextOn);
    EXPECT_EQ(TextField(expected), TextField(actual));
    EXPECT_EQ(expected.RotateX, actual.RotateX);
    EXPECT_EQ(expected.RotateY, actual.RotateY);
    EXPECT_EQ(expected.RotateZ, actual.RotateZ);
    EXPECT_EQ(expected.RotateSpeed, actual.RotateSpeed);
    EXPECT_EQ(expected.TravelSpeed, actual.TravelSpeed);
    EXPECT_EQ(expected.CycleLength, actual.CycleLength);
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orinthal-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
        SaverSettings = DefaultSettings();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path SettingsFile() const { return folder_ / "orinthal" / "settings"; }

    // Loads a hand-written file into a record that starts from the defaults.
    SaverSettingsRecord LoadFrom(const std::string& text)
    {
        WriteFile(SettingsFile(), text);
        SaverSettings = DefaultSettings();
        LoadSettings();
        return SaverSettings;
    }

    fs::path folder_;
};

TEST_F(SettingsStore, NoStoreGivesDefaultsAndCreatesNothing)
{
    // Whatever the record held before: every field is reset, but only the
    // default text and its zero are written into Text.
    std::memset(&SaverSettings, 0x55, sizeof SaverSettings);
    std::memset(SaverSettings.Text, 'x', TextFieldBytes);
    LoadSettings();

    SaverSettingsRecord expected = DefaultSettings();
    const std::string text = "Starry Starry Night";
    std::memset(expected.Text, 'x', TextFieldBytes);
    std::memcpy(expected.Text, text.c_str(), text.size() + 1);
    ExpectSameSettings(expected, SaverSettings);
    EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(SettingsStore, NeitherXdgNorHomeMeansNoStore)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    SaverSettings.Number = 4321;
    LoadSettings();
    EXPECT_EQ(SaverSettings.Number, 2000);
    SaveSettings();  // nowhere to write: silently nothing
    if (!home.empty()) {
        setenv("HOME", home.c_str(), 1);
    }
}

TEST_F(SettingsStore, HomeConfigIsTheFallback)
{
    unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string saved = home ? home : "";
    setenv("HOME", folder_.c_str(), 1);
    SaverSettings.Number = 3333;
    SaveSettings();
    EXPECT_TRUE(fs::exists(folder_ / ".config" / "orinthal" / "settings"));
    SaverSettings = DefaultSettings();
    LoadSettings();
    EXPECT_EQ(SaverSettings.Number, 3333);
    setenv("HOME", saved.c_str(), 1);
}

TEST_F(SettingsStore, EveryFieldRoundTrips)
{
    struct Case {
        const char* name;
        std::function<void(SaverSettingsRecord&)> change;
    };
    const Case cases[] = {
        {"defaults", [](SaverSettingsRecord&) {}},
        {"dialog extremes",
         [](SaverSettingsRecord& s) {
             s.Number = 5000; s.Background = 0; s.TextOn = 1; s.RotateX = 0; s.RotateY = 0; s.RotateZ = 0;
             s.RotateSpeed = 4; s.TravelSpeed = 30; s.CycleLength = 120;
         }},
        {"values the dialog cannot make",
         [](SaverSettingsRecord& s) {
             s.Number = INT_MIN; s.RotateSpeed = INT_MAX; s.TravelSpeed = -1; s.CycleLength = 0;
             s.Background = 2; s.TextOn = 255; s.RotateX = 0x80;
         }},
        {"full text of 69 code-page characters",
         [](SaverSettingsRecord& s) {
             for (int i = 0; i < TextFieldBytes - 1; ++i) {
                 s.Text[i] = static_cast<char>(0xA0 + i);  // accented letters and signs
             }
             s.Text[10] = '\x80';  // euro sign
             s.Text[11] = '\x81';  // unassigned in the code page
             s.Text[TextFieldBytes - 1] = '\0';
         }},
        {"garbage after the terminator",
         [](SaverSettingsRecord& s) {
             std::memcpy(s.Text, "Hi\0\x01\xff\0\0zz", 10);
             s.Text[TextFieldBytes - 1] = '\x7f';
         }},
        {"spaces, separators and escapes",
         [](SaverSettingsRecord& s) {
             std::memset(s.Text, 0, TextFieldBytes);
             std::strcpy(s.Text, "  [Text] # a=b \\n \\s  ");
         }},
        {"control characters",
         [](SaverSettingsRecord& s) {
             std::memset(s.Text, 0, TextFieldBytes);
             std::strcpy(s.Text, "line\none\ttab\r");
         }},
        {"empty text", [](SaverSettingsRecord& s) { std::memset(s.Text, 0, TextFieldBytes); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaverSettingsRecord written = DefaultSettings();
        c.change(written);
        SaverSettings = written;
        SaveSettings();
        std::memset(&SaverSettings, 0xAA, sizeof SaverSettings);
        LoadSettings();
        ExpectSameSettings(written, SaverSettings);
    }
}

TEST_F(SettingsStore, SaveWritesNamesTypesAndLengthsReadably)
{
    SaveSettings();
    const std::string text = ReadFile(SettingsFile());
    const StoredSettingsValues values = ParseSettingsFile(text);
    struct Expected {
        const char* name;
        SettingsValueType type;
        std::size_t length;
    };
    const Expected table[] = {
        {"Number", SettingsValueType::Dword, 4},     {"Background", SettingsValueType::Dword, 1},
        {"TextOn", SettingsValueType::Dword, 1},     {"Text", SettingsValueType::String, 70},
        {"RotateX", SettingsValueType::Dword, 1},    {"RotateY", SettingsValueType::Dword, 1},
        {"RotateZ", SettingsValueType::Dword, 1},    {"RotateSpeed", SettingsValueType::Dword, 4},
        {"TravelSpeed", SettingsValueType::Dword, 4}, {"CycleLength", SettingsValueType::Dword, 4},
    };
    ASSERT_EQ(values.size(), std::size(table));
    for (std::size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(table[i].name);
        EXPECT_EQ(values[i].name, table[i].name);  // in the order written
        EXPECT_EQ(values[i].type, table[i].type);
        EXPECT_EQ(values[i].data.size(), table[i].length);
    }
    EXPECT_NE(text.find("[Number]\nType=REG_DWORD\nLength=4\nData=2000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Background]\nType=REG_DWORD\nLength=1\nData=1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Text]\nType=REG_SZ\nLength=70\nData=Starry Starry Night\n"), std::string::npos) << text;
}

TEST_F(SettingsStore, FolderIsCreatedPrivate)
{
    SaveSettings();
    struct stat info {};
    ASSERT_EQ(stat(SettingsFile().parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(SettingsStore, FileWithOnlyNumberKeepsTheOtherDefaults)
{
    const SaverSettingsRecord loaded = LoadFrom("[Number]\nType=REG_DWORD\nLength=4\nData=3000\n");
    SaverSettingsRecord expected = DefaultSettings();
    expected.Number = 3000;
    ExpectSameSettings(expected, loaded);
}

TEST_F(SettingsStore, FlagsStoredAsTwoStayTwo)
{
    // Every reader treats a nonzero flag as on; the store keeps the 2.
    const SaverSettingsRecord loaded = LoadFrom(
        "[Background]\nType=REG_DWORD\nLength=1\nData=2\n"
        "[TextOn]\nType=REG_DWORD\nLength=1\nData=2\n"
        "[RotateZ]\nType=REG_DWORD\nLength=1\nData=0\n");
    EXPECT_EQ(loaded.Background, 2);
    EXPECT_EQ(loaded.TextOn, 2);
    EXPECT_EQ(loaded.RotateZ, 0);
    SaveSettings();
    SaverSettings = DefaultSettings();
    LoadSettings();
    EXPECT_EQ(SaverSettings.TextOn, 2);
}

TEST_F(SettingsStore, StoredTypeAndLengthAreNotChecked)
{
    // Types are ignored; data of another length gives its leading bytes and
    // leaves the rest of the field as it was.
    const SaverSettingsRecord loaded = LoadFrom(
        "[Background]\nType=REG_SZ\nLength=1\nHex=03\n"
        "[TextOn]\nType=REG_DWORD\nLength=4\nData=258\n"           // 0x102: first byte 2
        "[Number]\nType=REG_DWORD\nLength=1\nData=7\n"             // low byte of 2000 (0x7D0) only
        "[CycleLength]\nType=REG_DWORD\nLength=4\nData=-40\n"      // kept as stored, no clamping
        "[Text]\nType=REG_DWORD\nLength=3\nHex=414243\n");         // "ABC", then the default's 'r'...
    EXPECT_EQ(loaded.Background, 3);
    EXPECT_EQ(loaded.TextOn, 2);
    EXPECT_EQ(loaded.Number, 0x707);
    EXPECT_EQ(loaded.CycleLength, -40);
    EXPECT_STREQ(loaded.Text, "ABCrry Starry Night");
}

TEST_F(SettingsStore, TextIsAlwaysTerminated)
{
    struct Case {
        const char* name;
        std::string file;
        char fill;  // what the first 69 bytes hold after the load
    };
    const Case cases[] = {
        {"70 bytes without a zero", "[Text]\nType=REG_SZ\nLength=70\nData=" + std::string(70, 'A') + "\n", 'A'},
        {"longer than the field", "[Text]\nType=REG_SZ\nLength=80\nData=" + std::string(80, 'B') + "\n", 'B'},
        {"70 hex bytes without a zero", "[Text]\nType=REG_SZ\nLength=70\nHex=" + std::string(140, 'c') + "\n", '\xcc'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SaverSettingsRecord loaded = LoadFrom(c.file);
        EXPECT_EQ(TextField(loaded), std::string(TextFieldBytes - 1, c.fill) + '\0');
    }
}

TEST_F(SettingsStore, DamagedFilesLoadWhatTheyCan)
{
    // Number and RotateSpeed are always well-formed; each case damages the
    // other values in a different way.
    const std::string good =
        "[Number]\nType=REG_DWORD\nLength=4\nData=4000\n"
        "[RotateSpeed]\nType=REG_DWORD\nLength=4\nData=3\n";
    struct Case {
        const char* name;
        std::string file;
        std::function<void(SaverSettingsRecord&)> expect;  // changes from the defaults besides good's
    };
    const Case cases[] = {
        {"stray line between groups", good + "this is not a key file\n[TextOn]\nType=REG_DWORD\nLength=1\nData=1\n",
         [](SaverSettingsRecord& s) { s.TextOn = 1; }},
        {"broken group header keeps its keys away from the group before",
         good + "[TextOn\nType=REG_DWORD\nLength=1\nData=1\n[CycleLength]\nType=REG_DWORD\nLength=4\nData=99\n",
         [](SaverSettingsRecord& s) { s.CycleLength = 99; }},
        {"truncated in the middle of a value", good + "[Text]\nType=REG_SZ\nLen", {}},
        {"number that is not a number", good + "[CycleLength]\nType=REG_DWORD\nLength=4\nData=12abc\n", {}},
        {"number beyond 32 bits", good + "[CycleLength]\nType=REG_DWORD\nLength=4\nData=99999999999\n", {}},
        {"flag beyond a byte", good + "[TextOn]\nType=REG_DWORD\nLength=1\nData=256\n", {}},
        {"unknown type", good + "[TextOn]\nType=REG_BINARY\nLength=1\nData=1\n", {}},
        {"missing type", good + "[TextOn]\nLength=1\nData=1\n", {}},
        {"absurd length", good + "[Text]\nType=REG_SZ\nLength=999999\nData=x\n", {}},
        {"negative length", good + "[Text]\nType=REG_SZ\nLength=-1\nData=x\n", {}},
        {"odd hex", good + "[TextOn]\nType=REG_DWORD\nLength=1\nHex=1\n", {}},
        {"hex of the wrong length", good + "[TextOn]\nType=REG_DWORD\nLength=1\nHex=0101\n", {}},
        {"text longer than its length", good + "[Text]\nType=REG_SZ\nLength=3\nData=abcd\n", {}},
        {"tail beyond the length", good + "[Text]\nType=REG_SZ\nLength=4\nData=ab\nTail=4142\n", {}},
        {"invalid UTF-8 text", good + "[Text]\nType=REG_SZ\nLength=70\nData=\xff\xfe\n", {}},
        {"binary junk with zero bytes", good + std::string("\0\x01\x02[\xff]\n=\n\0\0", 12) + "\n[TextOn]\nType=REG_DWORD\nLength=1\nData=1\n",
         [](SaverSettingsRecord& s) { s.TextOn = 1; }},
        {"keys before any group", "Type=REG_DWORD\nData=5\n" + good, {}},
        {"CRLF line ends", "[Number]\r\nType=REG_DWORD\r\nLength=4\r\nData=4000\r\n[RotateSpeed]\nType=REG_DWORD\nLength=4\nData=3\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SaverSettingsRecord loaded = LoadFrom(c.file);
        SaverSettingsRecord expected = DefaultSettings();
        expected.Number = 4000;
        expected.RotateSpeed = 3;
        if (c.expect) {
            c.expect(expected);
        }
        ExpectSameSettings(expected, loaded);
    }
}

TEST_F(SettingsStore, SaveKeepsOtherValuesInTheFile)
{
    WriteFile(SettingsFile(), "[Future]\nType=REG_DWORD\nLength=4\nData=42\n");
    SaveSettings();
    const std::string text = ReadFile(SettingsFile());
    EXPECT_NE(text.find("[Future]"), std::string::npos);
    EXPECT_EQ(ParseSettingsFile(text).size(), 11u);
}

// A save that fails half-way (here: the file size limit, which stops writes
// the way a full disk does, also for root) leaves the old file as it was and
// no temporary file behind.
TEST_F(SettingsStore, FailedSaveKeepsTheOldFile)
{
    SaverSettings.Number = 1234;
    SaveSettings();
    const std::string before = ReadFile(SettingsFile());
    ASSERT_FALSE(before.empty());

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    SaverSettings.Number = 4321;
    std::memset(SaverSettings.Text, 'z', TextFieldBytes - 1);
    SaveSettings();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(ReadFile(SettingsFile()), before);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(SettingsFile().parent_path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "a temporary file was left behind";
    SaverSettings = DefaultSettings();
    LoadSettings();
    EXPECT_EQ(SaverSettings.Number, 1234);
}

// The folder cannot be made (a file stands where it should be): the save is
// silently skipped and the load falls back to the defaults.
TEST_F(SettingsStore, UnwritablePlaceIsSilent)
{
    WriteFile(folder_ / "orinthal", "not a folder");
    SaverSettings.Number = 1111;
    SaveSettings();
    EXPECT_EQ(ReadFile(folder_ / "orinthal"), "not a folder");
    LoadSettings();
    EXPECT_EQ(SaverSettings.Number, 2000);
}

}  // namespace
