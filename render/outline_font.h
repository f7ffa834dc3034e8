#pragma once
// Solid 3D text: one GL display list per character code, built from a TrueType
// face's outlines, filled and extruded 0.35 deep along -z, in em units.
#include "render/frame_surface.h"

struct OutlineGlyphMetrics {
    float gmfBlackBoxX;
    float gmfBlackBoxY;
    float gmfptGlyphOriginX;
    float gmfptGlyphOriginY;
    float gmfCellIncX;   // the horizontal advance, in em units
    float gmfCellIncY;
};

inline constexpr int FontListCount = 256;

extern unsigned int FontListBase;
extern OutlineGlyphMetrics GlyphMetrics[FontListCount];
extern float ColourPhase;
extern float TextColour[4];

// Builds the lists for codes 0 to 254 in the current context (platform layer:
// wglUseFontOutlinesA on Windows, FreeType on Linux).
void BuildOutlineFont(FrameSurface* surface);
// Draws text centred on the current origin, lit, in the cycling colour.
void PrintFlyingText(const char* text);
void DeleteOutlineFont();
