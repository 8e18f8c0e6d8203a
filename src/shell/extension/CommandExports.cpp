// The exported functions of commands and input: registration, the command line, the current
// input, the view's input modes, the selection and the saved command.
#include <climits>

#include "commands/ExtensionCommands.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/Selection.h"
#include "commands/Session.h"
#include "platform/Unicode.h"
#include "shell/extension/ExportGuard.h"
#include "shell/extension/ModuleLoader.h"

namespace {

static_assert(KESTREL_INPUT_LINE_SIZE == mmCommandLine::kMaxTypedLength + 1);

// Lines a module submits from within its commands may submit lines in turn; a module that keeps
// doing so is stopped at this depth instead of exhausting the stack.
constexpr int kMaxSubmitDepth = 16;
int gSubmitDepth = 0;

// Copies at most limit characters of text and a terminator; returns the length of text.
int copyText(std::u16string_view text, char16_t* buffer, std::size_t limit) {
    const std::size_t n = kestrel::platform::utf16CutLength(text, limit);
    text.copy(buffer, n);
    buffer[n] = 0;
    return text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
}

// Blanks, a sign, then a digit or a point followed by one.
bool startsWithNumber(std::u16string_view t) {
    std::size_t i = t.find_first_not_of(u" \t");
    if (i == std::u16string_view::npos) return false;
    if (t[i] == u'+' || t[i] == u'-') ++i;
    if (i < t.size() && t[i] == u'.') ++i;
    return i < t.size() && t[i] >= u'0' && t[i] <= u'9';
}

}  // namespace

extern "C" {

void* GetLoadingModule(void) {
    return LoadingModule();
}

void AddCommand(const char16_t* commandName, const char16_t* tooltip, const char16_t* moduleName,
                void* module, int uiCommandId) {
    if (!commandName || !*commandName) return;
    WithSession([&](mmSession& s) {
        if (LoadedModulePath(module))
            AddCommand(s, commandName, ModuleText(tooltip), ModuleText(moduleName), module,
                       uiCommandId);
    });
}

void DoCommandLine(const char16_t* text) {
    if (!text || gSubmitDepth >= kMaxSubmitDepth) return;
    WithSession([&](mmSession& s) {
        ++gSubmitDepth;
        struct Depth {
            ~Depth() { --gSubmitDepth; }
        } depth;
        DoCommandLine(s, text);
    });
}

void DisplayPromptMsg(const char16_t* text) {
    if (text) WithSession([&](mmSession& s) { DisplayPromptMsg(s, text); });
}

void DisplayMsg(const char16_t* text) {
    if (text) WithSession([&](mmSession& s) { DisplayMsg(s, text); });
}

void GetInputType(int* type) {
    if (type) WithSession([&](mmSession& s) { *type = GetInputType(s); });
}

void GetInputString(char16_t* buffer) {
    if (!buffer) return;
    WithSession([&](mmSession& s) {
        copyText(GetInputString(s), buffer, KESTREL_INPUT_LINE_SIZE - 1);
    });
}

int GetInputStringN(char16_t* buffer, int size) {
    if (!buffer || size <= 0) return -1;
    return WithSession(-1, [&](mmSession& s) {
        return copyText(GetInputString(s), buffer, static_cast<std::size_t>(size) - 1);
    });
}

void GetInputPoint(double* x, double* y) {
    if (!x || !y) return;
    WithSession([&](mmSession& s) {
        const mmVertex p = GetInputPoint(s);
        *x = p.x;
        *y = p.y;
    });
}

int GetInputNumber(double* value) {
    if (!value) return 0;
    return WithSession(0, [&](mmSession& s) {
        const std::u16string& text = GetInputString(s);
        if (!startsWithNumber(text)) return 0;
        const std::optional<double> number = ReadNumber(text);
        if (!number) return 0;
        *value = *number;
        return 1;
    });
}

int GetInputCoordinates(double* x, double* y) {
    if (!x || !y) return 0;
    return WithSession(0, [&](mmSession& s) {
        const std::optional<mmVertex> p = TypedPoint(s, GetInputString(s));
        if (!p) return 0;
        s.ActiveView().lastPoint = *p;
        *x = p->x;
        *y = p->y;
        return 1;
    });
}

void SetUserInputMode(int mode, bool withBase, double x, double y) {
    WithSession([&](mmSession& s) { SetUserInputMode(s, mode, withBase, x, y); });
}

int SetObjectSelectMode(int mode) {
    if (mode < KESTREL_SELECT_NONE || mode > KESTREL_SELECT_ONE) return -1;
    return WithSession(-1, [&](mmSession& s) {
        mmView& view = s.ActiveView();
        if (mode == KESTREL_SELECT_ONE) {
            ClearSelection(s);
            s.pendingEntity.reset();
        }
        view.SetUserInputMode(0, false, 0.0, 0.0);
        view.cursorMode = mode == KESTREL_SELECT_NONE ? kCursorNone : kCursorSelect;
        view.commandSelecting = mode == KESTREL_SELECT_ONE;
        view.Invalidate();
        return 0;
    });
}

int GetSelection(int* ids, int capacity) {
    if (capacity < 0 || (!ids && capacity > 0)) return -1;
    return WithSession(-1, [&](mmSession& s) {
        const std::set<int32_t>& selected = s.CurrentSpace().selection.ids;
        int n = 0;
        for (const int32_t id : selected) {
            if (n >= capacity) break;
            ids[n++] = id;
        }
        return selected.size() > INT_MAX ? INT_MAX : static_cast<int>(selected.size());
    });
}

void GetPickedObject(int* id) {
    if (!id) return;
    *id = -1;
    WithSession([&](mmSession& s) {
        const mmObject* picked = s.pendingEntity.get();
        if (s.ActiveView().commandSelecting && picked && !picked->erased &&
            FindEntity(s.CurrentSpace(), picked->id).get() == picked)
            *id = picked->id;
    });
}

void SaveCurrentCommand(void) {
    WithSession([](mmSession& s) { SaveCurrentCommand(s); });
}

void RestoreCurrentCommand(void) {
    WithSession([](mmSession& s) { RestoreCurrentCommand(s); });
}

void Regen(void) {
    WithSession([](mmSession& s) { Regen(s); });
}

}  // extern "C"
