// The header variables a DXF load keeps for the next save: settings that decide how other
// programs show the drawing (units, limits and paper limits, linetype scales, point style, text
// and dimension scale, fill and mirror modes), numbers only.
#pragma once

#include <cstdint>
#include <string_view>

struct mmFileVariable;

bool IsKeptDxfVariable(std::string_view name);
// Adds a group of the variable when its value is a number and the variable has room for it
// (a point has three groups at most); false otherwise.
bool KeepDxfVariableGroup(mmFileVariable& variable, int32_t code, std::string_view value);
