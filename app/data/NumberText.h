// The plain number conversions used on attribute values.
#pragma once

#include <string_view>

// Leading blanks, an optional sign, then the longest run of decimal digits;
// 0 for an empty or non-numeric value. Clamped to the int range.
int DecimalToInt(std::wstring_view text);

// Leading blanks, an optional "0x"/"0X", then the longest run of hexadecimal
// digits; 0 when there is none. Clamped to the int range.
int HexToInt(std::wstring_view text);
