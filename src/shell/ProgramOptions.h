// The kestrel command line: the editor with an optional drawing, or a headless run with a script,
// a save and an image export.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fileio/dxf/DxfSave.h"

struct mmProgramOptions {
    bool help = false;
    bool version = false;
    bool headless = false;
    std::optional<std::string> script;  // "-" for standard input
    std::optional<std::string> save;
    DxfVersion dxfVersion = DxfVersion::R2000;  // of the save
    std::optional<std::string> exportPath;
    std::optional<std::string> plotPath;  // the PDF file a plot of the active tab goes to
    int width = 1024;  // the view's size in pixels: --size, or this default
    int height = 768;
    bool sizeGiven = false;
    std::optional<std::string> drawing;
};

// Parses the arguments after the program name. Nothing (with *error set) for an unknown option,
// a missing value, a size that is not WxH with both between 1 and 16384, a DXF version other
// than R12 or 2000, two drawings, or an option of the headless mode without --headless.
std::optional<mmProgramOptions> ParseProgramOptions(const std::vector<std::string>& args,
                                                    std::string* error);

// The usage text printed by --help.
std::string ProgramUsage();
