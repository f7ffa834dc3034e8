#include "render/freetype_outline_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

#include "render/glyph_extrusion.h"
#include "render/outline_font.h"
#include "shell/gl_api.h"

namespace {

constexpr int BuiltGlyphs = 255;      // codes 0 to 254; 255 stays empty
constexpr float ExtrusionDepth = 0.35f;
// Largest distance, in em, between a curve and the segments that stand for
// it. The text is never nearer than 10 units, where an em is about 187 pixels
// of a 2160-line screen, so this is under a fifth of a pixel there (a tenth
// at 1080 lines). Every point costs six vertices in its list, and compiling
// the lists is most of the font's start-up time: a finer tolerance buys no
// visible change for a third more vertices.
constexpr double CurveTolerance = 0.001;
constexpr int MaxCurveSegments = 64;

// 0x80 to 0x9F; the rest of the code page matches Unicode's first 256.
constexpr unsigned short Windows1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

// Reads the first face fontconfig matches for family + bold; accepts it only
// when it is scalable and, if requireFamily, really is that family (fontconfig
// otherwise answers with its nearest substitute).
std::string MatchFace(const char* family, bool requireFamily, int* faceIndex)
{
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return {};
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    std::string file;
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match != nullptr) {
        bool familyOk = !requireFamily;
        FcChar8* found = nullptr;
        for (int i = 0; !familyOk && FcPatternGetString(match, FC_FAMILY, i, &found) == FcResultMatch; ++i) {
            familyOk = strcasecmp(reinterpret_cast<const char*>(found), family) == 0;
        }
        FcBool outline = FcFalse;
        FcChar8* path = nullptr;
        int index = 0;
        if (familyOk && FcPatternGetBool(match, FC_OUTLINE, 0, &outline) == FcResultMatch && outline &&
            FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            file = reinterpret_cast<const char*>(path);
            *faceIndex = index;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

// Collects a glyph's outline as closed polylines in em units, with the curves
// flattened.
struct OutlineWalk {
    GlyphContours Contours;
    double Scale;      // 1 / units per em
    double Tolerance;  // CurveTolerance in font units
    FT_Vector Last;
};

void AddPoint(OutlineWalk& walk, double x, double y)
{
    auto& contour = walk.Contours.back();
    const GlyphPoint point{ x * walk.Scale, y * walk.Scale };
    if (!contour.empty() && contour.back().X == point.X && contour.back().Y == point.Y) {
        return;
    }
    contour.push_back(point);
}

int MoveTo(const FT_Vector* to, void* user)
{
    auto& walk = *static_cast<OutlineWalk*>(user);
    walk.Contours.emplace_back();
    AddPoint(walk, to->x, to->y);
    walk.Last = *to;
    return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
    auto& walk = *static_cast<OutlineWalk*>(user);
    AddPoint(walk, to->x, to->y);
    walk.Last = *to;
    return 0;
}

// Segments enough that a chord never strays further than the tolerance from
// the curve: the distance is at most |B''| / (8 n^2).
int SegmentsFor(double secondDifference, double factor, double tolerance)
{
    const double n = std::ceil(std::sqrt(secondDifference * factor / tolerance));
    return std::clamp(static_cast<int>(n), 1, MaxCurveSegments);
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto& walk = *static_cast<OutlineWalk*>(user);
    const double x0 = walk.Last.x, y0 = walk.Last.y;
    const double x1 = control->x, y1 = control->y;
    const double x2 = to->x, y2 = to->y;
    const double d = std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2);
    const int n = SegmentsFor(d, 0.25, walk.Tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1 - t;
        AddPoint(walk, u * u * x0 + 2 * u * t * x1 + t * t * x2, u * u * y0 + 2 * u * t * y1 + t * t * y2);
    }
    walk.Last = *to;
    return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
    auto& walk = *static_cast<OutlineWalk*>(user);
    const double x0 = walk.Last.x, y0 = walk.Last.y;
    const double x1 = control1->x, y1 = control1->y;
    const double x2 = control2->x, y2 = control2->y;
    const double x3 = to->x, y3 = to->y;
    const double d = std::max(std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2),
                              std::hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3));
    const int n = SegmentsFor(d, 0.75, walk.Tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
        AddPoint(walk, a * x0 + b * x1 + c * x2 + e * x3, a * y0 + b * y1 + c * y2 + e * y3);
    }
    walk.Last = *to;
    return 0;
}

