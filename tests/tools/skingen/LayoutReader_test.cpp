#include "LayoutReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using skingen::KeyboardLayout;
using skingen::ParseKeyboardLayout;

std::string Wrap(const std::string& keys, const std::string& keyboardAttrs =
                                              R"(width="300" height="100" image="kb.png")") {
  return "<?xml version=\"1.0\"?>\r\n<device.info><function value=\"1\"/><Keyboard " +
         keyboardAttrs + "><KeyItems>" + keys + "</KeyItems></Keyboard></device.info>";
}

TEST(SkingenLayoutReader, ReadsPictureAndKeys) {
  KeyboardLayout layout;
  std::string error;
  ASSERT_TRUE(ParseKeyboardLayout(
      Wrap(R"(<key code="0x2A" name="Backspace" rect="10#20#30#40"/>)"
           R"(<key code='2c' name='Space' rect='1#2#3#4'></key>)"),
      layout, error))
      << error;
  EXPECT_EQ(layout.image, "kb.png");
  EXPECT_EQ(layout.width, 300);
  EXPECT_EQ(layout.height, 100);
  ASSERT_EQ(layout.keys.size(), 2u);
  EXPECT_EQ(layout.keys[0].name, "Backspace");
  EXPECT_EQ(layout.keys[0].code, 0x2Au);
  EXPECT_EQ(layout.keys[0].x, 10);
  EXPECT_EQ(layout.keys[0].y, 20);
  EXPECT_EQ(layout.keys[0].w, 30);
  EXPECT_EQ(layout.keys[0].h, 40);
  EXPECT_EQ(layout.keys[1].code, 0x2Cu);
}

TEST(SkingenLayoutReader, RectanglesAndNamesAsTheProgramReadsThem) {
  struct Case {
    const char* attrs;
    const char* name;
    int x, y, w, h;
  };
  const Case cases[] = {
      {R"(name="A" rect="10#20#30#40")", "A", 10, 20, 30, 40},
      {R"(name="A" rect="10#20")", "A", 10, 20, 0, 0},          // missing parts are 0
      {R"(name="A" rect="x#20#y#40")", "A", 0, 20, 0, 40},      // malformed parts are 0
      {R"(name="A")", "A", 0, 0, 0, 0},
      {R"(name="&lt;,&gt;" rect="1#1#1#1")", "<,>", 1, 1, 1, 1},
      {R"(name="&#x41;&#66;&amp;" rect="1#1#1#1")", "AB&", 1, 1, 1, 1},
      {R"(name="a>b" rect="1#1#1#1")", "a>b", 1, 1, 1, 1},     // '>' inside a value
      {R"(name="&bogus;" rect="1#1#1#1")", "&bogus;", 1, 1, 1, 1},
      {R"(name="键" rect="1#1#1#1")", "键", 1, 1, 1, 1},
  };
  for (const Case& c : cases) {
    KeyboardLayout layout;
    std::string error;
    ASSERT_TRUE(ParseKeyboardLayout(Wrap(std::string("<key ") + c.attrs + "/>"), layout, error))
        << c.attrs << ": " << error;
    ASSERT_EQ(layout.keys.size(), 1u) << c.attrs;
    const auto& k = layout.keys[0];
    EXPECT_EQ(k.name, c.name) << c.attrs;
    EXPECT_EQ(k.x, c.x) << c.attrs;
    EXPECT_EQ(k.y, c.y) << c.attrs;
    EXPECT_EQ(k.w, c.w) << c.attrs;
    EXPECT_EQ(k.h, c.h) << c.attrs;
  }
}

TEST(SkingenLayoutReader, KeysOutsideTheKeyboardAndInCommentsDoNotCount) {
  const std::string text =
      R"(<device.info><key name="stray" rect="1#1#1#1"/>)"
      R"(<!-- <Keyboard width="1" height="1" image="old.png"> <key name="old"/> -->)"
      R"(<Keyboard width="20" height="10" image="kb.png"><KeyItems>)"
      R"(<key name="in" rect="1#1#5#5"/></KeyItems></Keyboard>)"
      R"(<Keyboard width="30" height="30" image="second.png"><key name="later"/></Keyboard>)"
      R"(</device.info>)";
  KeyboardLayout layout;
  std::string error;
  ASSERT_TRUE(ParseKeyboardLayout(text, layout, error)) << error;
  EXPECT_EQ(layout.image, "kb.png");
  ASSERT_EQ(layout.keys.size(), 1u);
  EXPECT_EQ(layout.keys[0].name, "in");
}

TEST(SkingenLayoutReader, RefusesLayoutsItCannotDraw) {
  const char* cases[] = {
      R"(<device.info><KeyItems/></device.info>)",                                 // no Keyboard
      R"(<device.info><Keyboard width="0" height="10" image="a.png"/></device.info>)",
      R"(<device.info><Keyboard width="10" height="10" image=""/></device.info>)",
      R"(<device.info><Keyboard width="10" height="10" image="../a.png"/></device.info>)",
      R"(<device.info><Keyboard width="10" height="10" image="sub/a.png"/></device.info>)",
      R"(<device.info><Keyboard width="10" height="10" image="sub\a.png"/></device.info>)",
      R"(<device.info><Keyboard width="10" height="10" image="a.png")",               // truncated
  };
  for (const char* text : cases) {
    KeyboardLayout layout;
    std::string error;
    EXPECT_FALSE(ParseKeyboardLayout(text, layout, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(SkingenLayoutReader, MissingFileIsAnError) {
  KeyboardLayout layout;
  std::string error;
  EXPECT_FALSE(skingen::ReadKeyboardLayout("/nonexistent/layout.xml", layout, error));
  EXPECT_NE(error.find("/nonexistent/layout.xml"), std::string::npos);
}

}  // namespace
