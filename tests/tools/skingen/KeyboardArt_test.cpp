// A keyboard picture agrees with its layout when every key's rectangle edge carries the
// lit rim (where the on-screen keyboard draws its outlines), the cap lies inside it, and
// the chassis shows between keys. Checked for a small layout and for every shipped one.
#include "KeyboardArt.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "LayoutReader.h"
#include "SkinOutput.h"

namespace {

using skingen::KeyboardLayout;
using skingen::LayoutKey;

struct Image {
  cairo_surface_t* s;
  explicit Image(cairo_surface_t* surface) : s(surface) {}
  ~Image() { cairo_surface_destroy(s); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  bool Ok() const { return cairo_surface_status(s) == CAIRO_STATUS_SUCCESS; }
  int Width() const { return cairo_image_surface_get_width(s); }
  int Height() const { return cairo_image_surface_get_height(s); }
  // Alpha and mean of r, g, b (premultiplied, which is what "how bright" means here).
  void At(int x, int y, int& alpha, int& light) const {
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    std::uint32_t px;
    std::memcpy(&px, row + x * 4, 4);
    alpha = static_cast<int>(px >> 24);
    light = static_cast<int>(((px >> 16) & 0xFF) + ((px >> 8) & 0xFF) + (px & 0xFF)) / 3;
  }
};

bool NearAnyKey(const KeyboardLayout& layout, int x, int y, int margin) {
  for (const LayoutKey& k : layout.keys)
    if (x >= k.x - margin && x < k.x + k.w + margin && y >= k.y - margin && y < k.y + k.h + margin)
      return true;
  return false;
}

void ExpectPictureMatchesKeys(const Image& img, const KeyboardLayout& layout, const std::string& what) {
  ASSERT_TRUE(img.Ok()) << what;
  ASSERT_EQ(img.Width(), layout.width) << what;
  ASSERT_EQ(img.Height(), layout.height) << what;
  for (const LayoutKey& k : layout.keys) {
    if (k.w < 10 || k.h < 10) continue;
    const int midY = k.y + k.h / 2, midX = k.x + k.w / 2;
    int a = 0, rimLeft = 0, rimTop = 0, cap = 0;
    img.At(k.x, midY, a, rimLeft);
    EXPECT_EQ(a, 255) << what << " key " << k.name;
    img.At(midX, k.y, a, rimTop);
    img.At(midX, k.y + k.h - 4, a, cap);  // below the legend, inside the cap
    EXPECT_GT(rimLeft, cap + 40) << what << " key " << k.name << ": no rim on the left edge";
    EXPECT_GT(rimTop, cap + 40) << what << " key " << k.name << ": no rim on the top edge";
    // Just outside the key: chassis, unless another key's rim is that close.
    if (!NearAnyKey(layout, k.x - 4, midY, 2) && k.x >= 4) {
      int outside = 0;
      img.At(k.x - 4, midY, a, outside);
      EXPECT_LT(outside, rimLeft - 40) << what << " key " << k.name << ": rim spills outside";
    }
  }
}

TEST(SkingenKeyboardArt, SmallLayoutAgreesWithItsPicture) {
  KeyboardLayout layout;
  layout.image = "kb.png";
  layout.width = 200;
  layout.height = 80;
  layout.keys = {{"Esc", 0x29, 20, 20, 32, 32}, {"Space", 0x2C, 70, 20, 100, 32}};
  skingen::Surface picture = skingen::DrawKeyboardPicture(layout);
  Image img(cairo_surface_reference(picture.Get()));
  ExpectPictureMatchesKeys(img, layout, "small layout");
  int a = 0, light = 0;
  img.At(60, 36, a, light);  // the gap between the two keys is chassis
  EXPECT_EQ(a, 255);
  EXPECT_LT(light, 40);
  img.At(2, 2, a, light);  // beyond the chassis margin the picture stays transparent
  EXPECT_EQ(a, 0);
}

TEST(SkingenKeyboardArt, ShippedPicturesAgreeWithTheShippedLayouts) {
  const std::string root = KEYSTREL_SOURCE_DIR "/resources/";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root + "layouts")) {
    if (entry.path().extension() != ".xml") continue;
    KeyboardLayout layout;
    std::string error;
    ASSERT_TRUE(skingen::ReadKeyboardLayout(entry.path().string(), layout, error)) << error;
    const std::string picture = root + skingen::SkinOutput::SkinFolder() + "keyboard/" + layout.image;
    Image img(cairo_image_surface_create_from_png(picture.c_str()));
    ExpectPictureMatchesKeys(img, layout, entry.path().filename().string() +
                                              " (run keystrel-skingen after changing a layout)");
    ++checked;
  }
  EXPECT_GT(checked, 0) << "no layout files found";
}

}  // namespace
