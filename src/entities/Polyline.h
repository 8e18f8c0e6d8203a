// mmPolyline: a chain of vertices joined by straight or circular-arc (bulge) segments, optionally
// closed. Grips: two per vertex, the vertex and the mid point of its arc segment, or a placeholder.
#pragma once

#include <vector>

#include "entities/Object.h"

class mmArc;

// The widths of a polyline segment at its start and end vertex, in drawing units.
struct mmSegmentWidth {
    double start = 0.0;
    double end = 0.0;
};

class mmPolyline : public mmObject {
public:
    // A closing segment joins the last vertex to the first.
    bool closed = false;
    // Saved as a light-weight polyline where the file format has one; false for polylines read
    // from a POLYLINE entity, so that a save keeps their form.
    bool lightweight = true;
    // Empty (all straight) or one per vertex: bulges[i] belongs to the segment from vertex i to
    // vertex i + 1, the last one to the closing segment. The bulge is the tangent of a quarter of
    // the included angle, positive counter-clockwise; 0 is straight, 1 a half circle.
    std::vector<double> bulges;
    // Widths as a file gave them (drawn as thin lines): empty, or one per vertex for the segment
    // that starts there; and the width of the whole polyline, for those without their own.
    std::vector<mmSegmentWidth> widths;
    double constantWidth = 0.0;

    mmPolyline() { type = kTypePolyline; }

    // Segments, the closing one included (last).
    int SegmentCount() const;
    // The bulge of segment i; 0 when bulges has no entry for it.
    double BulgeAt(int segment) const;
    // Vertex index where segment i ends (0 for the closing segment).
    int SegmentEnd(int segment) const;
    // Sets arc to segment i moved by (dx, dy); false when the segment is straight.
    bool SegmentArc(int segment, double dx, double dy, mmArc& arc) const;
    // Grip entries that only keep the two-per-vertex layout: never drawn, snapped to or dragged.
    bool IsPlaceholderGrip(int gripIndex) const;
    // The length along every segment, arcs included (the closing one when closed).
    double Length() const;
    // The area the outline encloses, arcs included; an open polyline counts as closed by a
    // straight segment from its last vertex to its first.
    double Area() const;

    // The index i of the segment (vertex i to i + 1, i from 0 to count - 2) nearest to p; the
    // first of equal distances wins; -1 for fewer than two vertices.
    static int NearestSegment(const std::vector<mmVertex>& points, const mmVertex& p);

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
              mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
              const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    void CopyFrom(const mmObject& from) override;

private:
    void EmitVertices(mmDrawContext& dc, float pixelsPerUnit, const mmShift& shift) const;
    void DrawGrips(mmDrawContext& dc, float pixelsPerUnit, const mmShift& shift) const;
};
