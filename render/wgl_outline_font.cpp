// The flying text's glyphs on Windows: the TrueType outlines of the font,
// filled and extruded by WGL into one display list per character code.
#include <windows.h>

#include "render/outline_font.h"
#include "shell/gl_api.h"

namespace {

// Codes 0 to 254 get outlines; the list for 255 stays empty and its metrics 0.
constexpr DWORD OutlinedCodes = 255;
constexpr FLOAT Extrusion = 0.35f;

}  // namespace

void BuildOutlineFont(FrameSurface* surface)
{
    HDC dc = reinterpret_cast<HDC>(surface);
    FontListBase = glGenLists(FontListCount);

    HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             "Comic Sans MS");
    // The font stays selected in the window's device context for its lifetime.
    SelectObject(dc, font);

    GLYPHMETRICSFLOAT metrics[FontListCount] = {};
    wglUseFontOutlinesA(dc, 0, OutlinedCodes, FontListBase, 0.0f, Extrusion, WGL_FONT_POLYGONS, metrics);
    for (int code = 0; code < FontListCount; ++code) {
        const GLYPHMETRICSFLOAT& from = metrics[code];
        GlyphMetrics[code] = OutlineGlyphMetrics{from.gmfBlackBoxX,         from.gmfBlackBoxY,
                                                 from.gmfptGlyphOrigin.x,   from.gmfptGlyphOrigin.y,
                                                 from.gmfCellIncX,          from.gmfCellIncY};
    }
}
