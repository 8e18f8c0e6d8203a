// The program run headless: a script draws lines, a circle and a text and the model view is
// exported; a saved drawing opens again; file errors and wrong arguments give their exit status;
// a script inserts a raster image.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

#include "support/RasterFiles.h"

namespace {

namespace fs = std::filesystem;

const fs::path kOutput = fs::path(KESTREL_TEST_OUTPUT_DIR) / "e2e";

struct Outcome {
    int status = -1;
    std::string out;
};

// Runs kestrel with the arguments (already quoted for the shell), capturing standard output.
Outcome kestrel(const std::string& arguments) {
    Outcome run;
    const std::string command = std::string("'") + KESTREL_EXECUTABLE + "' " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

fs::path writeScript(const std::string& name, const std::string& text) {
    fs::create_directories(kOutput);
    const fs::path path = kOutput / name;
    std::ofstream(path) << text;
    return path;
}

bool dark(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return c.red() < 100 && c.green() < 100 && c.blue() < 100;
}
bool white(const QImage& image, int x, int y) { return image.pixelColor(x, y) == Qt::white; }
// A one-pixel line may fall on either side of a pixel edge.
bool darkNear(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dark(image, x + dx, y + dy)) return true;
    return false;
}

// The window 200..300 by 0..75 fills the 400 x 300 image: 4 pixels per unit, y up.
int px(double x) { return static_cast<int>((x - 200) * 4); }
int py(double y) { return static_cast<int>(300 - y * 4); }

constexpr char kDrawing[] =
    "zoom\nw\n200,0\n300,75\n"
    "line\n210,10\n290,10\n"
    "line\n210,10\n!pick 210,70\n"
    "circle\n250,40\n20\n"
    "text\nE2E\n260,55\n8\n0\n";

}  // namespace

TEST(HeadlessRun, ScriptDrawsAndExportsTheModelView) {
    const fs::path script = writeScript("draw.txt", kDrawing);
    const fs::path png = kOutput / "draw.png";
    fs::remove(png);
    const Outcome run = kestrel("--headless --script '" + script.string() + "' --export '" +
                            png.string() + "' --size 400x300");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Insert or type second point: 210.0000,70.0000,0.0000"), std::string::npos)
        << run.out;
    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.width(), 400);
    ASSERT_EQ(image.height(), 300);
    EXPECT_TRUE(darkNear(image, px(250), py(10)));  // the typed line
    EXPECT_TRUE(darkNear(image, px(210), py(40)));  // the line to the picked point
    EXPECT_TRUE(darkNear(image, px(250), py(60)));  // the circle's top
    EXPECT_TRUE(white(image, px(250), py(40)));  // and its centre
    int textInk = 0;
    for (int y = py(63); y <= py(55); ++y)
        for (int x = px(260); x <= px(285); ++x) textInk += dark(image, x, y);
    EXPECT_GT(textInk, 50);
    EXPECT_TRUE(white(image, px(230), py(65)));  // nothing else
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 255);
}

// A DXF 2000 file by default, R12 when asked; either opens again.
static void expectSavedDrawingOpensAgain(const std::string& version);

TEST(HeadlessRun, SavedDrawingOpensAgain) {
    for (const std::string version : {"", " --dxf-version R12"}) {
        SCOPED_TRACE(version);
        expectSavedDrawingOpensAgain(version);
    }
}

static void expectSavedDrawingOpensAgain(const std::string& version) {
    const fs::path script = writeScript("save.txt", kDrawing);
    const fs::path dxf = kOutput / "saved.dxf";
    const fs::path png = kOutput / "saved.png";
    fs::remove(dxf);
    ASSERT_EQ(kestrel("--headless --script '" + script.string() + "' --save '" + dxf.string() +
                      "'" + version)
                  .status,
              0);
    ASSERT_TRUE(fs::exists(dxf));
    std::ifstream saved(dxf, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("AC1015") != std::string::npos, version.empty());
    // Opening zooms to the drawing's extents: the welcome texts and the new entities.
    const Outcome opened = kestrel("--headless --export '" + png.string() + "' --size 400x300 '" +
                               dxf.string() + "'");
    ASSERT_EQ(opened.status, 0) << opened.out;
    EXPECT_EQ(opened.out.find("TEXT"), std::string::npos);  // no welcome texts typed
    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() / 2; x < image.width(); ++x) ink += dark(image, x, y);
    EXPECT_GT(ink, 100);  // the circle and lines at the right of the drawing
}