// Drops the closing point that repeats the first, and contours too small to
// enclose anything.
void TidyContours(GlyphContours& contours)
{
    for (auto& contour : contours) {
        while (contour.size() > 1 && contour.back().X == contour.front().X && contour.back().Y == contour.front().Y) {
            contour.pop_back();
        }
    }
    std::erase_if(contours, [](const std::vector<GlyphPoint>& contour) { return contour.size() < 3; });
}

// Compiles one code's list and fills its metrics; a code the face has no
// glyph for keeps an empty list and zero metrics.
void BuildGlyph(FT_Face face, int code)
{
    const unsigned int character = Windows1252ToUnicode(static_cast<unsigned char>(code));
    if (character == 0) {
        return;
    }
    const FT_UInt glyphIndex = FT_Get_Char_Index(face, character);
    if (glyphIndex == 0) {
        return;
    }
    if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
        return;
    }
    const FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE && slot->format != FT_GLYPH_FORMAT_COMPOSITE) {
        return;
    }

    const double scale = 1.0 / face->units_per_EM;
    OutlineWalk walk;
    walk.Scale = scale;
    walk.Tolerance = CurveTolerance * face->units_per_EM;
    walk.Last = FT_Vector{ 0, 0 };
    FT_Outline_Funcs funcs{};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_contours > 0) {
        if (FT_Outline_Decompose(&slot->outline, &funcs, &walk) != 0) {
            walk.Contours.clear();
        }
    }
    TidyContours(walk.Contours);

    GlyphMesh mesh;
    if (!TessellateGlyph(walk.Contours, mesh)) {
        mesh = GlyphMesh{};
    }
    const float advance = static_cast<float>(slot->metrics.horiAdvance * scale);

    glNewList(FontListBase + code, GL_COMPILE);
    EmitExtrudedGlyph(mesh, ExtrusionDepth);
    glTranslatef(advance, 0, 0);
    glEndList();

    OutlineGlyphMetrics& metrics = GlyphMetrics[code];
    metrics.gmfBlackBoxX = static_cast<float>(slot->metrics.width * scale);
    metrics.gmfBlackBoxY = static_cast<float>(slot->metrics.height * scale);
    metrics.gmfptGlyphOriginX = static_cast<float>(slot->metrics.horiBearingX * scale);
    metrics.gmfptGlyphOriginY = static_cast<float>(slot->metrics.horiBearingY * scale);
    metrics.gmfCellIncX = advance;
    metrics.gmfCellIncY = 0;
}

}  // namespace

unsigned int Windows1252ToUnicode(unsigned char code)
{
    if (code >= 0x80 && code <= 0x9F) {
        return Windows1252High[code - 0x80];
    }
    return code;
}

std::string FindOutlineFontFile(int* faceIndex)
{
    int index = 0;
    std::string file = MatchFace("Comic Sans MS", true, &index);
    if (file.empty()) {
        // The same hand-lettered look, freely licensed.
        file = MatchFace("Comic Neue", true, &index);
    }
    if (file.empty()) {
        file = MatchFace("sans-serif", false, &index);
    }
    if (faceIndex != nullptr) {
        *faceIndex = file.empty() ? 0 : index;
    }
    return file;
}

bool BuildOutlineFontFromFile(const char* path, int faceIndex)
{
    if (FontListBase == 0 || path == nullptr) {
        return false;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    FT_Face face = nullptr;
    bool built = false;
    if (FT_New_Face(library, path, faceIndex, &face) == 0) {
        if (FT_IS_SCALABLE(face) && face->units_per_EM > 0 &&
            FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
            for (int code = 0; code < BuiltGlyphs; ++code) {
                BuildGlyph(face, code);
            }
            built = true;
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return built;
}

void BuildOutlineFont(FrameSurface*)
{
    FontListBase = glGenLists(FontListCount);
    int faceIndex = 0;
    const std::string file = FindOutlineFontFile(&faceIndex);
    if (!file.empty()) {
        BuildOutlineFontFromFile(file.c_str(), faceIndex);
    }
}
