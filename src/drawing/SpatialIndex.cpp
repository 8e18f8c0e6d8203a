// The R-tree of entity boxes and its lazy upkeep.
#include "drawing/SpatialIndex.h"

#include "entities/Polyline.h"

#include <algorithm>
#include <deque>
// GCC 12 warns of uninitialised reads inside Boost's node splitting, which fills its fixed-size
// arrays before reading them.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>
#include <cfloat>
#include <cmath>

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

using Point = bg::model::point<float, 2, bg::cs::cartesian>;
using Box = bg::model::box<Point>;
using Value = std::pair<Box, int32_t>;

// Below this many positions a new tree is cheaper to pack than to grow one box at a time.
constexpr std::size_t kPackedBatch = 1024;

// The nearest float at or below (at or above) v; values beyond the float range meet at its ends,
// which keeps every overlap of the doubles an overlap of the floats.
float lower(double v) {
    if (v >= FLT_MAX) return FLT_MAX;
    if (v <= -FLT_MAX) return -FLT_MAX;
    float f = static_cast<float>(v);
    if (static_cast<double>(f) > v) f = std::nextafter(f, -FLT_MAX);
    return f;
}

float upper(double v) {
    if (v >= FLT_MAX) return FLT_MAX;
    if (v <= -FLT_MAX) return -FLT_MAX;
    float f = static_cast<float>(v);
    if (static_cast<double>(f) < v) f = std::nextafter(f, FLT_MAX);
    return f;
}

Box emptyBox() {
    return Box(Point(FLT_MAX, FLT_MAX), Point(-FLT_MAX, -FLT_MAX));
}

bool isEmpty(const Box& b) {
    return b.min_corner().get<0>() > b.max_corner().get<0>();
}

bool sameBox(const Box& a, const Box& b) {
    return a.min_corner().get<0>() == b.min_corner().get<0>() &&
           a.min_corner().get<1>() == b.min_corner().get<1>() &&
           a.max_corner().get<0>() == b.max_corner().get<0>() &&
           a.max_corner().get<1>() == b.max_corner().get<1>();
}

// The double box of what a culled search can reach, widened point by point. A NaN anywhere makes
// it unbounded: such an entity is never culled, so every query must find it.
struct Reach {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    bool unbounded = false;
    void add(double x, double y) {
        if (std::isnan(x) || std::isnan(y)) {
            unbounded = true;
            return;
        }
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
};

// Extents that are inverted belong to an entity without geometry, which no culled test passes
// with a bounded rectangle; its grips still count, except the placeholders of polylines, which
// nothing snaps to.
Box entityBox(const mmObject* e) {
    if (!e) return emptyBox();
    Reach r;
    const mmRect& x = e->extents;
    if (std::isnan(x.minX) || std::isnan(x.minY) || std::isnan(x.maxX) || std::isnan(x.maxY)) {
        r.unbounded = true;
    } else if (x.minX <= x.maxX && x.minY <= x.maxY) {
        r.add(x.minX, x.minY);
        r.add(x.maxX, x.maxY);
    }
    const auto* polyline = e->type == kTypePolyline ? static_cast<const mmPolyline*>(e) : nullptr;
    for (int i = 0; i < e->gripCount(); ++i)
        if (!polyline || !polyline->IsPlaceholderGrip(i)) r.add(e->grips[i].x, e->grips[i].y);
    if (r.unbounded) return Box(Point(-FLT_MAX, -FLT_MAX), Point(FLT_MAX, FLT_MAX));
    if (r.minX > r.maxX) return emptyBox();
    return Box(Point(lower(r.minX), lower(r.minY)), Point(upper(r.maxX), upper(r.maxY)));
}

}  // namespace

struct mmSpatialIndex::Tree {
    bgi::rtree<Value, bgi::rstar<16>> rtree;
    std::deque<Box> boxes;  // per position: the box in the tree, or an empty one
};

mmSpatialIndex::mmSpatialIndex() : tree_(std::make_unique<Tree>()) {}

mmSpatialIndex::~mmSpatialIndex() = default;

void mmSpatialIndex::ExtentsChanged(int32_t slot) {
    const int64_t position = static_cast<int64_t>(slot) + front_;
    if (position < 0 || position >= indexed_) return;  // not indexed yet: read when it is
    if (dirtyFlags_[position]) return;
    dirtyFlags_[position] = 1;
    dirty_.push_back(slot);
}

void mmSpatialIndex::Clear(const mmEntityList& list) {
    for (const mmObjectPtr& e : list)
        if (e && e->ExtentsWatcher() == this) e->WatchExtents(nullptr, -1);
    tree_ = std::make_unique<Tree>();
    indexed_ = 0;
    front_ = 0;
    rebuildPending_ = false;
    dirty_.clear();
    dirtyFlags_.clear();
}

