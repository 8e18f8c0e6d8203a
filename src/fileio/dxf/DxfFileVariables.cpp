// The kept header variables of a DXF load.
#include "fileio/dxf/DxfFileVariables.h"

#include <algorithm>
#include <string>

#include "drawing/Drawing.h"

namespace {

// Written by the save itself ($ACADVER, $DWGCODEPAGE, $EXTMIN, $HANDSEED ...) or names of
// tables ($CLAYER ...): not kept.
constexpr std::string_view kKept[] = {
    "$ANGBASE",  "$ANGDIR",   "$AUNITS",  "$AUPREC",   "$CELTSCALE", "$DIMSCALE",
    "$FILLMODE", "$INSBASE",  "$INSUNITS", "$LIMMAX",  "$LIMMIN",    "$LTSCALE",
    "$LUNITS",   "$LUPREC",   "$LWDISPLAY", "$MEASUREMENT", "$MIRRTEXT", "$PDMODE",
    "$PDSIZE",   "$PLIMMAX",  "$PLIMMIN", "$PSLTSCALE", "$TEXTSIZE",
};

// An optional sign, digits with at most one period, an optional exponent: what every reader
// takes as a number.
bool isNumber(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r'))
        s.remove_suffix(1);
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false, period = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            digits = true;
        } else if (s[i] == '.' && !period) {
            period = true;
        } else {
            break;
        }
    }
    if (!digits) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (i >= s.size()) return false;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
    }
    return i == s.size();
}

}  // namespace

bool IsKeptDxfVariable(std::string_view name) {
    return std::find(std::begin(kKept), std::end(kKept), name) != std::end(kKept);
}

bool KeepDxfVariableGroup(mmFileVariable& variable, int32_t code, std::string_view value) {
    if (variable.groups.size() >= 3 || code <= 0 || code >= 1000 || !isNumber(value))
        return false;
    std::string text(value);
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    variable.groups.emplace_back(code, std::move(text));
    return true;
}
