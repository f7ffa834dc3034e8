// The flying text: its colour cycle, its centring and the state it keeps
// while the text is off.
#include "tests/render/render_fixture.h"

namespace {

class FlyingText : public RenderTest {
protected:
    int SurfaceWidth() const override { return 32; }
    int SurfaceHeight() const override { return 32; }
};

TEST_F(FlyingText, ColourCyclesWithEveryCallEvenForEmptyText)
{
    const struct {
        const char* name;
        float phase;
        const char* text;
        float phaseAfter;
    } cases[] = {
        { "first call", 0, "Orinthal", 0.5f },
        { "empty text", 0, "", 0.5f },
        { "reaches 360", 359.5f, "x", 360 },
        { "360 is used once", 360, "x", 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ColourPhase = c.phase;
        PrintFlyingText(c.text);
        EXPECT_EQ(ColourPhase, c.phaseAfter);
        EXPECT_EQ(TextColour[3], 1.0f);
        if (c.phase == 0) {
            EXPECT_EQ(TextColour[0], 0.0f);
            EXPECT_EQ(TextColour[1], 0.5f);
            EXPECT_EQ(TextColour[2], 0.0f);
            float current[4];
            glGetFloatv(GL_CURRENT_COLOR, current);
            EXPECT_EQ(current[1], 0.5f);
        }
    }
}

TEST_F(FlyingText, AbsentTextDrawsNothingAndKeepsTheColour)
{
    ColourPhase = 12;
    TextColour[0] = 0.25f;
    PrintFlyingText(nullptr);
    EXPECT_EQ(ColourPhase, 12.0f);
    EXPECT_EQ(TextColour[0], 0.25f);
    // Not even the state is switched: a fresh context keeps blending off.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

// The text is moved left by half its width, and every glyph's list moves the
// origin on by its advance: afterwards the origin sits half a width right.
// Code 255 has neither a glyph nor an advance.
TEST_F(FlyingText, TextIsCentredOnItsAdvances)
{
    BuildOutlineFont(Surface());
    ASSERT_GT(GlyphMetrics['A'].gmfCellIncX, 0);
    const auto advance = [](unsigned char code) { return GlyphMetrics[code].gmfCellIncX; };
    const struct { const char* text; float width; } cases[] = {
        { "A", advance('A') },
        { "AB", advance('A') + advance('B') },
        { "A\xff", advance('A') },
        { "%d%%", advance('%') * 3 + advance('d') },
        { "\x80\xe9 ", advance(0x80) + advance(0xe9) + advance(' ') },
        { "", 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        glLoadIdentity();
        PrintFlyingText(c.text);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_NEAR(m[12], c.width / 2, 1e-5);
    }
    glLoadIdentity();
}

TEST_F(FlyingText, StandsStillWhileTextIsOff)
{
    SaverSettings.Number = 20;
    AllocateGalaxies();
    HoldCycle();
    SceneState.TextSpin = 10;
    SceneState.TextPhase = 99;
    ColourPhase = 30;
    TextColour[0] = 0.125f;

    SaverSettings.TextOn = 0;
    for (int frame = 0; frame < 3; ++frame) {
        RenderFrame(Surface());
    }
    EXPECT_EQ(SceneState.TextSpin, 10.0f);
    EXPECT_EQ(SceneState.TextPhase, 99);
    EXPECT_EQ(ColourPhase, 30.0f);
    EXPECT_EQ(TextColour[0], 0.125f);

    SaverSettings.TextOn = 1;
    for (int frame = 0; frame < 3; ++frame) {
        RenderFrame(Surface());
    }
    EXPECT_EQ(SceneState.TextSpin, 10.0f + 3 * SaverSettings.RotateSpeed);
    EXPECT_EQ(SceneState.TextPhase, 102);
    EXPECT_EQ(ColourPhase, 31.5f);
}

}  // namespace
