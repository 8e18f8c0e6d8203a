// Layouts run headless: --plot writes a one-page PDF of the model tab and of a layout through its
// viewport (checked with pdftoppm's pixels), !layout switches tabs, --export writes each image
// format, and a layout saved by either DXF writer opens again with its viewports, which ezdxf
// reads in paper space.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path kOutput = fs::path(KESTREL_TEST_OUTPUT_DIR) / "e2e" / "layouts";

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome run(const std::string& command) {
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return outcome;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) outcome.out.append(buffer, n);
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

Outcome kestrel(const std::string& script, const std::string& arguments) {
    fs::create_directories(kOutput);
    // One script file per test process: ctest runs the tests of this file side by side.
    const fs::path path = kOutput / ("script-" + std::to_string(getpid()) + ".txt");
    std::ofstream(path) << script;
    return run(std::string("'") + KESTREL_EXECUTABLE + "' --headless --size 400x300 --script '" +
               path.string() + "' " + arguments + " 2>&1");
}

// The page of a PDF at this many dots per inch; a null image when pdftoppm fails.
QImage pdfPage(const fs::path& pdf, int dpi) {
    const fs::path stem = kOutput / pdf.stem();
    const Outcome ppm = run("pdftoppm -r " + std::to_string(dpi) + " -singlefile -png '" +
                            pdf.string() + "' '" + stem.string() + "'");
    if (ppm.status != 0) return QImage();
    return QImage(QString::fromStdString(stem.string() + ".png"));
}

int pageCount(const fs::path& pdf) {
    const Outcome info = run("pdfinfo '" + pdf.string() + "'");
    const std::size_t at = info.out.find("Pages:");
    return at == std::string::npos ? 0 : std::stoi(info.out.substr(at + 6));
}

bool darkNear(const QImage& image, int x, int y, int reach = 4) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const QColor c = image.pixelColor(x + dx, y + dy);
            if (c.red() < 210 && c.green() < 210 && c.blue() < 210) return true;
        }
    return false;
}
bool white(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::white);
}

// A square 50..150 on both axes in the model.
constexpr char kSquare[] = "rectangle\n50,50\n150,150\n";

TEST(LayoutRun, PlotOfTheModelTabIsOnePageShowingTheWindow) {
    const fs::path pdf = kOutput / "model.pdf";
    fs::remove(pdf);
    // The window 0..200 by 0..150 fills the 400 x 300 view: 2 pixels per unit.
    const Outcome out =
        kestrel(std::string("zoom\nw\n0,0\n200,150\n") + kSquare, "--plot '" + pdf.string() + "'");
    ASSERT_EQ(out.status, 0) << out.out;
    ASSERT_EQ(pageCount(pdf), 1);
    const QImage page = pdfPage(pdf, 100);
    ASSERT_FALSE(page.isNull());
    ASSERT_NEAR(page.width(), 827, 2);  // A4 at 100 dpi
    // The 400 x 300 picture fills the page's width, centred: 2.0675 page pixels per view pixel.
    const double s = page.width() / 400.0;
    const double top = (page.height() - 300 * s) / 2;
    const auto px = [&](double x) { return static_cast<int>(x * 2 * s); };
    const auto py = [&](double y) { return static_cast<int>(top + (300 - y * 2) * s); };
    EXPECT_TRUE(darkNear(page, px(100), py(50)));
    EXPECT_TRUE(darkNear(page, px(50), py(100)));
    EXPECT_TRUE(white(page, px(100), py(100)));
    EXPECT_TRUE(white(page, 5, 5));
}

TEST(LayoutRun, PlotOfALayoutShowsTheModelThroughItsViewport) {
    const fs::path pdf = kOutput / "layout.pdf";
    fs::remove(pdf);
    // Layout1's default viewport shows the model at 1 mm per unit: model (x, y) lands on the
    // paper at (x, y) millimetres from the sheet's lower-left corner.
    const Outcome out = kestrel(std::string(kSquare) + "!layout layout1\n",
                                "--plot '" + pdf.string() + "'");
    ASSERT_EQ(out.status, 0) << out.out;
    ASSERT_EQ(pageCount(pdf), 1);
    const int dpi = 150;
    const QImage page = pdfPage(pdf, dpi);
    ASSERT_FALSE(page.isNull());
    const auto px = [&](double mm) { return static_cast<int>(mm / 25.4 * dpi); };
    const auto py = [&](double mm) { return page.height() - static_cast<int>(mm / 25.4 * dpi); };
    EXPECT_TRUE(darkNear(page, px(100), py(50)));   // the square's lower side
    EXPECT_TRUE(darkNear(page, px(150), py(100)));  // its right side
    EXPECT_TRUE(darkNear(page, px(21), py(150)));   // the viewport's frame, a tenth in
    EXPECT_TRUE(white(page, px(100), py(100)));
    EXPECT_TRUE(white(page, px(10), py(150)));      // outside the viewport
}

