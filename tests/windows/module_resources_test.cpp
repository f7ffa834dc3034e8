// What the resource script puts into the module: the twelve pictures, the
// icon group, the name, the manifest and the configuration dialog template.
// The test program carries the same script as orinthal.scr.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <iterator>
#include <vector>

#include "shell/win32_resource_ids.h"
#include "texture/resource_bytes.h"

namespace {

std::vector<unsigned char> ReadWholeFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        unsigned char buffer[65536];
        size_t count;
        while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + count);
        std::fclose(file);
    }
    return bytes;
}

TEST(ModuleResources, TheTwelvePicturesAreTheShippedFiles)
{
    const char* files[] = {
        "119-star.gif",
        "120-m31-andromeda.jpg",
        "121-m8-lagoon.jpg",
        "122-m45-pleiades.jpg",
        "123-ic434-horsehead.jpg",
        "124-m17-omega.jpg",
        "125-ngc6960-veil.jpg",
        "126-m33-triangulum.jpg",
        "127-ic2944-running-chicken.jpg",
        "128-ic1396-elephant-trunk.jpg",
        "129-rcw32-vela.jpg",
        "130-ic4628-prawn.jpg",
    };
    for (int id = IMAGES_FIRST_ID; id <= IMAGES_LAST_ID; ++id) {
        SCOPED_TRACE(id);
        const unsigned char* bytes = nullptr;
        size_t size = 0;
        ASSERT_TRUE(FindResourceBytes(id, "IMAGES", &bytes, &size));
        const std::vector<unsigned char> file = ReadWholeFile(std::string(PICTURE_DIR "/") + files[id - 119]);
        ASSERT_FALSE(file.empty());
        ASSERT_EQ(size, file.size());
        EXPECT_EQ(std::memcmp(bytes, file.data(), size), 0);
    }
}

TEST(ModuleResources, UnknownIdsAndTypesAreNotFound)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>("unchanged");
    size_t size = 42;
    EXPECT_FALSE(FindResourceBytes(131, "IMAGES", &bytes, &size));
    EXPECT_FALSE(FindResourceBytes(118, "IMAGES", &bytes, &size));
    EXPECT_FALSE(FindResourceBytes(119, "PICTURES", &bytes, &size));
    // Only the low 16 bits name the resource.
    EXPECT_TRUE(FindResourceBytes(0x10000 + 119, "IMAGES", &bytes, &size));
}