TEST(HeadlessRun, ExitStatusOfFileErrorsAndWrongArguments) {
    const struct {
        std::string arguments;
        int status;
    } cases[] = {
        {"--headless '" + (kOutput / "missing.dxf").string() + "'", 1},
        {"--headless --script '" + (kOutput / "missing.txt").string() + "'", 1},
        {"--headless --save '" + (kOutput / "no-folder" / "x.dxf").string() + "'", 1},
        {"--headless --size 0x10", 2},
        {"--script x.txt", 2},
        {"--version", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kestrel(c.arguments + " 2>/dev/null").status, c.status) << c.arguments;
}

// An empty file or a DWG under a DXF name opened as an empty drawing with status 0, and --save
// then wrote that empty drawing over the target. Now the run fails and writes nothing.
TEST(HeadlessRun, RegressionFileThatIsNoDxfFailsAndSavesNothing) {
    fs::create_directories(kOutput);
    const fs::path target = kOutput / "kept.dxf";
    for (const std::string& bytes : {std::string(), std::string("AC1015") + std::string(40, '\0')}) {
        const fs::path input = kOutput / "not-dxf.dxf";
        std::ofstream(input, std::ios::binary) << bytes;
        std::ofstream(target) << "previous";
        const Outcome run = kestrel("--headless --save '" + target.string() + "' '" +
                                    input.string() + "' 2>&1");
        EXPECT_EQ(run.status, 1) << run.out;
        EXPECT_NE(run.out.find("Error reading drawing file!"), std::string::npos) << run.out;
        std::ifstream kept(target);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "previous");
    }
}

// The view's mouse and keys from a script: a crossing window selects two lines, Delete erases
// them, UNDO brings them back; a picked line is grip-dragged, and a LINE snaps onto its new end.
TEST(HeadlessRun, ScriptSelectsErasesDragsAndSnaps) {
    const fs::path script = writeScript(
        "edit.txt",
        "zoom\nw\n200,0\n300,75\n"
        "line\n210,10\n290,10\n"
        "line\n210,20\n290,20\n"
        "!pick 295,25\n!pick 250,15\n!key Delete\n"  // right to left: crossing
        "undo\n"
        "!pick 250,10\n!move 290,10\n!pick 290.3,10.2\n!pick 280,60\n"  // drag the end grip
        "line\n!move 280.5,60.5\n!pick 280.5,60.5\n@0,-10\n"
        "!key Tab\n");
    const fs::path dxf = kOutput / "edit.dxf";
    fs::remove(dxf);
    const Outcome run = kestrel("--headless --size 400x300 --script '" + script.string() +
                                "' --save '" + dxf.string() + "' 2>&1");
    ASSERT_EQ(run.status, 0) << run.out;
    // The LINE's first point snapped onto the dragged end.
    EXPECT_NE(run.out.find("Specify first point (pick point or type coordinates): "
                           "280.0000,60.0000,0.0000"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("script line 23: unknown key \"Tab\""), std::string::npos) << run.out;
    std::ifstream in(dxf);
    std::size_t lines = 0;
    for (std::string row; std::getline(in, row);)
        lines += row == "LINE" || row == "LINE\r";
    EXPECT_EQ(lines, 3u);  // both lines back, and the new one
}

// The modules beside the program are loaded headless too: a script moves a picked line with the
// modify module's MOVE and dimensions a circle with its DIMRADIUS.
TEST(HeadlessRun, ScriptUsesTheCommandsOfTheModifyModule) {
    const fs::path script = writeScript("modify.txt",
                                        "zoom\nw\n200,0\n300,75\n"
                                        "line\n210,10\n250,10\n"
                                        "!pick 230,10\nmove\n210,10\n@20,30\n"
                                        "circle\n280,40\n10\n"
                                        "dimradius\n!pick 290,40\n295,55\n");
    const fs::path dxf = kOutput / "modify.dxf";
    fs::remove(dxf);
    const Outcome run = kestrel("--headless --size 400x300 --script '" + script.string() +
                                "' --save '" + dxf.string() + "' --dxf-version R12 2>&1");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.find("Unknown command"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Warning"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Specify second point: @20,30"), std::string::npos) << run.out;
    std::ifstream in(dxf);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::erase(text, '\r');
    const std::size_t line = text.find("\nLINE\n");
    EXPECT_NE(text.find("\n10\n230\n", line), std::string::npos) << "the line's start moved";
    const std::size_t dimension = text.find("\nDIMENSION\n", line);
    EXPECT_NE(text.find("\n70\n4\n", dimension), std::string::npos) << "a radius dimension";
}

