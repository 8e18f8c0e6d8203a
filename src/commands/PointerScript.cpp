// The pointer and key lines of scripts.
#include "commands/PointerScript.h"

#include <array>
#include <charconv>
#include <cmath>

#include "commands/Layouts.h"
#include "commands/Session.h"
#include "commands/ViewInput.h"
#include "commands/ViewMouse.h"

namespace {

// "X,Y" as two numbers, blanks allowed around them.
bool parsePoint(std::string_view text, double& x, double& y) {
    const auto number = [](std::string_view t, double& v) {
        while (!t.empty() && t.front() == ' ')
            t.remove_prefix(1);
        while (!t.empty() && t.back() == ' ')
            t.remove_suffix(1);
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        return ec == std::errc() && end == t.data() + t.size() && std::isfinite(v);
    };
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && number(text.substr(0, comma), x) &&
           number(text.substr(comma + 1), y);
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

struct KeyName {
    std::string_view name;
    mmKey key;
};
constexpr std::array<KeyName, 8> kKeys{{{"Delete", mmKey::Delete},
                                        {"Escape", mmKey::Escape},
                                        {"Esc", mmKey::Escape},
                                        {"F3", mmKey::F3},
                                        {"Return", mmKey::Return},
                                        {"Enter", mmKey::Return},
                                        {"Space", mmKey::Space},
                                        {"Backspace", mmKey::Backspace}}};

std::string click(mmSession& s, double x, double y, bool shift) {
    ViewMouseMoveTo(s, x, y);
    if (shift) ViewKey(s, mmKey::Shift);
    const mmView& view = s.ActiveView();
    const bool used = ViewLeftButtonDown(s, view.lastMouseX, view.lastMouseY);
    ViewLeftButtonUp(s, view.lastMouseX, view.lastMouseY);
    if (shift) ViewKeyUp(s);
    return used ? std::string() : "the running command takes no pick";
}

std::optional<std::string_view> argument(std::string_view line, std::string_view word) {
    if (line.substr(0, word.size()) != word) return std::nullopt;
    std::string_view rest = line.substr(word.size());
    if (!rest.empty() && rest.front() != ' ') return std::nullopt;
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    return rest;
}

}  // namespace

std::optional<std::string> RunPointerScriptLine(mmSession& s, std::string_view line) {
    double x = 0.0, y = 0.0;
    if (const auto point = argument(line, "!move")) {
        if (!parsePoint(*point, x, y)) return "a move is written !move X,Y";
        ViewMouseMoveTo(s, x, y);
        return std::string();
    }
    if (const auto point = argument(line, "!pick")) {
        if (!parsePoint(*point, x, y)) return "a pick is written !pick X,Y";
        return click(s, x, y, false);
    }
    if (const auto point = argument(line, "!shiftpick")) {
        if (!parsePoint(*point, x, y)) return "a pick with Shift is written !shiftpick X,Y";
        return click(s, x, y, true);
    }
    if (const auto point = argument(line, "!dblclick")) {
        if (!parsePoint(*point, x, y)) return "a double-click is written !dblclick X,Y";
        ViewMouseMoveTo(s, x, y);
        const mmView& view = s.ActiveView();
        return LayoutDoubleClick(s, view.lastMouseX, view.lastMouseY)
                   ? std::string()
                   : "the double-click neither entered a viewport nor left one";
    }
    if (const auto name = argument(line, "!key")) {
        for (const KeyName& k : kKeys)
            if (equalIgnoringCase(*name, k.name)) {
                ViewKey(s, k.key);
                ViewKeyUp(s);
                return std::string();
            }
        return "unknown key \"" + std::string(*name) +
               "\" (keys: Delete, Escape, F3, Return, Space, Backspace)";
    }
    return std::nullopt;
}
