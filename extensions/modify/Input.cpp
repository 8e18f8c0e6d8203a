// Reading the input of a command function.
#include "Input.h"

#include "KestrelExtension.h"

Input ReadInput() {
    Input in;
    int type = 0;
    GetInputType(&type);
    if (type == 1) {
        in.kind = Input::Pick;
        GetInputPoint(&in.point.x, &in.point.y);
        return in;
    }
    char16_t buffer[KESTREL_INPUT_LINE_SIZE];
    const int length = GetInputStringN(buffer, KESTREL_INPUT_LINE_SIZE);
    if (length > 0) in.text.assign(buffer);
    in.kind = in.text == KESTREL_PICK_MARKER ? Input::Marker : Input::Text;
    return in;
}

std::optional<Point> PointOf(const Input& in) {
    if (in.kind == Input::Pick) return in.point;
    Point p;
    if (in.kind == Input::Text && GetInputCoordinates(&p.x, &p.y)) return p;
    return std::nullopt;
}

std::optional<double> NumberOf(const Input& in) {
    double value = 0.0;
    if (in.kind == Input::Text && GetInputNumber(&value)) return value;
    return std::nullopt;
}

char16_t OptionOf(const Input& in) {
    if (in.kind != Input::Text || in.text.empty()) return 0;
    const char16_t c = in.text[0];
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool IsEmptyLine(const Input& in) {
    return in.kind == Input::Text && in.text.empty();
}

int Continue(int* step) {
    ++*step;
    return 1;
}

int Finish() {
    return 1;
}
