// A session driven the way the command-line pane and the view drive it: keys typed into the
// input line and picks in the view. Texts are compared as UTF-8 so failures read plainly.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "commands/Interpreter.h"
#include "commands/Session.h"
#include "platform/RecordingHost.h"
#include "platform/Unicode.h"

inline std::string utf8(std::u16string_view text) {
    std::string out;
    kestrel::platform::utf16ToUtf8(text, out);
    return out;
}

class CommandTest : public ::testing::Test {
protected:
    kestrel::platform::RecordingHost host;
    mmSession session{host};

    // Types each character as a key in the input line, then Return.
    void type(std::u16string_view text) {
        typeKeys(text);
        session.commandLine.InputKey(mmKey::Return);
    }
    void typeKeys(std::u16string_view text) {
        for (char16_t c : text) {
            if (c == u' ')
                session.commandLine.InputKey(mmKey::Space, u" ");
            else
                session.commandLine.InputKey(mmKey::Other, std::u16string_view(&c, 1));
        }
    }
    void pick(double x, double y) { PickPoint(session, x, y); }

    std::string history() const { return utf8(session.commandLine.history()); }
    std::string inputLine() const { return utf8(session.commandLine.inputText()); }
    std::string message() const {
        return host.messages().empty() ? std::string() : host.messages().back().text;
    }
    const mmView& view() const { return session.ActiveView(); }

    // The entities of model space that are not erased.
    std::size_t liveCount() const {
        std::size_t n = 0;
        for (const mmObjectPtr& e : session.drawing.entities)
            if (e && !e->erased) ++n;
        return n;
    }
    template <class T>
    T& entity(std::size_t index) {
        return dynamic_cast<T&>(*session.drawing.entities.at(index));
    }
};
