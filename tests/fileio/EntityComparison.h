// Round-trip comparison of entities: what a DXF save keeps of each type (reals read back as the
// same doubles; hatch boundaries and dimension parts are worked out again), and what only a DXF
// 2000 file keeps: polyline widths and form, linetypes.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "drawing/Drawing.h"
#include "entities/Arc.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Hatch.h"
#include "entities/MText.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "fileio/dxf/DxfSave.h"

// Reals read back as written; boundaries kept relative to a point 0 worked out again may move
// by a rounding step.
inline constexpr double kWrittenPrecision = 1e-9;


// The colour index an entity has after a save and a read.
inline int32_t ColorIndexAfterReading(int32_t written) {
    return written < 0 ? kColorByLayer : written;
}

inline void ExpectSamePoints(const std::vector<mmVertex>& a, const std::vector<mmVertex>& b,
                             const std::string& what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_NEAR(a[k].x, b[k].x, kWrittenPrecision) << what << " point " << k;
        EXPECT_NEAR(a[k].y, b[k].y, kWrittenPrecision) << what << " point " << k;
    }
}

// version: the file the entities went through; a DXF 2000 file keeps more.
inline void ExpectSameEntity(const mmObject& x, const mmObject& y, const std::string& what,
                             DxfVersion version = DxfVersion::R12);

inline void ExpectSamePolyline(const mmPolyline& a, const mmPolyline& b, const std::string& what,
                               DxfVersion version) {
    std::vector<double> bulges = a.bulges;
    if (bulges.empty()) bulges.assign(a.points.size(), 0.0);
    EXPECT_EQ(a.closed, b.closed) << what;
    ExpectSamePoints(a.points, b.points, what);
    ASSERT_EQ(bulges.size(), b.bulges.size()) << what;
    for (std::size_t i = 0; i < bulges.size(); ++i)
        EXPECT_NEAR(bulges[i], b.bulges[i], kWrittenPrecision) << what << " bulge " << i;
    if (version == DxfVersion::R12) return;
    EXPECT_EQ(a.lightweight, b.lightweight) << what;
    EXPECT_EQ(a.constantWidth, b.constantWidth) << what;
    ASSERT_EQ(a.widths.size(), b.widths.size()) << what;
    for (std::size_t i = 0; i < a.widths.size(); ++i) {
        EXPECT_EQ(a.widths[i].start, b.widths[i].start) << what << " width " << i;
        EXPECT_EQ(a.widths[i].end, b.widths[i].end) << what << " width " << i;
    }
}

inline void ExpectSameText(const mmText& a, const mmText& b, const std::string& what) {
    EXPECT_EQ(a.String(), b.String()) << what;
    EXPECT_NEAR(a.height, b.height, kWrittenPrecision) << what;
    EXPECT_NEAR(a.rotation, b.rotation, kWrittenPrecision) << what;
    ExpectSamePoints(a.points, b.points, what);
    if (auto* m = dynamic_cast<const mmMText*>(&a)) {
        EXPECT_EQ(m->attachment, dynamic_cast<const mmMText&>(b).attachment) << what;
    } else {
        EXPECT_EQ(a.widthFactor, b.widthFactor) << what;
        EXPECT_EQ(a.horizontal, b.horizontal) << what;
        EXPECT_EQ(a.vertical, b.vertical) << what;
    }
}

inline void ExpectSameSpline(const mmSpline& a, const mmSpline& b, const std::string& what) {
    ExpectSamePoints(a.points, b.points, what);
    ASSERT_EQ(a.knots.size(), b.knots.size()) << what;
    for (std::size_t i = 0; i < a.knots.size(); ++i)
        EXPECT_NEAR(a.knots[i], b.knots[i], 1e-6 * (1.0 + std::abs(a.knots[i]))) << what;
}

// Boundaries are compared in drawing coordinates; point 0 is the centre of the extents either way.
inline void ExpectSameHatch(const mmHatch& a, const mmHatch& b, const std::string& what,
                            DxfVersion version) {
    ExpectSamePoints(a.points, b.points, what);
    ASSERT_EQ(a.loops.size(), b.loops.size()) << what;
    for (std::size_t i = 0; i < a.loops.size(); ++i) {
        const mmEntityList& la = *a.loops[i];
        const mmEntityList& lb = *b.loops[i];
        ASSERT_EQ(la.size(), lb.size()) << what << " loop " << i;
        for (std::size_t k = 0; k < la.size(); ++k) {
            ExpectSameEntity(*la[k], *lb[k], what + " loop " + std::to_string(i), version);
            // The fill follows the boundary: arcs keep the direction they are followed in.
            if (auto* arc = dynamic_cast<const mmArc*>(la[k].get())) {
                EXPECT_EQ(arc->direction, dynamic_cast<const mmArc&>(*lb[k]).direction) << what;
            }
        }
    }
}