TEST(LayoutRun, ExportWritesEveryFormatAndRefusesAnUnknownExtension) {
    for (const char* name : {"a.png", "a.JPG", "a.bmp", "a.tif", "a.gif"}) {
        const fs::path image = kOutput / name;
        fs::remove(image);
        const Outcome out = kestrel(std::string("zoom\nw\n0,0\n200,150\n") + kSquare,
                                    "--export '" + image.string() + "'");
        ASSERT_EQ(out.status, 0) << name << ": " << out.out;
        const QImage read(QString::fromStdString(image.string()));
        ASSERT_FALSE(read.isNull()) << name;
        EXPECT_EQ(read.size(), QSize(400, 300)) << name;
        const QColor line = read.pixelColor(200, 200);  // the square's lower side, y = 50
        const QColor inside = read.pixelColor(200, 100);
        EXPECT_TRUE(line.lightness() < 128 || read.pixelColor(200, 199).lightness() < 128) << name;
        EXPECT_GT(inside.lightness(), 200) << name;
    }
    const fs::path unknown = kOutput / "a.pcx";
    const Outcome out = kestrel(kSquare, "--export '" + unknown.string() + "'");
    EXPECT_EQ(out.status, 1);
    EXPECT_NE(out.out.find("no image encoder for its extension"), std::string::npos) << out.out;
    EXPECT_FALSE(fs::exists(unknown));
}

// The save of a layout, by each DXF writer: the file's release as ezdxf reports it.
struct SavedLayoutCase {
    const char* version;
    const char* acadVersion;
};

class SavedLayout : public testing::TestWithParam<SavedLayoutCase> {};

TEST_P(SavedLayout, OpensAgainAndEzdxfReadsItsViewportsInPaperSpace) {
    const SavedLayoutCase& c = GetParam();
    const std::string version = std::string(" --dxf-version ") + c.version;
    const fs::path dxf = kOutput / (std::string("layout-") + c.version + ".dxf");
    fs::remove(dxf);
    // A second viewport at 1 mm = 4 units and a paper-space text.
    const std::string script = std::string(kSquare) +
                               "!layout Layout1\nviewport\n120,20\n200,80\n"
                               "text\nSHEET\n30,10\n5\n0\n"
                               "!dblclick 160,50\nplotscale\n4\n";
    Outcome out = kestrel(script, "--save '" + dxf.string() + "'" + version);
    ASSERT_EQ(out.status, 0) << out.out;

    // ezdxf 0.18 reads an R12 viewport's MVIEW data as nothing: the view heights are taken
    // from the file's own groups (45 of a DXF 2000 VIEWPORT, else the second 1040 of its
    // extended data). In DXF 2000 the paper entities are owned by the *Paper_Space record.
    const std::string check =
        "import ezdxf, sys\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "auditor = doc.audit()\n"
        "ps = doc.layouts.get('Layout1')\n"
        "vps = [e for e in ps if e.dxftype() == 'VIEWPORT' and e.dxf.status >= 2]\n"
        "texts = [e.dxf.text for e in ps if e.dxftype() == 'TEXT']\n"
        "model = [e.dxf.text if e.dxftype() == 'TEXT' else e.dxftype() for e in "
        "doc.modelspace()]\n"
        "print('version', doc.dxfversion)\n"
        "print('errors', len(auditor.errors), 'viewports', len(vps), 'texts', texts, "
        "'in model', [m for m in model if m in ('SHEET', 'VIEWPORT')])\n"
        "if doc.dxfversion != 'AC1009':\n"
        "    owner = doc.block_records.get('*Paper_Space').dxf.handle\n"
        "    print('paper owned', all(e.dxf.owner == owner and e.dxf.paperspace == 1 "
        "for e in vps), len(vps))\n"
        "lines = open(sys.argv[1]).read().split('\\n')\n"
        "pairs = list(zip(lines[0::2], lines[1::2]))\n"
        "for i, (c, v) in enumerate(pairs):\n"
        "    if c.strip() == '0' and v == 'VIEWPORT':\n"
        "        groups = []\n"
        "        for c2, v2 in pairs[i + 1:]:\n"
        "            if c2.strip() == '0': break\n"
        "            groups.append((int(c2), v2))\n"
        "        height = [float(v2) for c2, v2 in groups if c2 == 41][0]\n"
        "        view = [float(v2) for c2, v2 in groups if c2 == 45] or "
        "[float(v2) for c2, v2 in groups if c2 == 1040][1:2]\n"
        "        print('scale %.3f' % (view[0] / height))\n";
    const fs::path checkFile = kOutput / (std::string("check-") + c.version + ".py");
    std::ofstream(checkFile) << check;
    const auto ezdxf = [&](const fs::path& file) {
        return run(std::string(KESTREL_PYTHON3) + " '" + checkFile.string() +
                   "' '" + file.string() + "' 2>&1");
    };
    out = ezdxf(dxf);
    ASSERT_EQ(out.status, 0) << out.out;
    EXPECT_NE(out.out.find(std::string("version ") + c.acadVersion), std::string::npos) << out.out;
    EXPECT_NE(out.out.find("errors 0 viewports 2 texts ['SHEET'] in model []"), std::string::npos)
        << out.out;
    if (std::string(c.acadVersion) != "AC1009") {
        EXPECT_NE(out.out.find("paper owned True 2"), std::string::npos) << out.out;
    }
    EXPECT_NE(out.out.find("scale 4.000"), std::string::npos) << out.out;
    EXPECT_NE(out.out.find("scale 1.000"), std::string::npos) << out.out;

    // Opened again, the layout has both viewports and the text, and the model stays the model.
    const fs::path again = kOutput / (std::string("again-") + c.version + ".dxf");
    out = kestrel("!layout Layout1\n",
                  "--save '" + again.string() + "'" + version + " '" + dxf.string() + "'");
    ASSERT_EQ(out.status, 0) << out.out;
    out = ezdxf(again);
    EXPECT_NE(out.out.find("errors 0 viewports 2 texts ['SHEET'] in model []"), std::string::npos)
        << out.out;
    EXPECT_NE(out.out.find("scale 4.000"), std::string::npos) << out.out;
}

