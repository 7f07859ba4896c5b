// The GIF writer is checked against an independent decoder written from the format's
// rules (variable code width, clear codes, the end code read at the decoder's width).
#include "GifEncoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using skingen::EncodeGif;
using skingen::LzwEncode;
using skingen::PaletteColor;

// Strict LZW decoder: fails on any code that is not yet defined, on data after the end
// code and on a missing end code.
std::optional<std::vector<std::uint8_t>> LzwDecode(const std::vector<std::uint8_t>& data,
                                                   int minCodeSize) {
  const unsigned clear = 1u << minCodeSize, end = clear + 1;
  std::vector<std::vector<std::uint8_t>> table;
  auto reset = [&] {
    table.assign(clear + 2, {});
    for (unsigned i = 0; i < clear; ++i) table[i] = {static_cast<std::uint8_t>(i)};
  };
  reset();
  int width = minCodeSize + 1;
  std::size_t bitPos = 0;
  auto read = [&](unsigned& code) {
    if (bitPos + static_cast<std::size_t>(width) > data.size() * 8) return false;
    code = 0;
    for (int b = 0; b < width; ++b, ++bitPos)
      code |= ((data[bitPos / 8] >> (bitPos % 8)) & 1u) << b;
    return true;
  };
  std::vector<std::uint8_t> out;
  std::optional<std::vector<std::uint8_t>> previous;
  unsigned code = 0;
  while (true) {
    if (!read(code)) return std::nullopt;  // ran out before the end code
    if (code == clear) {
      reset();
      width = minCodeSize + 1;
      previous.reset();
      continue;
    }
    if (code == end) break;
    std::vector<std::uint8_t> entry;
    if (code < table.size() && (code < clear || !table[code].empty())) {
      entry = table[code];
    } else if (code == table.size() && previous) {
      entry = *previous;
      entry.push_back((*previous)[0]);
    } else {
      return std::nullopt;
    }
    if (previous && table.size() < 4096) {
      std::vector<std::uint8_t> added = *previous;
      added.push_back(entry[0]);
      table.push_back(added);
      if (table.size() == (1u << width) && width < 12) ++width;
    }
    out.insert(out.end(), entry.begin(), entry.end());
    previous = entry;
  }
  // Only the padding of the last byte may follow the end code.
  if ((bitPos + 7) / 8 != data.size()) return std::nullopt;
  return out;
}

struct DecodedGif {
  int width = 0, height = 0;
  std::size_t tableSize = 0;
  bool loops = false;
  std::vector<int> delays;
  std::vector<std::vector<std::uint8_t>> frames;
};

