// A headless script draws, trims, offsets, makes a block, inserts it twice, hatches a closed
// polyline and dimensions it; the saved drawing reads back in ezdxf as made, and the exported
// picture shows the hatch and the dimension.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kOutput = fs::path(KESTREL_TEST_OUTPUT_DIR) / "e2e-modify";

int run(const std::string& command, std::string* out = nullptr) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        if (out) out->append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The window 200..300 by 0..75 (away from the welcome texts) fills the 400 x 300 image: 4
// pixels per unit, y up.
constexpr char kScript[] =
    "zoom\nw\n200,0\n300,75\n"
    "pline\n250,5\n250,70\n\n"  // the edge
    "pline\n240,30\n260,30\n260,40\n240,40\n\n"
    "trim\n!pick 250,10\n!pick 260,35\n\n"
    "offset\n3\n!pick 260,35\n!pick 270,35\n"
    "line\n278,58\n282,62\nline\n278,62\n282,58\n"
    "block\n!pick 276,56\n!pick 284,64\n\n280,60\nMark\n"  // a window around the two lines
    "insert\nMark\n285,10\ninsert\nMark\n295,10\n"
    "rectangle\n210,50\n230,65\n"
    "hatch\n!pick 220,50\n\n\n"
    "dimlinear\n!pick 210,50\n!pick 230,50\n!pick 230,45\n";

int px(double x) {
    return static_cast<int>((x - 200) * 4);
}
int py(double y) {
    return static_cast<int>(300 - y * 4);
}

int inkIn(const QImage& image, double x0, double y0, double x1, double y1) {
    int ink = 0;
    for (int y = py(y1); y <= py(y0); ++y)
        for (int x = px(x0); x <= px(x1); ++x) {
            const QColor c = image.pixelColor(x, y);
            ink += c.red() < 100 && c.green() < 100 && c.blue() < 100;
        }
    return ink;
}

}  // namespace

TEST(ModifyRun, ScriptedDrawingSavesForEzdxfAndShowsHatchAndDimension) {
    fs::create_directories(kOutput);
    const fs::path script = kOutput / "modify.txt";
    std::ofstream(script) << kScript;
    const fs::path dxf = kOutput / "modify.dxf";
    const fs::path png = kOutput / "modify.png";
    fs::remove(dxf);
    fs::remove(png);
    std::string out;
    ASSERT_EQ(run(std::string("'") + KESTREL_EXECUTABLE + "' --headless --size 400x300 --script '" +
                      script.string() + "' --save '" + dxf.string() + "' --export '" +
                      png.string() + "' 2>&1",
                  &out),
              0)
        << out;
    EXPECT_EQ(out.find("Error"), std::string::npos) << out;
    EXPECT_EQ(out.find("Unknown command"), std::string::npos) << out;

    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    const int hatchArea = (px(228) - px(212) + 1) * (py(52) - py(63) + 1);
    EXPECT_EQ(inkIn(image, 212, 52, 228, 63), hatchArea);   // the hatch fills the rectangle
    EXPECT_GT(inkIn(image, 212, 44.5, 228, 45.5), 16 * 4);  // the dimension line
    EXPECT_GT(inkIn(image, 217, 45.7, 223, 48.3), 20);      // its label "20"
    EXPECT_EQ(inkIn(image, 212, 35, 228, 44), 0);           // nothing below the dimension

    if (std::string(KESTREL_PYTHON3).find("NOTFOUND") != std::string::npos)
        GTEST_SKIP() << "python3 is not installed";
    std::string check;
    const int status = run(std::string(KESTREL_PYTHON3) + " '" + KESTREL_SOURCE_DIR +
                               "/tests/e2e/modified_drawing_check.py' '" + dxf.string() + "' 2>&1",
                           &check);
    if (status == 77) GTEST_SKIP() << check;
    EXPECT_EQ(status, 0) << check;
}