INSTANTIATE_TEST_SUITE_P(LayoutRun, SavedLayout,
                         testing::Values(SavedLayoutCase{"R12", "AC1009"},
                                         SavedLayoutCase{"2000", "AC1015"}),
                         [](const testing::TestParamInfo<SavedLayoutCase>& param) {
                             return std::string("Dxf") + param.param.version;
                         });

}  // namespace

namespace {

// Three layouts made by ezdxf: "Plan" (active, empty), "Detail" with viewports at 1 mm = 4 and
// 1 mm = 0.5 units and a text, "Notes" with a text alone.
constexpr char kPeerLayouts[] = R"(import ezdxf, sys
doc = ezdxf.new('R2000')
doc.modelspace().add_lwpolyline([(0, 0), (100, 0), (100, 100), (0, 100)], close=True)
doc.layouts.rename('Layout1', 'Plan')
d = doc.layouts.new('Detail')
n = doc.layouts.new('Notes')
d.add_viewport(center=(60, 40), size=(80, 50), view_center_point=(50, 50), view_height=200)
d.add_viewport(center=(160, 40), size=(80, 50), view_center_point=(20, 20), view_height=25)
d.add_text('DETAIL', dxfattribs={'height': 5}).set_placement((20, 100))
n.add_text('NOTES', dxfattribs={'height': 5}).set_placement((20, 20))
doc.saveas(sys.argv[1])
)";

// Per layout in tab order: its name, the scales of its viewports (not its own paper viewport)
// and its texts, whether everything in it is owned by its block record, and the audit.
constexpr char kLayoutsCheck[] = R"(import ezdxf, sys
doc = ezdxf.readfile(sys.argv[1])
print('errors', len(doc.audit().errors))
for l in sorted((l for l in doc.layouts if l.name != 'Model'), key=lambda l: l.dxf_layout.dxf.taborder):
    record = l.block_record.dxf.handle
    vps = [e for e in l if e.dxftype() == 'VIEWPORT' and e.dxf.id != 1]
    print(l.name, sorted('%.3f' % (v.dxf.view_height / v.dxf.height) for v in vps),
          [e.dxf.text for e in l if e.dxftype() == 'TEXT'],
          all(e.dxf.owner == record for e in l))
print('model', [e.dxftype() for e in doc.modelspace()])
)";

}  // namespace

// A save wrote the active layout alone: the others, their viewports and texts were lost.
TEST(LayoutRun, RegressionEveryLayoutOfAnotherProgramIsSavedAndOpensAgain) {
    fs::create_directories(kOutput);
    const fs::path peer = kOutput / "peer-layouts.dxf";
    const fs::path make = kOutput / "make-layouts.py";
    const fs::path check = kOutput / "check-layouts.py";
    std::ofstream(make) << kPeerLayouts;
    std::ofstream(check) << kLayoutsCheck;
    const auto python = [&](const fs::path& script, const fs::path& file) {
        return run(std::string(KESTREL_PYTHON3) + " '" + script.string() + "' '" + file.string() +
                   "' 2>&1");
    };
    Outcome out = python(make, peer);
    ASSERT_EQ(out.status, 0) << out.out;
    const std::string expected =
        "errors 0\n"
        "Plan ['0.723'] [] True\n"
        "Detail ['0.500', '4.000'] ['DETAIL'] True\n"
        "Notes [] ['NOTES'] True\n"
        "model ['LWPOLYLINE']\n";
    // Saved from the file, then the save opened and saved again: the same each time ("Plan",
    // empty in the file, gets the default viewport onto the whole model).
    fs::path from = peer;
    for (const char* name : {"layouts-saved.dxf", "layouts-again.dxf"}) {
        const fs::path saved = kOutput / name;
        fs::remove(saved);
        out = kestrel("!layout Detail\n", "--save '" + saved.string() + "' '" + from.string() + "'");
        ASSERT_EQ(out.status, 0) << out.out;
        out = python(check, saved);
        EXPECT_EQ(out.out, expected) << name;
        from = saved;
    }
}
