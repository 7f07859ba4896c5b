// Every image the program and toolkit name exists in the shipped skin, splits evenly into
// its frame count, and has the frame size the controls rely on where one is fixed.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string kRoot = KEYSTREL_SOURCE_DIR "/resources/";
const std::string kSkin = kRoot + "skins/theme1/";

struct Expected {
  const char* name;  // as the program names it, with '/' for the folder separator
  int frames;
  int frameW;        // 0: any width (the control stretches or nine-grids it)
  int frameH;        // 0: any height
};

// Frame sizes fixed by the controls: window buttons and page icons fill their 30 x 30 and
// 48 x 48 rectangles; tabs take their width from the frame (60); function icons are drawn
// 20 x 20; the slider's default thumb is 16 x 27; device rows are 43 high; the key tip and
// busy windows are 190 x 100 and 100 x 100 inside; the main window is 1200 x 720.
const Expected kImages[] = {
    {"main_bkg.png", 1, 1200, 720},
    {"logo/logo.png", 1, 48, 48},
    {"main_sysbtn_close.png", 4, 30, 30},
    {"main_sysbtn_min.png", 4, 30, 30},
    {"main_sysbtn_website.png", 4, 30, 30},
    {"sysbtn_close.png", 4, 30, 30},
    {"img_device_state.png", 4, 0, 43},
    {"icon/tab_home.png", 4, 60, 60},
    {"icon/tab_customkey.png", 4, 60, 60},
    {"icon/tab_macro.png", 4, 60, 60},
    {"icon/tab_light.png", 4, 60, 60},
    {"icon/tab_config.png", 4, 60, 60},
    {"icon/icon_keyboard.png", 1, 48, 48},
    {"icon/icon_macro.png", 1, 48, 48},
    {"icon/icon_lightmode.png", 1, 48, 48},
    {"icon/icon_config.png", 1, 48, 48},
    {"icon/icon_pc.png", 1, 20, 20},
    {"icon/icon_cal.png", 1, 20, 20},
    {"icon/icon_email.png", 1, 20, 20},
    {"icon/icon_multimedia.png", 1, 20, 20},
    {"icon/icon_playpause.png", 1, 20, 20},
    {"icon/icon_stop.png", 1, 20, 20},
    {"icon/icon_pre.png", 1, 20, 20},
    {"icon/icon_next.png", 1, 20, 20},
    {"icon/icon_vol_down.png", 1, 20, 20},
    {"icon/icon_vol_up.png", 1, 20, 20},
    {"icon/icon_vol_mute.png", 1, 20, 20},
    {"icon/icon_home.png", 1, 20, 20},
    {"icon/icon_web_refresh.png", 1, 20, 20},
    {"icon/icon_web_stop.png", 1, 20, 20},
    {"icon/icon_web_backward.png", 1, 20, 20},
    {"icon/icon_web_foreward.png", 1, 20, 20},
    {"icon/icon_web_search.png", 1, 20, 20},
    {"icon/icon_circle.png", 2, 0, 30},
    {"icon/icon_menu.png", 1, 0, 0},
    {"btn_apply.png", 4, 0, 0},
    {"btn_checkbox.png", 8, 0, 0},
    {"btn_radiobox.png", 8, 0, 0},
    {"btn_openfile.png", 4, 0, 0},
    {"btn_record_del.png", 4, 20, 20},
    {"btn_record_up.png", 4, 20, 20},
    {"btn_record_down.png", 4, 20, 20},
    {"imgbtn_add.png", 4, 20, 20},
    {"imgbtn_del.png", 4, 20, 20},
    {"imgbtn_edit.png", 4, 20, 20},
    {"imgbtn_reset.png", 4, 20, 20},
    {"imgbtn_import.png", 4, 20, 20},
    {"imgbtn_export.png", 4, 20, 20},
    {"img_combobox.png", 4, 0, 0},
    {"img_edit.png", 4, 0, 0},
    {"img_slider_back.png", 1, 0, 0},
    {"img_thumb.png", 1, 16, 27},
    {"img_tip_bk.png", 1, 190, 100},
    {"img_tip_arrow_left.png", 1, 0, 0},
    {"img_tip_arrow_right.png", 1, 0, 0},
    {"img_tip_arrow_top.png", 1, 0, 0},
    {"bk_prompt.png", 1, 0, 0},
};

TEST(SkingenShippedSkin, EveryNamedImageSplitsIntoItsFrames) {
  for (const Expected& e : kImages) {
    const std::string path = kSkin + e.name;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
      ADD_FAILURE() << e.name << " is missing or not a PNG";
      cairo_surface_destroy(s);
      continue;
    }
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    cairo_surface_destroy(s);
    EXPECT_EQ(w % e.frames, 0) << e.name << ": width " << w << " is not " << e.frames << " frames";
    if (e.frameW != 0) {
      EXPECT_EQ(w / e.frames, e.frameW) << e.name;
    }
    if (e.frameH != 0) {
      EXPECT_EQ(h, e.frameH) << e.name;
    }
  }
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SkingenShippedSkin, BusyPictureIsAGifOfTheBusyWindowsSize) {
  const auto gif = ReadFile(kSkin + "loading.gif");
  ASSERT_GE(gif.size(), 13u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(gif[6] | (gif[7] << 8), 100);
  EXPECT_EQ(gif[8] | (gif[9] << 8), 100);
  EXPECT_EQ(gif.back(), 0x3B);
}

TEST(SkingenShippedSkin, ProgramIconIsAnIcoWithPngEntries) {
  const auto ico = ReadFile(kRoot + "Keystrel.ico");
  ASSERT_GE(ico.size(), 6u + 16u);
  EXPECT_EQ(ico[2] | (ico[3] << 8), 1);
  const int count = ico[4] | (ico[5] << 8);
  ASSERT_GT(count, 0);
  for (int i = 0; i < count; ++i) {
    const std::size_t dir = 6 + 16 * static_cast<std::size_t>(i);
    ASSERT_LE(dir + 16, ico.size());
    const std::size_t offset = ico[dir + 12] | (ico[dir + 13] << 8) | (ico[dir + 14] << 16) |
                               (static_cast<std::size_t>(ico[dir + 15]) << 24);
    ASSERT_LE(offset + 8, ico.size()) << i;
    EXPECT_EQ(std::string(ico.begin() + static_cast<std::ptrdiff_t>(offset) + 1,
                          ico.begin() + static_cast<std::ptrdiff_t>(offset) + 4),
              "PNG")
        << i;
  }
  cairo_surface_t* png = cairo_image_surface_create_from_png((kRoot + "Keystrel.png").c_str());
  EXPECT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(png);
}

}  // namespace
