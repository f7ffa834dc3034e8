#pragma once
// A glyph's flattened outline turned into a solid: the filled face in front
// (z = 0, facing +z), the same face at the back (facing -z) and a wall along
// every edge, all wound counter-clockwise as seen from outside.
#include <vector>

struct GlyphPoint {
    double X, Y;
};

// Closed polylines; the last point joins back to the first. Holes run the
// other way round from the outer contours (either convention is accepted).
using GlyphContours = std::vector<std::vector<GlyphPoint>>;

struct GlyphMesh {
    // Front-face triangles, three points each, counter-clockwise seen from +z.
    std::vector<GlyphPoint> Triangles;
    // Wall edges, two points each, running with the filled side on their left.
    std::vector<GlyphPoint> Edges;
};

// Fills the outline with the GLU tessellator (non-zero winding, so
// overlapping contours merge and opposite-running ones cut holes).
// Returns false when the tessellator reports an error.
bool TessellateGlyph(const GlyphContours& contours, GlyphMesh& mesh);

// Issues the solid's GL geometry (for a display list being compiled):
// front at z = 0, back at z = -depth, walls between, with their normals.
void EmitExtrudedGlyph(const GlyphMesh& mesh, float depth);
