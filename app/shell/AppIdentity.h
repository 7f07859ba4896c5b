// The application's fixed names.
#pragma once

// Application name: main window caption, single-instance lock name, tray tip,
// settings folder and the stem of the data folder name.
inline constexpr const wchar_t* kAppName = L"ORVA 100";
// Model string: stem of the profile database file name.
inline constexpr const wchar_t* kModelName = L"ORVA 100_V4";
