// Numbers read from cell texts the way atof reads them in the classic
// locale, whatever locale the host process has set.
#pragma once

namespace kestra::import {

// Leading white space, then the longest prefix of the form [sign] digits
// [. digits] [e [sign] digits]. No such prefix (also hexadecimal, infinity
// and NaN forms past their leading '0') gives 0; overflow gives +-HUGE_VAL.
double classic_atof(const char* text);

}  // namespace kestra::import
