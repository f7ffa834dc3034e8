#include "render/glyph_extrusion.h"

#include <cmath>
#include <deque>

#include "shell/gl_api.h"

namespace {

struct TessellationRun {
    std::vector<GlyphPoint>* Triangles;
    std::deque<GlyphPoint> Added;  // points the tessellator makes where edges cross
    bool Failed = false;
};

void TessVertex(void* vertex, void* data)
{
    auto* run = static_cast<TessellationRun*>(data);
    const auto* point = static_cast<const GlyphPoint*>(vertex);
    run->Triangles->push_back(*point);
}

// Registering an edge-flag callback makes the tessellator hand out plain
// triangles only (no fans or strips).
void TessEdgeFlag(GLboolean, void*) {}

void TessBegin(GLenum, void*) {}

void TessCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data)
{
    auto* run = static_cast<TessellationRun*>(data);
    run->Added.push_back(GlyphPoint{ coords[0], coords[1] });
    *out = &run->Added.back();
}

void TessError(GLenum, void* data)
{
    static_cast<TessellationRun*>(data)->Failed = true;
}

double SignedArea(const std::vector<GlyphPoint>& contour)
{
    double area = 0;
    const size_t n = contour.size();
    for (size_t i = 0; i < n; ++i) {
        const GlyphPoint& a = contour[i];
        const GlyphPoint& b = contour[(i + 1) % n];
        area += a.X * b.Y - b.X * a.Y;
    }
    return area * 0.5;
}

template <typename Callback>
void Register(GLUtesselator* tess, GLenum which, Callback callback)
{
    gluTessCallback(tess, which, reinterpret_cast<_GLUfuncptr>(callback));
}

}  // namespace

bool TessellateGlyph(const GlyphContours& contours, GlyphMesh& mesh)
{
    mesh.Triangles.clear();
    mesh.Edges.clear();

    // Fonts disagree on which way the outer contours run (TrueType clockwise,
    // CFF counter-clockwise). Whichever it is, the filled side lies on the
    // same hand of every edge; the total area says which.
    double totalArea = 0;
    for (const auto& contour : contours) {
        if (contour.size() >= 3) {
            totalArea += SignedArea(contour);
        }
    }
    const bool filledOnLeft = totalArea >= 0;

    // The tessellator keeps pointers to the coordinates until the polygon
    // ends, so they are laid out once, up front.
    std::vector<std::vector<GLdouble>> coordinates;
    for (const auto& contour : contours) {
        if (contour.size() < 3) {
            continue;
        }
        std::vector<GLdouble> xyz;
        xyz.reserve(contour.size() * 3);
        for (const GlyphPoint& p : contour) {
            xyz.insert(xyz.end(), { p.X, p.Y, 0.0 });
        }
        coordinates.push_back(std::move(xyz));

        const size_t n = contour.size();
        for (size_t i = 0; i < n; ++i) {
            GlyphPoint a = contour[i];
            GlyphPoint b = contour[(i + 1) % n];
            if (!filledOnLeft) {
                std::swap(a, b);
            }
            mesh.Edges.push_back(a);
            mesh.Edges.push_back(b);
        }
    }
    if (coordinates.empty()) {
        return true;
    }

    GLUtesselator* tess = gluNewTess();
    if (tess == nullptr) {
        return false;
    }
    TessellationRun run;
    run.Triangles = &mesh.Triangles;
    Register(tess, GLU_TESS_BEGIN_DATA, TessBegin);
    Register(tess, GLU_TESS_VERTEX_DATA, TessVertex);
    Register(tess, GLU_TESS_EDGE_FLAG_DATA, TessEdgeFlag);
    Register(tess, GLU_TESS_COMBINE_DATA, TessCombine);
    Register(tess, GLU_TESS_ERROR_DATA, TessError);
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, 1);

    // The vertex data handed back is a GlyphPoint: keep one per coordinate.
    std::vector<std::vector<GlyphPoint>> points;
    points.reserve(coordinates.size());
    gluTessBeginPolygon(tess, &run);
    for (const auto& xyz : coordinates) {
        points.emplace_back();
        auto& contourPoints = points.back();
        const size_t n = xyz.size() / 3;
        contourPoints.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            contourPoints.push_back(GlyphPoint{ xyz[3 * i], xyz[3 * i + 1] });
        }
        gluTessBeginContour(tess);
        for (size_t i = 0; i < n; ++i) {
            gluTessVertex(tess, const_cast<GLdouble*>(&xyz[3 * i]), &contourPoints[i]);
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    if (run.Failed || mesh.Triangles.size() % 3 != 0) {
        mesh.Triangles.clear();
        return false;
    }
    // Make every front triangle counter-clockwise seen from +z, so that
    // back-face culling keeps the front; drop the ones with no area.
    std::vector<GlyphPoint> kept;
    kept.reserve(mesh.Triangles.size());
    for (size_t i = 0; i < mesh.Triangles.size(); i += 3) {
        const GlyphPoint& a = mesh.Triangles[i];
        const GlyphPoint& b = mesh.Triangles[i + 1];
        const GlyphPoint& c = mesh.Triangles[i + 2];
        const double cross = (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
        if (cross > 0) {
            kept.insert(kept.end(), { a, b, c });
        } else if (cross < 0) {
            kept.insert(kept.end(), { a, c, b });
        }
    }
    mesh.Triangles = std::move(kept);
    return true;
}

void EmitExtrudedGlyph(const GlyphMesh& mesh, float depth)
{
    const size_t triangles = mesh.Triangles.size();
    if (triangles > 0) {
        glBegin(GL_TRIANGLES);
        glNormal3f(0, 0, 1);
        for (const GlyphPoint& p : mesh.Triangles) {
            glVertex3d(p.X, p.Y, 0);
        }
        // The back is the front turned round: the same triangles in reverse order.
        glNormal3f(0, 0, -1);
        for (size_t i = triangles; i-- > 0;) {
            glVertex3d(mesh.Triangles[i].X, mesh.Triangles[i].Y, -depth);
        }
        glEnd();
    }

    if (!mesh.Edges.empty()) {
        glBegin(GL_QUADS);
        for (size_t i = 0; i + 1 < mesh.Edges.size(); i += 2) {
            const GlyphPoint& a = mesh.Edges[i];
            const GlyphPoint& b = mesh.Edges[i + 1];
            const double dx = b.X - a.X;
            const double dy = b.Y - a.Y;
            const double length = std::sqrt(dx * dx + dy * dy);
            if (length == 0) {
                continue;
            }
            // The filled side is on the edge's left, so outward is its right.
            glNormal3d(dy / length, -dx / length, 0);
            glVertex3d(a.X, a.Y, 0);
            glVertex3d(a.X, a.Y, -depth);
            glVertex3d(b.X, b.Y, -depth);
            glVertex3d(b.X, b.Y, 0);
        }
        glEnd();
    }
}
