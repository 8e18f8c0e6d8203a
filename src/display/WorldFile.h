// The world file of a TIFF image (six lines: x pixel size, two rotation terms, y pixel size
// (negative), the x of the left edge and the y of the top edge), which places and scales the
// image in drawing units.
#pragma once

#include <istream>
#include <string>

inline constexpr char kBadWorldFileMessage[] =
    "Bad GeoTIFF world file format! Georeference not applied.";

struct mmWorldFile {
    bool found = false;   // a world file was read
    bool bad = false;     // a value could not be taken: the message is due, reading stopped there
    bool placed = false;  // exactly six lines, all good: insertX, insertY place the image
    double pixelSizeX = 1.0;
    double pixelSizeY = 1.0;
    double insertX = 0.0;
    double insertY = 0.0;  // the top edge as written; the lower-left corner is height below it
};

// Reads the lines: line 1 is the x pixel size, line 4 the y pixel size, which must be negative
// and is kept as its size, lines 5 and 6 the left and top edges. A value that is not a number, a
// pixel size that is not positive (x) or negative (y) is bad: the values before it stay, the rest
// are not read. Blank lines at the end are not counted.
mmWorldFile ParseWorldFile(std::istream& in);

// The world file beside an image: its path with the last extension replaced by ".tfw" (or
// ".TFW", or the file name in lower case with ".tfw"), the first that exists.
mmWorldFile ReadWorldFile(const std::string& imagePath);
