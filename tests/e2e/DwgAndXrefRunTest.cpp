// The program run headless on DWG files and XREFs: a DWG test drawing opens and is exported as
// a picture, one of a release not read leaves the program with its message, and a drawing saved
// by one run comes into another as an XREF block handed to INSERT.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kOutput = fs::path(KESTREL_TEST_OUTPUT_DIR) / "e2e-dwg";
const fs::path kDwg = fs::path(KESTREL_TEST_DATA_DIR) / "dwg";

struct Outcome {
    int status = -1;
    std::string out;  // standard output, then standard error
};

Outcome kestrel(const std::string& arguments) {
    Outcome run;
    const std::string command = std::string("'") + KESTREL_EXECUTABLE + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

fs::path writeFile(const std::string& name, const std::string& text) {
    fs::create_directories(kOutput);
    const fs::path path = kOutput / name;
    std::ofstream(path) << text;
    return path;
}

bool bridgeMissing(const Outcome& run) {
    return run.out.find("Opening DWG files needs") != std::string::npos;
}

TEST(HeadlessDwg, OpensADwgAndExportsItsPicture) {
    const fs::path dwg = kDwg / "2004_HatchG.dwg";
    if (!fs::exists(dwg)) GTEST_SKIP() << "test drawing not found: " << dwg;
    const fs::path png = kOutput / "hatches.png";
    fs::create_directories(kOutput);
    fs::remove(png);
    const Outcome run =
        kestrel("--headless --export '" + png.string() + "' --size 400x300 '" + dwg.string() + "'");
    if (bridgeMissing(run)) GTEST_SKIP() << run.out;
    ASSERT_EQ(run.status, 0) << run.out;
    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    // Two filled hatches: a black cloud on the left, a green rectangle on the right.
    int black = 0, green = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            black += x < 200 && c.red() < 60 && c.green() < 60 && c.blue() < 60;
            green += x > 250 && c.green() > 150 && c.red() < 80;
        }
    EXPECT_GT(black, 5000);
    EXPECT_GT(green, 5000);
}

TEST(HeadlessDwg, AReleaseNotReadGivesItsMessageAndAFailingStatus) {
    const fs::path dwg = writeFile("r2010.dwg", std::string("AC1024") + std::string(64, '\0'));
    const fs::path dxf = kOutput / "r2010-saved.dxf";
    fs::remove(dxf);
    const Outcome run = kestrel("--headless --save '" + dxf.string() + "' '" + dwg.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("DWG file version R2010 is not supported at this moment!"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Error reading drawing file!"), std::string::npos) << run.out;
    // The run ends there: nothing is saved in the place of the drawing that was not read.
    EXPECT_FALSE(fs::exists(dxf));
}

TEST(HeadlessDwg, XrefOfADrawingIsHandedToInsert) {
    const fs::path floor = kOutput / "floor.dxf";
    fs::create_directories(kOutput);
    fs::remove(floor);
    const fs::path draw = writeFile("floor.txt", "line\n0,0\n10,5\n\ncircle\n3,3\n1\n");
    ASSERT_EQ(kestrel("--headless --script '" + draw.string() + "' --save '" + floor.string() + "'")
                  .status,
              0);
    const fs::path site = kOutput / "site.dxf";
    fs::remove(site);
    const fs::path script =
        writeFile("xref.txt", "!file " + floor.string() + "\n!menu 32867\n!menu 32867\n");
    const Outcome run =
        kestrel("--headless --script '" + script.string() + "' --save '" + site.string() + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    // XREF submits INSERT and the block's name; the second XREF's dialog was cancelled.
    const std::size_t insert = run.out.find("> INSERT");
    ASSERT_NE(insert, std::string::npos) << run.out;
    EXPECT_NE(run.out.find("> floor", insert), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("> INSERT", insert + 1), std::string::npos) << run.out;
    // The entity types of the block "floor" in the saved file.
    std::ifstream in(site);
    std::vector<std::string> types;
    std::string code, value, name;
    bool inBlock = false;
    const auto trim = [](std::string& t) {
        while (!t.empty() && (t.back() == '\r' || t.back() == ' '))
            t.pop_back();
        t.erase(0, t.find_first_not_of(' '));
    };
    while (std::getline(in, code) && std::getline(in, value)) {
        trim(code);
        trim(value);
        if (code == "0" && value == "BLOCK") {
            inBlock = true;
            name.clear();
        } else if (code == "0" && value == "ENDBLK") {
            if (name == "floor") break;
            inBlock = false;
        } else if (inBlock && code == "2" && name.empty()) {
            name = value;
        } else if (inBlock && code == "0") {
            types.push_back(value);
        }
    }
    EXPECT_EQ(name, "floor");
    // The start-up drawing's three welcome texts, then what the script drew.
    EXPECT_EQ(types, (std::vector<std::string>{"TEXT", "TEXT", "TEXT", "LINE", "CIRCLE"}));
}

}  // namespace
