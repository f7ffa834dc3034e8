// The Linux outline font: the face it finds, the glyph metrics, the code
// page, and the solid each glyph becomes.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

#include "render/freetype_outline_font.h"
#include "render/glyph_extrusion.h"
#include "tests/render/render_fixture.h"

namespace {

TEST(OutlineFontFace, IsTheHandLetteredBoldFace)
{
    int index = -1;
    const std::string file = FindOutlineFontFile(&index);
    ASSERT_FALSE(file.empty());
    EXPECT_GE(index, 0);

    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Face(library, file.c_str(), index, &face), 0);
    const std::string family = face->family_name;
    EXPECT_TRUE(family == "Comic Sans MS" || family == "Comic Neue") << family;
    EXPECT_TRUE(face->style_flags & FT_STYLE_FLAG_BOLD) << face->style_name;
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

TEST(OutlineFontCodePage, MapsWindows1252)
{
    const struct { unsigned char code; unsigned int character; } cases[] = {
        { 'A', 'A' }, { '%', '%' }, { 0x80, 0x20AC }, { 0x81, 0 }, { 0x8D, 0 }, { 0x8F, 0 }, { 0x90, 0 },
        { 0x9D, 0 }, { 0x92, 0x2019 }, { 0x9F, 0x0178 }, { 0xA0, 0xA0 }, { 0xE9, 0xE9 }, { 0xFE, 0xFE },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Windows1252ToUnicode(c.code), c.character) << "code " << int(c.code);
    }
}

class OutlineFont : public RenderTest {
protected:
    int SurfaceWidth() const override { return 96; }
    int SurfaceHeight() const override { return 96; }

    void SetUp() override
    {
        RenderTest::SetUp();
        BuildOutlineFont(Surface());
        ASSERT_NE(FontListBase, 0u);
    }

    // Draws one glyph's list, white and unlit, filling the frame through an
    // orthographic view of its black box (with a margin).
    void DrawGlyphFlat(unsigned char code)
    {
        const OutlineGlyphMetrics& g = GlyphMetrics[code];
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        const float margin = 0.1f;
        glOrtho(g.gmfptGlyphOriginX - margin, g.gmfptGlyphOriginX + g.gmfBlackBoxX + margin,
                g.gmfptGlyphOriginY - g.gmfBlackBoxY - margin, g.gmfptGlyphOriginY + margin, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor4f(1, 1, 1, 1);
        glCallList(FontListBase + code);
        glLoadIdentity();
        glFinish();
    }
};

TEST_F(OutlineFont, MetricsAreInEmUnits)
{
    const auto& a = GlyphMetrics['A'];
    EXPECT_GT(a.gmfCellIncX, 0.3f);
    EXPECT_LT(a.gmfCellIncX, 1.2f);
    EXPECT_GT(a.gmfBlackBoxY, 0.4f);
    EXPECT_LT(a.gmfBlackBoxY, 1.0f);
    EXPECT_GT(a.gmfptGlyphOriginY, 0.4f);

    const struct { const char* name; unsigned char code; bool advances; } cases[] = {
        { "space", ' ', true },
        { "percent", '%', true },
        { "euro", 0x80, true },
        { "e acute", 0xE9, true },
        { "y diaeresis", 0xFF, false },  // 255 is never built
        { "undefined 0x81", 0x81, false },
        { "NUL", 0, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.advances) {
            EXPECT_GT(GlyphMetrics[c.code].gmfCellIncX, 0);
        } else {
            EXPECT_EQ(GlyphMetrics[c.code].gmfCellIncX, 0);
        }
    }
}

// Each list ends by moving the origin on by the glyph's advance; the list of
// code 255 does nothing at all.
TEST_F(OutlineFont, ListsMoveTheOriginByTheAdvance)
{
    for (int code : { int('A'), int('W'), int(' '), 0xE9, 0xFF }) {
        SCOPED_TRACE(testing::Message() << "code " << int(code));
        glLoadIdentity();
        glCallList(FontListBase + code);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_FLOAT_EQ(m[12], GlyphMetrics[code].gmfCellIncX);
        EXPECT_EQ(m[13], 0.0f);
    }
    glLoadIdentity();
}

// Runs of lit pixels along the frame's middle row.
int LitRunsAcrossTheMiddle(const std::vector<unsigned char>& pixels, int width, int height)
{
    int runs = 0;
    bool inside = false;
    const size_t row = static_cast<size_t>(height / 2) * width * 4;
    for (int x = 0; x < width; ++x) {
        const bool lit = pixels[row + x * 4] > 128;
        runs += lit && !inside;
        inside = lit;
    }
    return runs;
}

// The tessellator keeps counters open: across their middle 'O' and 'o'
// show their hole and 'U' its two stems, while 'I' is solid.
TEST_F(OutlineFont, CountersStayOpen)
{
    const struct { unsigned char code; int runs; } cases[] = { { 'O', 2 }, { 'o', 2 }, { 'I', 1 }, { 'U', 2 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "glyph " << c.code);
        DrawGlyphFlat(c.code);
        EXPECT_EQ(LitRunsAcrossTheMiddle(ReadFrame(), SurfaceWidth(), SurfaceHeight()), c.runs);
    }
}

// Seen with back faces culled and light 0 shining along the line of sight,
// the front, the back and the walls all face outwards: each is drawn, and
// fully lit (a reversed normal would leave only the ambient light).
TEST_F(OutlineFont, EveryFaceIsWoundAndLitFromOutside)
{
    const struct { const char* name; float angle; } views[] = {
        { "front", 0 }, { "back", 180 }, { "left wall", 90 }, { "right wall", -90 },
    };
    const OutlineGlyphMetrics& g = GlyphMetrics['I'];
    for (const auto& view : views) {
        SCOPED_TRACE(view.name);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(view.angle, 0, 1, 0);
        // The glyph's middle, halfway through its depth, at the origin.
        glTranslatef(-(g.gmfptGlyphOriginX + g.gmfBlackBoxX / 2), -(g.gmfptGlyphOriginY - g.gmfBlackBoxY / 2), 0.175f);

        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHT0);
        glEnable(GL_LIGHTING);
        glEnable(GL_COLOR_MATERIAL);
        glColor4f(1, 1, 1, 1);
        glCallList(FontListBase + 'I');
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHT0);
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
        glLoadIdentity();

