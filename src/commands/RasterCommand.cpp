// RASTER: inserts the raster images chosen in a multi-file dialog, one image per file, each with
// the new-entity properties. The image of the last file, unless its world file placed it, is then
// moved to the insertion point given and scaled about it by the factor typed; the others stay
// where their first load put them. A file that cannot be shown is told and adds nothing.
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Undo.h"
#include "display/RasterImageLoad.h"
#include "display/RasterTextureLoader.h"
#include "entities/GLTexture.h"

namespace {

constexpr char kDialogTitle[] = "Insert raster image";
constexpr char kDialogFilter[] =
    "Raster images (*.tif;*.tiff;*.bmp;*.jpg;*.tga)|*.tif;*.tiff;*.bmp;*.jpg;*.tga|"
    "All files (*.*)|*.*";
constexpr char16_t kScalePrompt[] = u"Type raster image scale factor <1.0>: ";

GLTexture& image(mmSession& s) {
    return static_cast<GLTexture&>(*s.pendingEntity);
}

// One undo step that marks the image as created.
void recordCreated(mmSession& s, const mmObjectPtr& created) {
    auto snapshots = std::make_shared<mmEntityList>();
    if (const mmObjectPtr snapshot = CloneEntity(*created, *snapshots)) {
        snapshot->erased = true;
        RecordUndo(s.drawing, std::move(snapshots));
    }
}

void start(mmSession& s, std::u16string& text) {
    const std::vector<std::string> chosen =
        s.host.openFileDialog(kDialogTitle, kDialogFilter, true);
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::string path = ResolveImagePath(chosen[i], s.documentFolder);
        s.host.statusText(RasterLoadingText(path));
        auto loaded = std::make_shared<GLTexture>();
        const mmRasterLoad result =
            LoadRasterImage(*loaded, path, s.drawing.rasterTileLimit, s.host);
        s.host.statusText("");
        if (result == mmRasterLoad::Failed) continue;
        PrepareNewEntity(s, *loaded);
        CompleteGeometry(s, *loaded);
        AddEntity(s.drawing, loaded);
        if (i + 1 == chosen.size() && result == mmRasterLoad::Loaded) {
            s.pendingEntity = loaded;
            return;  // step 1: the insertion point
        }
        recordCreated(s, loaded);
    }
    FinishCommand(s, text);
}

void place(mmSession& s, double x, double y) {
    image(s).SetInsertion(x, y);
    s.ActiveView().lastPoint = mmVertex(x, y);
}

void onScale(mmSession& s, std::u16string& text) {
    if (!text.empty()) {
        const std::optional<double> factor = ReadNumber(text);
        if (!factor || !image(s).SetScale(*factor, *factor, true)) return;
    }
    RecordUndoForPending(s, true);
    FinishCommand(s, text);
}

void input(mmSession& s, std::u16string& text, bool picked) {
    switch (s.ActiveView().step) {
        case 1: {
            // Without an insertion point the image is not inserted.
            if (text.empty()) {
                DiscardPendingEntity(s);
                FinishCommand(s, text);
                return;
            }
            if (!picked) {
                const std::optional<mmVertex> point = TypedPoint(s, text);
                if (!point) return;
                place(s, point->x, point->y);
            }
            SetCommandStep(s, 2, kScalePrompt);
            s.RequestRedraw();
            return;
        }
        case 2:
            onScale(s, text);
            return;
    }
}

std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    if (s.ActiveView().step != 1) return std::nullopt;
    place(s, x, y);
    return FormatPickedPoint(x, y);
}

}  // namespace

const mmCommandSteps kRasterSteps{start, input, pick, nullptr};
