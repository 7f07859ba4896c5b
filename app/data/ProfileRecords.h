// Plain records that mirror the rows of the profile and light-frame databases.
// Fields are the table's columns in declared order; texts are wide strings
// (stored as UTF-8), integers are signed 32-bit as SQLite hands them back.
#pragma once

#include <string>

// t_profile_data: one key profile.
struct ProfileRow {
  int profile = 0;
  std::wstring name;
  int status = 0;  // 1 for the active profile
  std::wstring app;
  int type = 0;
};

// t_key_macro_data: the assignment of one key of (profile, fn_layer).
struct KeyAssignmentRow {
  int key_id = 0;
  int profile = 0;
  int fn_layer = 0;
  int key_code = 0;
  int layout_value = 0;
  std::wstring layout_desc;
  int macro_type = 0;
  int macro_value = 0;
  int macro_value2 = 0;
  int macro_value3 = 0;
  std::wstring macro_desc;
};

// t_light_data: one lighting mode of a lighting profile.
struct LightModeRow {
  int light_id = 0;
  int profile = 0;
  std::wstring name;  // decimal text id of the mode's name
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  int colorful = 0;
  int colorindex = 0;
  int color_value = 0;
  int config_func = 0;  // attribute bits of the mode
  int reserved = 0;
  int status = 0;  // 1 for the active mode
};

// t_key_light_data: one key of a per-key lighting slot (light_id 128 + slot).
struct KeyLightRow {
  int keylight_id = 0;
  int profile = 0;
  int light_id = 0;
  int key_code = 0;
  int key_rgb = 0;
};

// t_macro_data: one macro and how it plays.
struct MacroRow {
  int macro_id = 0;
  int play_times = 0;
  int delay_type = 0;  // 1 recorded delays, 2 none, 3 fixed delay_time
  int delay_time = 0;
  int link_count = 0;
  std::wstring name;
};

// t_macrorecord: one recorded event of a macro.
struct MacroEventRow {
  int record_id = 0;
  int macro_id = 0;
  int type = 0;  // 2 key down, 3 key up
  int record_index = 0;
  std::wstring desc;
  int value = 0;  // virtual-key code
  int delay_time = 0;
};

// t_light_frames: the brightness of one key in one preview frame of a mode.
struct LightFrameRow {
  int frames_id = 0;
  int light_id = 0;  // mode number
  int frameIndex = 0;
  int key_value = 0;
  int rgb_value = 0;
};
