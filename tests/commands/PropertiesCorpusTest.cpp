// Real drawings made by other programs: every entity of each DXF file of the test data shows its
// properties, takes an edit of each of its numeric items and gets its extents back from UNDO; a
// colour given to the whole drawing at once is taken back by one UNDO.
#include <cmath>
#include <filesystem>

#include "commands/CommandTestSupport.h"
#include "commands/InputGrammar.h"
#include "commands/Properties.h"
#include "commands/Selection.h"
#include "fileio/DrawingDocument.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kEntitiesPerFile = 1500;

bool sameExtents(const mmRect& a, const mmRect& b) {
    const auto near = [](double u, double v) { return std::fabs(u - v) <= 1e-9 * (1 + std::fabs(u)); };
    return near(a.minX, b.minX) && near(a.minY, b.minY) && near(a.maxX, b.maxX) &&
           near(a.maxY, b.maxY);
}

class PropertiesCorpus : public CommandTest {
protected:
    mmPropertiesModel model;
    int applied = 0;

    void editEachNumber(mmObject& e) {
        ClearSelection(session);
        SelectEntity(session, e, true);
        const mmPropertySheet sheet = model.Refresh(session);
        ASSERT_FALSE(sheet.typeLabel.empty());
        for (const mmPropertyItem& item : sheet.items) {
            if (item.readOnly || item.kind != mmPropertyKind::Number) continue;
            const std::optional<double> shown = ReadNumber(item.value);
            ASSERT_TRUE(shown.has_value()) << utf8(item.value);
            const mmRect before = e.extents;
            SelectEntity(session, e, true);
            const mmPropertyEdit result = model.Edit(session, item.id, FormatFixed4(*shown + 1));
            if (result != mmPropertyEdit::Applied) continue;
            ++applied;
            type(u"undo");
            EXPECT_TRUE(sameExtents(e.extents, before)) << utf8(sheet.typeLabel) << " " << utf8(item.label);
        }
    }
};

}  // namespace

TEST_F(PropertiesCorpus, EveryEntityShowsAndTakesItsEdits) {
    const fs::path folder = fs::path(KESTREL_TEST_DATA_DIR) / "dxf";
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no test drawings at " << folder;
    int files = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        if (file.path().extension() != ".dxf") continue;
        SCOPED_TRACE(file.path().string());
        ++files;
        OpenDrawing(session.drawing, file.path().string(), host, session.glyphTable.get(), nullptr);
        const mmEntityList entities = session.drawing.entities;
        std::size_t visited = 0;
        for (const mmObjectPtr& e : entities)
            if (e && !e->erased && visited++ < kEntitiesPerFile) editEachNumber(*e);

        ClearSelection(session);
        std::vector<uint32_t> colors;
        for (const mmObjectPtr& e : entities) {
            if (!e || e->erased) continue;
            SetEntitySelected(session, *e, true);
            colors.push_back(e->color);
        }
        SelectionChanged(session);
        model.Refresh(session);
        if (colors.empty()) continue;
        EXPECT_EQ(model.Edit(session, mmPropertyId::Color, u"Blue"), mmPropertyEdit::Applied);
        type(u"undo");
        std::size_t i = 0;
        for (const mmObjectPtr& e : entities) {
            if (e && !e->erased) {
                EXPECT_EQ(e->color, colors[i++]);
            }
        }
    }
    EXPECT_GT(files, 0);
    EXPECT_GT(applied, files * 20);
}
