// A synthetic survey drawing as a DXF file in the style of other programs' files (handles,
// subclass markers, z values, padded group codes): the input of the file benchmarks.
#pragma once

#include <cstdint>
#include <string>

struct SyntheticDxfStats {
    uint64_t bytes = 0;
    int64_t lines = 0, circles = 0, arcs = 0, points = 0;
    int64_t polylines = 0, vertices = 0, texts = 0, mtexts = 0;
};

// Writes count entities (a fixed mix of lines, circles, arcs, points, light-weight polylines of
// 2 to 14 vertices, some closed or with arcs, texts and multi-line texts on eight layers with
// large survey coordinates) to path. Same seed, same file.
SyntheticDxfStats WriteSyntheticDxf(const std::string& path, int64_t count, uint32_t seed = 1);