// Every file dialog was cancelled headless, so IMPTXT could not run in a script: "!file" answers
// the next one (a path with blanks in quotes).
TEST(HeadlessRun, RegressionFileDialogAnsweredByTheScript) {
    fs::create_directories(kOutput / "with blank");
    const fs::path list = kOutput / "with blank" / "points.txt";
    std::ofstream(list) << "P1;10;20\nP2;30;40\n";
    const fs::path dxf = kOutput / "imported.dxf";
    fs::remove(dxf);
    const fs::path script =
        writeScript("imptxt.txt", "!file \"" + list.string() + "\"\nimptxt\nimptxt\n");
    const Outcome run =
        kestrel("--headless --script '" + script.string() + "' --save '" + dxf.string() + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    std::ifstream in(dxf);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t points = 0;
    for (std::size_t at = saved.find("\nPOINT"); at != std::string::npos;
         at = saved.find("\nPOINT", at + 1))
        ++points;
    EXPECT_EQ(points, 2u);  // the second IMPTXT had no answer: cancelled
    EXPECT_NE(saved.find("\nP2\r\n"), std::string::npos);
}

// Once the history passed its cap and was trimmed, every later line printed the whole history
// again: 10,000 LINE commands printed "> line" 17,350 times.
TEST(HeadlessRun, RegressionTranscriptPrintsEachLineOnce) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "line\n" + std::to_string(i) + ",0\n" + std::to_string(i) + ",1\n";
    const Outcome run = kestrel("--headless --script '" + writeScript("lines.txt", text).string() + "'");
    ASSERT_EQ(run.status, 0);
    std::size_t commands = 0;
    for (std::size_t at = run.out.find("> line\n"); at != std::string::npos;
         at = run.out.find("> line\n", at + 1))
        ++commands;
    EXPECT_EQ(commands, 10000u);
    EXPECT_NE(run.out.find("Insert or type second point: 9999,1"), std::string::npos);
}

// RASTER from a script: "!file" answers the dialog; the image is left out of the saved DXF (the
// history says so) and shows in the exported picture and in the plot, both drawn offscreen.
TEST(HeadlessRun, ScriptInsertsAnImageSavesAndExportsIt) {
    fs::create_directories(kOutput);
    const fs::path bmp = kOutput / "half red.bmp";
    rasterfiles::writeBytes(bmp, rasterfiles::bmpBytes(20, 10, 24, [](int x, int) {
                                return x < 10 ? rasterfiles::Rgb{220, 0, 0}
                                              : rasterfiles::Rgb{0, 0, 220};
                            }));
    const fs::path script = writeScript(
        "raster.txt", "zoom\nw\n200,0\n300,75\n!file \"" + bmp.string() + "\"\nraster\n220,10\n2\n");
    const fs::path dxf = kOutput / "raster.dxf";
    const fs::path png = kOutput / "raster.png";
    const fs::path pdf = kOutput / "raster.pdf";
    fs::remove(png);
    fs::remove(pdf);
    const Outcome run = kestrel("--headless --script '" + script.string() + "' --save '" +
                                dxf.string() + "' --export '" + png.string() + "' --plot '" +
                                pdf.string() + "' --size 400x300");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Type raster image scale factor <1.0>: 2"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 raster image was left out: a DXF file cannot hold raster images."),
              std::string::npos)
        << run.out;
    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    // The image covers 220..260 by 10..30: red on the left, blue on the right.
    EXPECT_EQ(image.pixelColor(px(230), py(20)), QColor(220, 0, 0));
    EXPECT_EQ(image.pixelColor(px(250), py(20)), QColor(0, 0, 220));
    EXPECT_TRUE(white(image, px(270), py(20)));

    // The plot's page has both halves of the image.
    const fs::path page = kOutput / "raster-plot";
    ASSERT_EQ(std::system(("pdftoppm -r 50 -singlefile -png '" + pdf.string() + "' '" +
                           page.string() + "'")
                              .c_str()),
              0);
    const QImage plot(QString::fromStdString(page.string() + ".png"));
    ASSERT_FALSE(plot.isNull());
    bool red = false, blue = false;
    for (int y = 0; y < plot.height(); ++y)
        for (int x = 0; x < plot.width(); ++x) {
            const QColor c = plot.pixelColor(x, y);
            red |= c.red() > 180 && c.green() < 60 && c.blue() < 60;
            blue |= c.blue() > 180 && c.red() < 60 && c.green() < 60;
        }
    EXPECT_TRUE(red && blue);
}
