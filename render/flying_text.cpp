#include <cmath>
#include <cstring>

#include "render/outline_font.h"
#include "shell/gl_api.h"

unsigned int FontListBase = 0;
OutlineGlyphMetrics GlyphMetrics[FontListCount] = {};
float ColourPhase = 0;
float TextColour[4] = { 0, 0, 0, 1 };

namespace {

// 0.5 - cos(phase x rate) x 0.5, worked out in double, kept in single precision.
float ColourWave(float phase, float rate, double (*wave)(double))
{
    return static_cast<float>(0.5 - wave(static_cast<double>(phase) * rate) * 0.5);
}

double Cosine(double v) { return std::cos(v); }
double Sine(double v) { return std::sin(v); }

}  // namespace

void PrintFlyingText(const char* text)
{
    if (text == nullptr) {
        return;
    }
    const size_t length = std::strlen(text);
    double width = 0;
    for (size_t i = 0; i < length; ++i) {
        width += GlyphMetrics[static_cast<unsigned char>(text[i])].gmfCellIncX;
    }
    const float textWidth = static_cast<float>(width);

    const float phase = ColourPhase;
    TextColour[0] = ColourWave(phase, 0.05f, Cosine);
    TextColour[1] = ColourWave(phase, 0.04f, Sine);
    TextColour[2] = ColourWave(phase, 0.05882353f, Cosine);
    ColourPhase += 0.5f;
    if (ColourPhase > 360) {
        ColourPhase = 0;
    }

    glColor4fv(TextColour);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, TextColour);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glDisable(GL_BLEND);

    glTranslatef(textWidth * -0.5f, 0, 0);
    // List base 0 means no font was built: the names from 0 on belong to
    // nobody we know, so nothing is called.
    if (FontListBase != 0 && length > 0) {
        glPushAttrib(GL_LIST_BIT);
        glListBase(FontListBase);
        glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
        glPopAttrib();
    }

    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
}

void DeleteOutlineFont()
{
    if (FontListBase != 0) {
        glDeleteLists(FontListBase, FontListCount);
    }
    // The names are gone; forget them so no later text calls lists that
    // someone else may have been given.
    FontListBase = 0;
    std::memset(GlyphMetrics, 0, sizeof GlyphMetrics);
}
