// Parsing of the kestrel command line.
#include "shell/ProgramOptions.h"

#include <charconv>

namespace {

constexpr int kMaxSize = 16384;

bool parseSize(const std::string& text, int& w, int& h) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    auto [p1, e1] = std::from_chars(begin, begin + x, w);
    auto [p2, e2] = std::from_chars(begin + x + 1, end, h);
    return e1 == std::errc() && e2 == std::errc() && p1 == begin + x && p2 == end && w >= 1 &&
           h >= 1 && w <= kMaxSize && h <= kMaxSize;
}

bool fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

}  // namespace

std::optional<mmProgramOptions> ParseProgramOptions(const std::vector<std::string>& args,
                                                    std::string* error) {
    mmProgramOptions o;
    bool headlessOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::optional<std::string>& target) {
            if (i + 1 >= args.size()) return fail(error, a + " needs a value");
            target = args[++i];
            headlessOnly = true;
            return true;
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--script") {
            if (!value(o.script)) return std::nullopt;
        } else if (a == "--save") {
            if (!value(o.save)) return std::nullopt;
        } else if (a == "--dxf-version") {
            std::optional<std::string> version;
            if (!value(version)) return std::nullopt;
            if (*version == "R12" || *version == "r12") {
                o.dxfVersion = DxfVersion::R12;
            } else if (*version == "2000") {
                o.dxfVersion = DxfVersion::R2000;
            } else {
                fail(error, "--dxf-version takes R12 or 2000: " + *version);
                return std::nullopt;
            }
        } else if (a == "--export") {
            if (!value(o.exportPath)) return std::nullopt;
        } else if (a == "--plot") {
            if (!value(o.plotPath)) return std::nullopt;
        } else if (a == "--size") {
            std::optional<std::string> size;
            if (!value(size)) return std::nullopt;
            if (!parseSize(*size, o.width, o.height)) {
                fail(error, "--size takes WxH, for example 1024x768 (1 to 16384 each): " + *size);
                return std::nullopt;
            }
            o.sizeGiven = true;
        } else if (a.size() > 1 && a[0] == '-') {
            fail(error, "unknown option " + a);
            return std::nullopt;
        } else if (o.drawing) {
            fail(error, "only one drawing can be opened: " + a);
            return std::nullopt;
        } else {
            o.drawing = a;
        }
    }
    if (headlessOnly && !o.headless && !o.help && !o.version) {
        fail(error, "--script, --save, --dxf-version, --export, --plot and --size need --headless");
        return std::nullopt;
    }
    return o;
}

std::string ProgramUsage() {
    return "Usage: kestrel [DRAWING]\n"
           "       kestrel --headless [--script FILE|-] [--save PATH [--dxf-version R12|2000]]\n"
           "                      [--export PATH --size WxH] [--plot FILE.pdf] [DRAWING]\n"
           "\n"
           "Kestrel is a 2D drafting editor. Without --headless it opens its window with DRAWING\n"
           "(a DXF file) or with the welcome texts.\n"
           "\n"
           "Options:\n"
           "  --help          show this help and exit\n"
           "  --version       show the version and exit\n"
           "  --headless      run without a window: the same start-up, then the script\n"
           "  --script FILE   lines typed into the command line one by one (- reads standard\n"
           "                  input); a line \"!pick X,Y\" clicks the drawing point X,Y for the\n"
           "                  running command, and a line starting \"!!\" is typed with one \"!\"\n"
           "                  less\n"
           "  --save PATH     save the drawing as DXF after the script\n"
           "  --dxf-version V the DXF release of the save: 2000 (the default) or R12\n"
           "  --export PATH   render the active tab into an image (.png, .jpg, .bmp, .tif or\n"
           "                  .gif)\n"
           "  --plot FILE.pdf plot the active tab (the model view, or a layout's page) to a PDF\n"
           "                  file of one A4 page\n"
           "  --size WxH      the view's size in pixels (default 1024x768)\n"
           "\n"
           "The transcript of the command line goes to standard output, messages to standard\n"
           "error. A file that cannot be read, saved or written makes the exit status 1; wrong\n"
           "arguments make it 2.\n";
}
