// The release of a DWG file, told by its first six bytes, and the messages of the releases the
// import does not read.
#pragma once

#include <string>
#include <string_view>

enum class DwgRelease {
    Unreadable,  // the file cannot be opened or is shorter than six bytes
    Supported,   // R13 to R2004 (AC1012 to AC1018)
    Older,       // before R13, or no release code at all
    R2007,
    R2010,
    R2013,
    R2018,
};

inline constexpr char kErrorReadingDwg[] = "Error reading DWG file!";
inline constexpr char kDwgOlderNotSupported[] =
    "DWG file versions <R13 are not supported at this moment!";

// The release of the "AC10xx" code (or of any other six bytes).
DwgRelease DwgReleaseOfCode(std::string_view firstSixBytes);
// Reads the first six bytes of the file.
DwgRelease DwgReleaseOfFile(const std::string& path);
// The message for a release that is not read ("Error reading DWG file!" for an unreadable file);
// empty for a supported one.
std::string DwgReleaseMessage(DwgRelease release);
