// How every exported function runs its body: with the session it acts on, and with every
// exception caught, so none reaches a module. Without a session, or when the body throws, the
// call is refused.
#pragma once

#include <string_view>

#include "shell/extension/LoadXref.h"

template <class Result, class Body>
Result WithSession(Result refused, Body&& body) {
    mmSession* session = ExtensionSession();
    if (!session) return refused;
    try {
        return body(*session);
    } catch (...) {
        return refused;
    }
}

template <class Body>
void WithSession(Body&& body) {
    WithSession(0, [&](mmSession& s) {
        body(s);
        return 0;
    });
}

// A module's string; empty for null.
inline std::u16string_view ModuleText(const char16_t* text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}
