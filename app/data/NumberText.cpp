#include "app/data/NumberText.h"

#include <climits>
#include <cstdint>

namespace {

std::size_t SkipBlanks(std::wstring_view t) {
  std::size_t i = 0;
  while (i < t.size() && (t[i] == L' ' || t[i] == L'\t' || t[i] == L'\r' || t[i] == L'\n')) ++i;
  return i;
}

int Digit(wchar_t c, int base) {
  int d = -1;
  if (c >= L'0' && c <= L'9') d = c - L'0';
  else if (c >= L'a' && c <= L'f') d = c - L'a' + 10;
  else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
  return d < base ? d : -1;
}

int Accumulate(std::wstring_view t, std::size_t i, int base, bool negative) {
  std::int64_t v = 0;
  for (; i < t.size(); ++i) {
    const int d = Digit(t[i], base);
    if (d < 0) break;
    v = v * base + d;
    if (v > static_cast<std::int64_t>(INT_MAX) + 1) v = static_cast<std::int64_t>(INT_MAX) + 1;
  }
  if (negative) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return static_cast<int>(v);
}

}  // namespace

int DecimalToInt(std::wstring_view t) {
  std::size_t i = SkipBlanks(t);
  bool negative = false;
  if (i < t.size() && (t[i] == L'-' || t[i] == L'+')) negative = t[i++] == L'-';
  return Accumulate(t, i, 10, negative);
}

int HexToInt(std::wstring_view t) {
  std::size_t i = SkipBlanks(t);
  if (i + 1 < t.size() && t[i] == L'0' && (t[i + 1] == L'x' || t[i + 1] == L'X') &&
      i + 2 < t.size() && Digit(t[i + 2], 16) >= 0)
    i += 2;
  return Accumulate(t, i, 16, false);
}
