// IMPTXT: imports a coordinate list chosen in a file dialog. Every line "name;x;y" (or with tabs)
// adds a point at (x, y) and its name as a text of height 2 at (x + 0.5, y + 0.5). Nothing is
// recorded for undo. Lines that hold no name, x and y are skipped and counted in the history.
#include <filesystem>
#include <fstream>

#include "commands/Command.h"
#include "commands/CoordinateList.h"
#include "commands/DrawingText.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "entities/Point.h"
#include "entities/Text.h"

namespace {

constexpr std::size_t kMaxLabelCharacters = 49;
constexpr double kLabelOffset = 0.5;
constexpr double kLabelHeight = 2.0;
constexpr char kDialogTitle[] = "Import coordinate list";
constexpr char kDialogFilter[] = "Coordinate lists (*.txt)|*.txt|All files (*.*)|*.*";
constexpr char kDefaultExtension[] = ".txt";
constexpr char kNotFoundMessage[] = "ERROR: File not found";
constexpr char kUnspecifiedMessage[] = "ERROR: An unspecified error occurred.";

// What the import left out or changed, for the history.
struct Tally {
    std::size_t skippedLines = 0;
    std::size_t firstSkipped = 0;  // line number
    std::size_t cutLabels = 0;
};

std::u16string decimal(std::size_t n) {
    std::u16string out;
    for (char c : std::to_string(n))
        out += static_cast<char16_t>(c);
    return out;
}

std::u16string counted(std::size_t n, std::u16string_view one, std::u16string_view many) {
    return decimal(n) + u" " + std::u16string(n == 1 ? one : many);
}

std::u16string tallyMessage(const Tally& t) {
    std::u16string message;
    auto add = [&](const std::u16string& line) {
        if (line.empty()) return;
        if (!message.empty()) message += u"\r\n";
        message += line;
    };
    if (t.skippedLines > 0)
        add(counted(t.skippedLines, u"line", u"lines") + u" without a name, x and y " +
            (t.skippedLines == 1 ? u"was" : u"were") + u" skipped (the first is line " +
            decimal(t.firstSkipped) + u").");
    add(DrawingTextNotice(counted(t.cutLabels, u"label", u"labels"), t.cutLabels > 1,
                          t.cutLabels > 0, kMaxLabelCharacters));
    return message;
}

// The point, then its label when it has a name (an empty label would be an invisible text).
void addLabelledPoint(mmSession& s, const mmCoordinateRecord& record, Tally& tally) {
    const auto point = std::make_shared<mmPointObj>();
    PrepareNewEntity(s, *point);
    point->AddPoint(record.x, record.y);
    CompleteGeometry(s, *point);
    AddEntity(s.drawing, point);
    if (record.name.empty()) return;

    const mmDrawingText label = FileTextToDrawingText(record.name, kMaxLabelCharacters);
    tally.cutLabels += label.cut;
    const auto text = std::make_shared<mmText>();
    PrepareNewEntity(s, *text);
    text->height = kLabelHeight;
    text->rotation = 0.0;
    text->SetInsertionPoint(record.x + kLabelOffset, record.y + kLabelOffset);
    text->SetString(label.text, s.glyphTable);
    CompleteGeometry(s, *text);
    AddEntity(s.drawing, text);
}

// Every line, up to the end or a read error; what was read stays in the drawing.
bool importLines(mmSession& s, std::istream& in, Tally& tally) {
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        std::string_view view(line);
        if (number == 1 && view.starts_with("\xEF\xBB\xBF")) view.remove_prefix(3);
        if (const std::optional<mmCoordinateRecord> record = ParseCoordinateLine(view)) {
            addLabelledPoint(s, *record, tally);
        } else if (++tally.skippedLines == 1) {
            tally.firstSkipped = number;
        }
    }
    return !in.bad();
}

// A name without an extension that does not exist means the file with the default extension,
// as the file dialog would have completed it.
std::filesystem::path withDefaultExtension(const std::filesystem::path& path) {
    std::error_code ec;
    if (path.has_extension() || std::filesystem::exists(path, ec)) return path;
    std::filesystem::path completed = path;
    completed += kDefaultExtension;
    return std::filesystem::exists(completed, ec) ? completed : path;
}

void importFile(mmSession& s, const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        s.host.messageBox(kNotFoundMessage, kestrel::platform::MessageKind::Error);
        return;
    }
    // Only a regular file is opened: opening a named pipe would wait for a writer.
    std::ifstream in;
    if (!ec && fs::is_regular_file(status)) in.open(path, std::ios::binary);
    Tally tally;
    if (!in.is_open() || !importLines(s, in, tally))
        s.host.messageBox(kUnspecifiedMessage, kestrel::platform::MessageKind::Error);
    s.commandLine.pendingMessage = tallyMessage(tally);
}

void start(mmSession& s, std::u16string& text) {
    const std::vector<std::string> chosen =
        s.host.openFileDialog(kDialogTitle, kDialogFilter, false);
    if (!chosen.empty()) importFile(s, withDefaultExtension(std::filesystem::path(chosen.front())));
    FinishCommand(s, text);
}

}  // namespace

const mmCommandSteps kImptxtSteps{start, nullptr, nullptr, nullptr};