        const auto pixels = ReadFrame();
        int lit = 0, bright = 0;
        for (size_t i = 0; i < pixels.size(); i += 4) {
            lit += pixels[i] > 0;
            bright += pixels[i] > 240;
        }
        // Rounded corners catch less light; a reversed face catches none.
        EXPECT_GT(lit, 20);
        EXPECT_GT(bright, lit / 2);
    }
}

TEST_F(OutlineFont, UnreadableFaceLeavesNoGlyphs)
{
    DeleteOutlineFont();
    FontListBase = glGenLists(FontListCount);
    for (const char* path : { "/nonexistent/face.ttf", __FILE__ }) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(BuildOutlineFontFromFile(path, 0));
        EXPECT_EQ(GlyphMetrics['A'].gmfCellIncX, 0);
    }
    // The text then takes no room and draws nothing.
    PrintFlyingText("Orinthal");
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 0.0f);
    glLoadIdentity();

    DeleteOutlineFont();
    int index = 0;
    EXPECT_FALSE(BuildOutlineFontFromFile(FindOutlineFontFile(&index).c_str(), index)) << "no lists to fill";
}

// The filled area of a square with a square hole, whichever way round the
// outer contour runs, and walls that face away from the filled side.
TEST(GlyphExtrusion, FillsAroundHolesInEitherWinding)
{
    const std::vector<GlyphPoint> outerCounterClockwise = { { 0, 0 }, { 4, 0 }, { 4, 4 }, { 0, 4 } };
    const std::vector<GlyphPoint> innerClockwise = { { 1, 1 }, { 1, 3 }, { 3, 3 }, { 3, 1 } };
    const auto reversed = [](std::vector<GlyphPoint> contour) {
        std::reverse(contour.begin(), contour.end());
        return contour;
    };
    const struct { const char* name; GlyphContours contours; } cases[] = {
        { "outer counter-clockwise", { outerCounterClockwise, innerClockwise } },
        { "outer clockwise", { reversed(outerCounterClockwise), reversed(innerClockwise) } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GlyphMesh mesh;
        ASSERT_TRUE(TessellateGlyph(c.contours, mesh));
        ASSERT_EQ(mesh.Triangles.size() % 3, 0u);
        double area = 0;
        for (size_t i = 0; i < mesh.Triangles.size(); i += 3) {
            const GlyphPoint& a = mesh.Triangles[i];
            const GlyphPoint& b = mesh.Triangles[i + 1];
            const GlyphPoint& d = mesh.Triangles[i + 2];
            const double twice = (b.X - a.X) * (d.Y - a.Y) - (b.Y - a.Y) * (d.X - a.X);
            EXPECT_GT(twice, 0) << "front triangles run counter-clockwise";
            area += twice / 2;
        }
        EXPECT_NEAR(area, 16 - 4, 1e-9);

        ASSERT_EQ(mesh.Edges.size(), 16u);
        for (size_t i = 0; i < mesh.Edges.size(); i += 2) {
            const GlyphPoint& a = mesh.Edges[i];
            const GlyphPoint& b = mesh.Edges[i + 1];
            // Just to the left of the edge's middle lies the filled ring.
            const double x = (a.X + b.X) / 2 - (b.Y - a.Y) * 0.1;
            const double y = (a.Y + b.Y) / 2 + (b.X - a.X) * 0.1;
            const bool inOuter = x > 0 && x < 4 && y > 0 && y < 4;
            const bool inHole = x > 1 && x < 3 && y > 1 && y < 3;
            EXPECT_TRUE(inOuter && !inHole) << "edge from (" << a.X << ", " << a.Y << ")";
        }
    }
}

}  // namespace