// A reference is made again from its block: the same block, transform and copies.
inline void ExpectSameBlockRef(const mmBlockRef& a, const mmBlockRef& b, const std::string& what) {
    EXPECT_EQ(a.blockName, b.blockName) << what;
    ExpectSamePoints(a.points, b.points, what);
    EXPECT_NEAR(a.scaleX, b.scaleX, kWrittenPrecision) << what;
    EXPECT_NEAR(a.scaleY, b.scaleY, kWrittenPrecision) << what;
    EXPECT_NEAR(a.rotation, b.rotation, kWrittenPrecision) << what;
    EXPECT_EQ(a.children.size(), b.children.size()) << what;
}

// A dimension is built again from its definition points: the same measurement. The text middle
// (P6) is given only for ordinates; the others compute it in single precision.
inline void ExpectSameDimension(const mmDimension& a, const mmDimension& b,
                                const std::string& what) {
    EXPECT_EQ(a.dimType, b.dimType) << what;
    EXPECT_EQ(a.ordinateAxis, b.ordinateAxis) << what;
    for (int i : {0, 1, 2, 6}) {
        if (i == 6 && a.dimType != kDimOrdinate) continue;
        EXPECT_NEAR(a.defPoints[i].x, b.defPoints[i].x, kWrittenPrecision) << what << " P" << i;
        EXPECT_NEAR(a.defPoints[i].y, b.defPoints[i].y, kWrittenPrecision) << what << " P" << i;
    }
    EXPECT_EQ(a.label.String(), b.label.String()) << what;
    EXPECT_EQ(b.blockName, mmDimension::BlockNameFor(b.id)) << what;
}

inline void ExpectSameEntity(const mmObject& x, const mmObject& y, const std::string& what,
                             DxfVersion version) {
    ASSERT_EQ(x.type, y.type) << what;
    if (version != DxfVersion::R12) {
        EXPECT_EQ(x.lineType, y.lineType) << what;
    }
    if (auto* r = dynamic_cast<const mmBlockRef*>(&x)) {
        ExpectSameBlockRef(*r, dynamic_cast<const mmBlockRef&>(y), what);
        return;
    }
    if (auto* d = dynamic_cast<const mmDimension*>(&x)) {
        ExpectSameDimension(*d, dynamic_cast<const mmDimension&>(y), what);
        return;
    }
    EXPECT_EQ(y.colorIndex, ColorIndexAfterReading(x.colorIndex)) << what;
    if (auto* p = dynamic_cast<const mmPolyline*>(&x)) {
        ExpectSamePolyline(*p, dynamic_cast<const mmPolyline&>(y), what, version);
        return;
    }
    if (auto* t = dynamic_cast<const mmText*>(&x)) {
        ExpectSameText(*t, dynamic_cast<const mmText&>(y), what);
        return;
    }
    if (auto* s = dynamic_cast<const mmSpline*>(&x)) {
        ExpectSameSpline(*s, dynamic_cast<const mmSpline&>(y), what);
        return;
    }
    if (auto* h = dynamic_cast<const mmHatch*>(&x)) {
        ExpectSameHatch(*h, dynamic_cast<const mmHatch&>(y), what, version);
        return;
    }
    ExpectSamePoints(x.points, y.points, what);
    if (auto* c = dynamic_cast<const mmCircle*>(&x)) {
        EXPECT_NEAR(c->radius, dynamic_cast<const mmCircle&>(y).radius, kWrittenPrecision) << what;
    }
    if (auto* r = dynamic_cast<const mmArc*>(&x)) {
        const auto& s = dynamic_cast<const mmArc&>(y);
        EXPECT_NEAR(r->radius, s.radius, kWrittenPrecision) << what;
        EXPECT_NEAR(r->startAngle, s.startAngle, kWrittenPrecision) << what;
        EXPECT_NEAR(r->endAngle, s.endAngle, kWrittenPrecision) << what;
    }
}

inline void ExpectSameEntities(const mmEntityList& a, const mmEntityList& b,
                               const std::string& what, DxfVersion version = DxfVersion::R12) {
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i)
        ExpectSameEntity(*a[i], *b[i], what + " entity " + std::to_string(i), version);
}