TEST(ModuleResources, NameIconAndManifest)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    char name[64] = {};
    ASSERT_GT(LoadStringA(module, IDS_SAVER_NAME, name, sizeof name), 0);
    EXPECT_STREQ(name, "Orinthal v1.00");

    // The icon group lists a 32, a 48 and a 64 pixel image.
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_SAVER_ICON), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const unsigned char* directory = static_cast<const unsigned char*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(directory, nullptr);
    const int count = directory[4] | (directory[5] << 8);
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const int width = directory[6 + 14 * i];
        sizes.push_back(width == 0 ? 256 : width);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{32, 48, 64}));
    EXPECT_NE(LoadIconA(module, MAKEINTRESOURCEA(IDI_SAVER_ICON)), nullptr);

    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(manifest, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
    const std::string xml(text, SizeofResource(module, manifest));
    EXPECT_NE(xml.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

// A dialog template, read field by field.
class TemplateReader {
public:
    explicit TemplateReader(const unsigned char* at) : start_(at), at_(at) {}
    uint16_t Word()
    {
        const uint16_t value = static_cast<uint16_t>(at_[0] | (at_[1] << 8));
        at_ += 2;
        return value;
    }
    uint32_t Dword()
    {
        const uint32_t low = Word();
        return low | (static_cast<uint32_t>(Word()) << 16);
    }
    int16_t Short() { return static_cast<int16_t>(Word()); }
    // A string or 0xFFFF and an ordinal; predefined classes come as atoms.
    std::string StringOrOrdinal()
    {
        const uint16_t first = Word();
        if (first == 0xFFFF) {
            const uint16_t atom = Word();
            switch (atom) {
            case 0x80: return "button";
            case 0x81: return "edit";
            case 0x82: return "static";
            default: break;
            }
            std::string ordinal = "#";
            ordinal += std::to_string(atom);
            return ordinal;
        }
        std::string text;
        for (uint16_t c = first; c != 0; c = Word())
            text += static_cast<char>(c < 0x80 ? c : '?');
        return text;
    }
    void AlignDword()
    {
        while ((at_ - start_) % 4 != 0)
            ++at_;
    }
    void Skip(size_t bytes) { at_ += bytes; }

private:
    const unsigned char* start_;
    const unsigned char* at_;
};

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct ControlRow {
    int id;
    const char* windowClass;
    DWORD style;  // beyond WS_CHILD | WS_VISIBLE
    const char* text;
    short x, y, w, h;
};

constexpr DWORD Static = SS_LEFT | WS_GROUP;
constexpr DWORD Check = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr int Unnamed = 0xFFFF;  // -1 as a template word

TEST(ModuleResources, ConfigurationDialogTemplate)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDD_CONFIGURE), MAKEINTRESOURCEA(5));  // RT_DIALOG
    ASSERT_NE(resource, nullptr);
    TemplateReader reader(static_cast<const unsigned char*>(LockResource(LoadResource(module, resource))));

    const DWORD style = reader.Dword();
    EXPECT_NE(style & 0xFFFF0000, 0xFFFF0000u) << "an extended template";
    EXPECT_EQ(style, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE));
    EXPECT_EQ(reader.Dword(), 0u);  // extended style
    const int count = reader.Word();
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 187);
    EXPECT_EQ(reader.Short(), 215);
    EXPECT_EQ(reader.StringOrOrdinal(), "");  // no menu
    EXPECT_EQ(reader.StringOrOrdinal(), "");  // the standard dialog class
    EXPECT_EQ(reader.StringOrOrdinal(), "Orinthal");
    EXPECT_EQ(reader.Word(), 8);
    EXPECT_EQ(reader.StringOrOrdinal(), "MS Sans Serif");

    // The controls in template order, which is also the tab order.
    const ControlRow rows[] = {
        {IDOK, "button", BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 130, 5, 50, 14},
        {Unnamed, "static", Static, nullptr, 10, 20, 122, 8},
        {Unnamed, "static", Static, nullptr, 10, 30, 76, 10},
        {Unnamed, "static", Static, "Star Numbers", 13, 138, 47, 8},
        {Unnamed, "static", Static, "Orinthal Screen Saver", 10, 5, 98, 8},
        {IDCANCEL, "button", BS_PUSHBUTTON | WS_TABSTOP, "CANCEL", 130, 25, 50, 14},
        {1012, "msctls_trackbar32", WS_TABSTOP | TBS_AUTOTICKS, "Slider1", 61, 132, 112, 20},
        {Unnamed, "static", Static, "v 1.00", 90, 30, 21, 8},
        {Unnamed, "static", Static, "1000", 67, 153, 17, 8},
        {Unnamed, "static", Static, "5000", 149, 153, 20, 8},
        {1019, "button", Check, "Background", 13, 60, 55, 10},
        {1025, "button", BS_GROUPBOX, "Flying 3DText ", 10, 161, 165, 47},
        {1020, "button", Check, "3D Text", 13, 174, 41, 10},
        {1021, "edit", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, "", 59, 172, 112, 14},
        {1022, "button", Check, "X Rotation", 13, 191, 49, 10},
        {1023, "button", Check, "Y Rotation", 66, 191, 49, 10},
        {1024, "button", Check, "Z Rotation", 119, 191, 49, 10},
        {1026, "msctls_trackbar32", WS_TABSTOP, "Slider2", 7, 97, 84, 15},
        {Unnamed, "static", Static, "Rotation Speed", 14, 86, 69, 8},
        {Unnamed, "static", Static, "Slow", 14, 114, 25, 8},
        {Unnamed, "static", Static, "Fast", 69, 114, 20, 8},
        {Unnamed, "static", Static, nullptr, 7, 43, 125, 8},
        {Unnamed, "static", Static, "Travel Speed", 101, 86, 72, 8},
        {1027, "msctls_trackbar32", WS_TABSTOP, "Slider3", 94, 98, 79, 15},
        {Unnamed, "static", Static, "Cycle", 73, 61, 18, 8},
        {1028, "msctls_trackbar32", WS_TABSTOP, "Slider4", 94, 58, 79, 15},
        {Unnamed, "static", Static, "Slow", 101, 114, 25, 8},
        {Unnamed, "static", Static, "Fast", 152, 114, 20, 8},
        {Unnamed, "static", Static, "Short", 101, 74, 18, 8},
        {Unnamed, "static", Static, "Long", 147, 74, 17, 8},
    };
    ASSERT_EQ(count, static_cast<int>(std::size(rows)));
    for (int i = 0; i < count; ++i) {
        const ControlRow& row = rows[i];
        SCOPED_TRACE(testing::Message() << "control " << i + 1);
        reader.AlignDword();
        EXPECT_EQ(reader.Dword(), WS_CHILD | WS_VISIBLE | row.style);
        EXPECT_EQ(reader.Dword(), 0u);
        EXPECT_EQ(reader.Short(), row.x);
        EXPECT_EQ(reader.Short(), row.y);
        EXPECT_EQ(reader.Short(), row.w);
        EXPECT_EQ(reader.Short(), row.h);
        EXPECT_EQ(reader.Word(), row.id);
        EXPECT_EQ(Lowered(reader.StringOrOrdinal()), row.windowClass);
        const std::string text = reader.StringOrOrdinal();
        if (row.text != nullptr)
            EXPECT_EQ(text, row.text);
        else
            EXPECT_FALSE(text.empty()) << "a notice line";
        reader.Skip(reader.Word());  // creation data
    }
}

}  // namespace