void mmSpatialIndex::Rebuild(const mmEntityList& list) {
    std::vector<Value> values;
    values.reserve(list.size());
    std::deque<Box> boxes(list.size(), emptyBox());
    for (std::size_t i = 0; i < list.size(); ++i) {
        mmObject* e = list[i].get();
        if (!e) continue;
        e->WatchExtents(this, static_cast<int32_t>(i));
        boxes[i] = entityBox(e);
        if (!isEmpty(boxes[i])) values.emplace_back(boxes[i], static_cast<int32_t>(i));
    }
    tree_ = std::make_unique<Tree>();
    tree_->rtree = decltype(tree_->rtree)(values.begin(), values.end());  // packed
    tree_->boxes = std::move(boxes);
    indexed_ = static_cast<int32_t>(list.size());
    front_ = 0;
    dirty_.clear();
    dirtyFlags_.assign(list.size(), 0);
    rebuildPending_ = false;
}

void mmSpatialIndex::Refresh(const mmEntityList& list, int32_t position) {
    const Box box = entityBox(list[position].get());
    Box& stored = tree_->boxes[position];
    const int32_t key = position - front_;
    if (sameBox(box, stored)) return;
    if (!isEmpty(stored)) tree_->rtree.remove(Value(stored, key));
    stored = box;
    if (!isEmpty(box)) tree_->rtree.insert(Value(box, key));
}

void mmSpatialIndex::Sync(const mmEntityList& list) {
    const std::size_t size = list.size();
    const std::size_t appended = size > static_cast<std::size_t>(indexed_) ? size - indexed_ : 0;
    if (rebuildPending_ || size < static_cast<std::size_t>(indexed_) ||
        appended > std::max(kPackedBatch, tree_->rtree.size() / 4)) {
        Rebuild(list);
        return;
    }
    for (int32_t key : dirty_) {
        const int32_t position = key + front_;
        dirtyFlags_[position] = 0;
        Refresh(list, position);
    }
    dirty_.clear();
    if (appended == 0) return;
    tree_->boxes.resize(size, emptyBox());
    dirtyFlags_.resize(size, 0);
    for (std::size_t i = indexed_; i < size; ++i) {
        if (mmObject* e = list[i].get()) e->WatchExtents(this, static_cast<int32_t>(i) - front_);
        Refresh(list, static_cast<int32_t>(i));
    }
    indexed_ = static_cast<int32_t>(size);
}

void mmSpatialIndex::Query(const mmEntityList& list, const mmRect& rect,
                           std::vector<int32_t>& out) {
    Sync(list);
    if (std::isnan(rect.minX) || std::isnan(rect.minY) || std::isnan(rect.maxX) ||
        std::isnan(rect.maxY)) {
        // Nothing is culled by such a rectangle.
        for (std::size_t i = 0; i < list.size(); ++i)
            out.push_back(static_cast<int32_t>(i));
        return;
    }
    const Box query(
        Point(lower(std::min(rect.minX, rect.maxX)), lower(std::min(rect.minY, rect.maxY))),
        Point(upper(std::max(rect.minX, rect.maxX)), upper(std::max(rect.minY, rect.maxY))));
    const std::size_t first = out.size();
    tree_->rtree.query(bgi::intersects(query),
                       boost::make_function_output_iterator(
                           [&out, this](const Value& v) { out.push_back(v.second + front_); }));
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
}

void mmSpatialIndex::Prepended(const mmEntityList& list, int32_t count) {
    if (count <= 0) return;
    // Many boxes at once are cheaper packed into a new tree.
    if (rebuildPending_ || static_cast<std::size_t>(count) > std::max(kPackedBatch, size() / 4)) {
        Clear(list);
        return;
    }
    front_ += count;
    indexed_ += count;
    for (int32_t i = 0; i < count; ++i) {
        tree_->boxes.push_front(emptyBox());
        dirtyFlags_.push_front(0);
    }
    for (int32_t i = 0; i < count; ++i) {
        if (mmObject* e = list[i].get()) e->WatchExtents(this, i - front_);
        Refresh(list, i);
    }
}

bool mmSpatialIndex::Matches(const mmEntityList& list) {
    Sync(list);
    if (tree_->boxes.size() != list.size()) return false;
    std::size_t inTree = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Box& stored = tree_->boxes[i];
        if (!sameBox(stored, entityBox(list[i].get()))) return false;
        if (list[i] && list[i]->ExtentsWatcher() != this) return false;
        if (!isEmpty(stored)) ++inTree;
    }
    if (inTree != tree_->rtree.size()) return false;
    for (const Value& v : tree_->rtree) {
        const int64_t position = static_cast<int64_t>(v.second) + front_;
        if (position < 0 || position >= static_cast<int64_t>(list.size()) ||
            !sameBox(v.first, tree_->boxes[position]))
            return false;
    }
    return true;
}

std::size_t mmSpatialIndex::size() const {
    return tree_->rtree.size();
}
