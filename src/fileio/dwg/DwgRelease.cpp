// Release codes of DWG files.
#include "fileio/dwg/DwgRelease.h"

#include <fstream>

DwgRelease DwgReleaseOfCode(std::string_view code) {
    if (code.size() != 6 || code.substr(0, 4) != "AC10") return DwgRelease::Older;
    const std::string_view number = code.substr(4);
    if (number >= "12" && number <= "18") return DwgRelease::Supported;
    if (number == "21") return DwgRelease::R2007;
    if (number == "24") return DwgRelease::R2010;
    if (number == "27") return DwgRelease::R2013;
    if (number == "32") return DwgRelease::R2018;
    return DwgRelease::Older;
}

DwgRelease DwgReleaseOfFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char code[6];
    if (!file.read(code, sizeof code)) return DwgRelease::Unreadable;
    return DwgReleaseOfCode(std::string_view(code, sizeof code));
}

std::string DwgReleaseMessage(DwgRelease release) {
    const auto unsupported = [](const char* name) {
        return std::string("DWG file version ") + name + " is not supported at this moment!";
    };
    switch (release) {
        case DwgRelease::Unreadable:
            return kErrorReadingDwg;
        case DwgRelease::Supported:
            return {};
        case DwgRelease::Older:
            return kDwgOlderNotSupported;
        case DwgRelease::R2007:
            return unsupported("R2007");
        case DwgRelease::R2010:
            return unsupported("R2010");
        case DwgRelease::R2013:
            return unsupported("R2013");
        case DwgRelease::R2018:
            return unsupported("R2018");
    }
    return kErrorReadingDwg;
}