std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::optional<DecodedGif> DecodeGif(const std::vector<std::uint8_t>& b) {
  if (b.size() < 13 || std::string(b.begin(), b.begin() + 6) != "GIF89a") return std::nullopt;
  DecodedGif gif;
  gif.width = Le16(b, 6);
  gif.height = Le16(b, 8);
  if ((b[10] & 0x80) == 0) return std::nullopt;
  gif.tableSize = std::size_t{2} << (b[10] & 7);
  std::size_t pos = 13 + 3 * gif.tableSize;
  auto blocks = [&](std::vector<std::uint8_t>* into) {
    while (pos < b.size() && b[pos] != 0) {
      const std::size_t n = b[pos];
      if (pos + 1 + n > b.size()) return false;
      if (into != nullptr) into->insert(into->end(), b.begin() + pos + 1, b.begin() + pos + 1 + n);
      pos += 1 + n;
    }
    if (pos >= b.size()) return false;
    ++pos;
    return true;
  };
  while (pos < b.size()) {
    const std::uint8_t tag = b[pos++];
    if (tag == 0x3B) return gif;
    if (tag == 0x21) {
      const std::uint8_t label = b[pos++];
      if (label == 0xFF && std::string(b.begin() + pos + 1, b.begin() + pos + 12) == "NETSCAPE2.0")
        gif.loops = true;
      if (label == 0xF9) gif.delays.push_back(Le16(b, pos + 2));
      if (!blocks(nullptr)) return std::nullopt;
    } else if (tag == 0x2C) {
      if (Le16(b, pos + 4) != gif.width || Le16(b, pos + 6) != gif.height) return std::nullopt;
      pos += 9;
      const int minCode = b[pos++];
      std::vector<std::uint8_t> data;
      if (!blocks(&data)) return std::nullopt;
      auto pixels = LzwDecode(data, minCode);
      if (!pixels) return std::nullopt;
      gif.frames.push_back(*pixels);
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;  // no trailer
}

std::vector<std::uint8_t> RandomIndices(std::size_t n, unsigned symbols, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> v(n);
  for (auto& x : v) x = static_cast<std::uint8_t>(rng() % symbols);
  return v;
}

TEST(SkingenLzw, RoundTripsThroughAStrictDecoder) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> indices;
    int minCodeSize;
  };
  std::vector<std::uint8_t> ramp;
  for (int i = 0; i < 70000; ++i) ramp.push_back(static_cast<std::uint8_t>((i / 7) % 256));
  const Case cases[] = {
      {"empty", {}, 8},
      {"one pixel", {42}, 8},
      {"two symbols", {1, 2}, 2},
      {"a long run (strings grow by one each code)", std::vector<std::uint8_t>(20000, 7), 8},
      {"noise: many clears of a full table", RandomIndices(100000, 256, 1), 8},
      {"four symbols: widening happens early", RandomIndices(30000, 4, 2), 2},
      {"smooth ramp", ramp, 8},
  };
  for (const Case& c : cases) {
    const auto decoded = LzwDecode(LzwEncode(c.indices, c.minCodeSize), c.minCodeSize);
    ASSERT_TRUE(decoded.has_value()) << c.what;
    EXPECT_EQ(*decoded, c.indices) << c.what;
  }
}

// The end code must be read at the width the decoder has reached after the last code;
// lengths around each width change catch an end code written one bit too narrow.
TEST(SkingenLzw, EndCodeFollowsEveryWidthChange) {
  for (std::size_t n = 240; n < 1400; ++n) {
    const auto indices = RandomIndices(n, 256, static_cast<unsigned>(n));
    const auto decoded = LzwDecode(LzwEncode(indices, 8), 8);
    ASSERT_TRUE(decoded.has_value()) << n;
    ASSERT_EQ(*decoded, indices) << n;
  }
}

TEST(SkingenGif, WritesLoopingFramesWithTheirDelay) {
  const std::vector<PaletteColor> palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  const std::vector<std::vector<std::uint8_t>> frames = {RandomIndices(12, 5, 3),
                                                         RandomIndices(12, 5, 4),
                                                         RandomIndices(12, 5, 5)};
  const auto gif = DecodeGif(EncodeGif(4, 3, palette, frames, 5));
  ASSERT_TRUE(gif.has_value());
  EXPECT_EQ(gif->width, 4);
  EXPECT_EQ(gif->height, 3);
  EXPECT_EQ(gif->tableSize, 8u);  // five colours padded to a power of two
  EXPECT_TRUE(gif->loops);
  EXPECT_EQ(gif->delays, (std::vector<int>{5, 5, 5}));
  EXPECT_EQ(gif->frames, frames);
}

TEST(SkingenGif, RefusesInconsistentInput) {
  const std::vector<PaletteColor> two = {{0, 0, 0}, {1, 1, 1}};
  struct Case {
    const char* what;
    int w, h;
    std::vector<PaletteColor> palette;
    std::vector<std::vector<std::uint8_t>> frames;
  };
  const Case cases[] = {
      {"no frames", 2, 2, two, {}},
      {"frame of the wrong size", 2, 2, two, {{0, 1, 0}}},
      {"index beyond the palette", 2, 1, two, {{0, 2}}},
      {"empty palette", 1, 1, {}, {{0}}},
      {"more than 256 colours", 1, 1, std::vector<PaletteColor>(257), {{0}}},
      {"zero width", 0, 1, two, {{}}},
  };
  for (const Case& c : cases) EXPECT_TRUE(EncodeGif(c.w, c.h, c.palette, c.frames, 5).empty()) << c.what;
}

}  // namespace
