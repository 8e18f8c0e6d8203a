// Decoding the codes of single-line and multi-line texts into what is shown.
#include "entities/TextCodes.h"

#include <cctype>

#include "platform/CodePage.h"
#include "platform/Unicode.h"

namespace {

using kestrel::platform::appendUtf8;

// Codes followed by an argument that a semicolon ends.
bool takesArgument(char c) {
    return std::string_view("ACcFfHQTWp").find(c) != std::string_view::npos;
}

}  // namespace

bool HasTextSpecials(std::string_view raw) {
    return raw.find("%%") != std::string_view::npos;
}

std::string DecodeTextSpecials(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size();) {
        if (raw.compare(i, 2, "%%") != 0 || i + 2 >= raw.size()) {
            out += raw[i++];
            continue;
        }
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(raw[i + 2])));
        if (c == 'c') {
            appendUtf8(out, U'\u2300');
        } else if (c == 'd') {
            appendUtf8(out, U'\u00B0');
        } else if (c == 'p') {
            appendUtf8(out, U'\u00B1');
        } else if (c == '%') {
            out += '%';
        } else if (c == 'u' || c == 'o' || c == 'k') {
            // toggles: not drawn
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t k = i + 2;
            unsigned n = 0;
            for (; k < raw.size() && k < i + 5 && std::isdigit(static_cast<unsigned char>(raw[k]));
                 ++k)
                n = n * 10 + static_cast<unsigned>(raw[k] - '0');
            if (n > 0 && n < 256)
                appendUtf8(out, kestrel::platform::cp1252ToUnicode(static_cast<unsigned char>(n)));
            i = k;
            continue;
        } else {
            out += "%%";
            i += 2;
            continue;
        }
        i += 3;
    }
    return out;
}

// A code with an argument (\A1; \C3; \Farial|b0; \H2.5x; ...) goes with its semicolon; a stack
// (\S1^2;) leaves its parts as "1/2"; any other code (\L, \O, \K ...) goes with its letter.
std::vector<std::string> MTextParagraphs(std::string_view text) {
    std::vector<std::string> paragraphs(1);
    for (std::size_t i = 0; i < text.size();) {
        const char ch = text[i];
        if (ch == '{' || ch == '}') {
            ++i;
            continue;
        }
        if (ch == '^' && i + 1 < text.size() && (text[i + 1] == 'J' || text[i + 1] == 'I')) {
            if (text[i + 1] == 'J')
                paragraphs.emplace_back();
            else
                paragraphs.back() += '\t';
            i += 2;
            continue;
        }
        if (ch == '\n') {
            paragraphs.emplace_back();
            ++i;
            continue;
        }
        if (ch != '\\') {
            paragraphs.back() += ch;
            ++i;
            continue;
        }
        if (i + 1 == text.size()) break;
        const char c = text[i + 1];
        const std::size_t semicolon = text.find(';', i + 2);
        if (c == '\\' || c == '{' || c == '}') {
            paragraphs.back() += c;
        } else if (c == 'P') {
            paragraphs.emplace_back();
        } else if (c == '~') {
            appendUtf8(paragraphs.back(), U'\u00A0');
        } else if (c == 'S' && semicolon != std::string_view::npos) {
            for (std::size_t k = i + 2; k < semicolon; ++k) {
                const char s = text[k];
                if (s == '\\' && k + 1 < semicolon) {
                    paragraphs.back() += text[++k];
                    continue;
                }
                paragraphs.back() += (s == '^' || s == '#' || s == '/') ? '/' : s;
            }
            i = semicolon + 1;
            continue;
        } else if (takesArgument(c) && semicolon != std::string_view::npos) {
            i = semicolon + 1;
            continue;
        }
        i += 2;
    }
    return paragraphs;
}

std::string MTextPlainText(std::string_view raw) {
    std::string out;
    const std::vector<std::string> paragraphs = MTextParagraphs(raw);
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i) out += '\n';
        out += paragraphs[i];
    }
    return out;
}
