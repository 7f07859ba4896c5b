#include "IcoEncoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using skingen::EncodeIco;
using skingen::IcoEntry;

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

TEST(SkingenIco, DirectoryPointsAtEachEntry) {
  const std::vector<IcoEntry> entries = {{16, {1, 2, 3}}, {48, {4, 5}}, {256, {6, 7, 8, 9}}};
  const auto ico = EncodeIco(entries);
  ASSERT_EQ(ico.size(), 6u + 3 * 16 + 9);
  EXPECT_EQ(Le(ico, 0, 2), 0u);
  EXPECT_EQ(Le(ico, 2, 2), 1u);  // icon, not cursor
  EXPECT_EQ(Le(ico, 4, 2), 3u);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t dir = 6 + 16 * i;
    const unsigned side = entries[i].size == 256 ? 0u : static_cast<unsigned>(entries[i].size);
    EXPECT_EQ(ico[dir], side) << i;
    EXPECT_EQ(ico[dir + 1], side) << i;
    EXPECT_EQ(Le(ico, dir + 6, 2), 32u) << i;
    const std::uint32_t size = Le(ico, dir + 8, 4), offset = Le(ico, dir + 12, 4);
    ASSERT_EQ(size, entries[i].png.size()) << i;
    ASSERT_LE(offset + size, ico.size()) << i;
    EXPECT_EQ(std::vector<std::uint8_t>(ico.begin() + offset, ico.begin() + offset + size),
              entries[i].png)
        << i;
  }
}

TEST(SkingenIco, RefusesEntriesItCannotDescribe) {
  EXPECT_TRUE(EncodeIco({}).empty());
  EXPECT_TRUE(EncodeIco({{0, {1}}}).empty());
  EXPECT_TRUE(EncodeIco({{257, {1}}}).empty());
  EXPECT_TRUE(EncodeIco({{32, {}}}).empty());
}

}  // namespace
