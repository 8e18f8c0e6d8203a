// Reading the bridge's JSON document without trusting it: every field may be missing, of the
// wrong kind or out of range, and then reads as the default.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <string_view>

using DwgJson = nlohmann::json;

namespace dwgjson {

// The member of an object; null when j is no object or has no such member.
inline const DwgJson* member(const DwgJson& j, std::string_view key) {
    if (!j.is_object()) return nullptr;
    const auto it = j.find(key);
    return it == j.end() ? nullptr : &*it;
}

inline double real(const DwgJson& j, double fallback = 0.0) {
    if (!j.is_number()) return fallback;
    const double v = j.get<double>();
    return std::isfinite(v) ? v : fallback;
}

inline double real(const DwgJson& j, std::string_view key, double fallback = 0.0) {
    const DwgJson* m = member(j, key);
    return m ? real(*m, fallback) : fallback;
}

// Integers are clamped to int32; a real is truncated.
inline int32_t integer(const DwgJson& j, int32_t fallback = 0) {
    if (j.is_number_integer()) {
        const int64_t v = j.is_number_unsigned()
                              ? static_cast<int64_t>(std::min<uint64_t>(
                                    j.get<uint64_t>(), std::numeric_limits<int32_t>::max()))
                              : j.get<int64_t>();
        return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    }
    if (j.is_number_float()) {
        const double v = j.get<double>();
        if (!std::isfinite(v)) return fallback;
        return static_cast<int32_t>(std::clamp<double>(v, std::numeric_limits<int32_t>::min(),
                                                       std::numeric_limits<int32_t>::max()));
    }
    return fallback;
}

inline int32_t integer(const DwgJson& j, std::string_view key, int32_t fallback = 0) {
    const DwgJson* m = member(j, key);
    return m ? integer(*m, fallback) : fallback;
}

// An unsigned 32-bit value (colours); anything else reads as 0.
inline uint32_t bits32(const DwgJson& j, std::string_view key) {
    const DwgJson* m = member(j, key);
    if (!m || !m->is_number_integer()) return 0;
    if (m->is_number_unsigned()) return static_cast<uint32_t>(m->get<uint64_t>());
    return static_cast<uint32_t>(m->get<int64_t>());
}

// A string member's UTF-8 text; empty when it is missing or not a string.
inline std::string_view text(const DwgJson& j, std::string_view key) {
    const DwgJson* m = member(j, key);
    if (!m || !m->is_string()) return {};
    return m->get_ref<const std::string&>();
}

inline bool hasText(const DwgJson& j, std::string_view key) {
    const DwgJson* m = member(j, key);
    return m && m->is_string();
}

struct Point {
    double x = 0.0, y = 0.0, z = 0.0;
};

// [x, y] or [x, y, z]; missing coordinates are 0.
inline Point point(const DwgJson& j) {
    Point p;
    if (!j.is_array()) return p;
    if (j.size() > 0) p.x = real(j[0]);
    if (j.size() > 1) p.y = real(j[1]);
    if (j.size() > 2) p.z = real(j[2]);
    return p;
}

inline Point point(const DwgJson& j, std::string_view key) {
    const DwgJson* m = member(j, key);
    return m ? point(*m) : Point();
}

// The array member, or an empty array.
inline const DwgJson& array(const DwgJson& j, std::string_view key) {
    static const DwgJson kEmpty = DwgJson::array();
    const DwgJson* m = member(j, key);
    return m && m->is_array() ? *m : kEmpty;
}

}  // namespace dwgjson
