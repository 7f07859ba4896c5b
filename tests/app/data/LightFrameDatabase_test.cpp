#include "app/data/LightFrameDatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DataTestSupport.h"
#include "korinui/TextCodec.h"

namespace {

struct ShippedMode {
  int mode;
  int attribute;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The key codes (in list order) and modes of a shipped layout file.
void ReadLayout(const std::string& text, std::vector<int>& codes, std::vector<ShippedMode>& modes) {
  const std::regex key(R"re(<key code="0x([0-9A-Fa-f]+)")re");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), key); it != std::sregex_iterator(); ++it) {
    codes.push_back(std::stoi((*it)[1].str(), nullptr, 16));
  }
  const std::regex info(R"re(<info name="\d+" mode="(\d+)" attribute="(\d+)")re");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), info); it != std::sregex_iterator(); ++it) {
    modes.push_back({std::stoi((*it)[1].str()), std::stoi((*it)[2].str())});
  }
}

}  // namespace

TEST(LightFrameDatabase, ShippedFramesCoverEveryBuiltInEffect) {
  const std::string resources = std::string(KEYSTREL_SOURCE_DIR) + "/resources/";
  LightFrameDatabase db;
  ASSERT_TRUE(std::filesystem::exists(resources + "db/lightlayer_v1.data"));
  ASSERT_TRUE(db.OpenLightFrames(korinui::Utf8ToWide(resources)));

  int layouts = 0;
  for (const auto& entry : std::filesystem::directory_iterator(resources + "layouts")) {
    std::vector<int> codes;
    std::vector<ShippedMode> modes;
    ReadLayout(ReadFile(entry.path().string()), codes, modes);
    ASSERT_FALSE(codes.empty()) << entry.path();
    ++layouts;
    for (const ShippedMode& m : modes) {
      std::vector<LightFrameRow> rows;
      const int count = db.ListLightFrames(m.mode, rows);
      if (m.attribute & 0x300) {
        EXPECT_EQ(count, 0) << "user-light and music modes have no frames: mode " << m.mode;
        continue;
      }
      ASSERT_GT(count, 0) << "mode " << m.mode;
      ASSERT_EQ(count % static_cast<int>(codes.size()), 0) << "whole frames of " << entry.path();
      const int frames = count / static_cast<int>(codes.size());
      // Frame by frame, keys in the layout's order: the preview reads them so.
      std::set<std::vector<int>> distinct;
      for (int f = 0; f < frames; ++f) {
        std::vector<int> frame;
        for (size_t k = 0; k < codes.size(); ++k) {
          const LightFrameRow& row = rows[f * codes.size() + k];
          ASSERT_EQ(row.light_id, m.mode);
          ASSERT_EQ(row.frameIndex, f);
          ASSERT_EQ(row.key_value, codes[k]) << "mode " << m.mode << " frame " << f << " key " << k;
          ASSERT_GE(row.rgb_value, 0);
          ASSERT_LE(row.rgb_value, 255);
          frame.push_back(row.rgb_value);
        }
        distinct.insert(frame);
      }
      // Adjustable speed means an animation: it must actually change.
      if (m.attribute & 0x2) {
        EXPECT_GT(distinct.size(), 8u) << "mode " << m.mode;
      }
    }
  }
  EXPECT_GE(layouts, 1);
  std::vector<LightFrameRow> rows;
  EXPECT_EQ(db.ListLightFrames(0, rows), 0);
}

TEST(LightFrameDatabase, MissingFileIsCreatedEmpty) {
  DataTestFolder folder;
  folder.MakeDbFolder();
  LightFrameDatabase db;
  EXPECT_TRUE(db.OpenLightFrames(folder.WidePath()));
  EXPECT_TRUE(std::filesystem::exists(folder.Path() + "db/lightlayer_v1.data"));
  std::vector<LightFrameRow> rows{{1, 1, 1, 1, 1}};
  EXPECT_EQ(db.ListLightFrames(3, rows), 0);
  EXPECT_TRUE(rows.empty());
  db.CloseLightFrames();
  EXPECT_FALSE(db.IsOpenFlag());
  // Opening again finds the file and keeps it.
  EXPECT_TRUE(db.OpenLightFrames(folder.WidePath()));
}

TEST(LightFrameDatabase, UnwritableProgramFolderWithoutFileFails) {
  LightFrameDatabase db;
  EXPECT_FALSE(db.OpenLightFrames(L"/nonexistent-keystrel-folder/"));
  std::vector<LightFrameRow> rows;
  EXPECT_EQ(db.ListLightFrames(1, rows), 0);
}
