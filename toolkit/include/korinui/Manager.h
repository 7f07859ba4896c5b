// Process-wide toolkit settings (default font, select colour, theme, program folder)
// and the message loop. Static members only; UI thread.
#pragma once

#include <korinui/WinDefs.h>

class MWindow;

class Manager {
 public:
  static void SetInstance(HINSTANCE h) { m_hInstance = h; }
  static HINSTANCE GetInstance() { return m_hInstance; }
  static CString GetTheme() { return L"theme1\\"; }
  static void SetFont(const CString& name, int size) { m_fontname = name; m_fontwidth = size; }
  static void SetFontName(const CString& name) { m_fontname = name; }
  static CString GetFontName() { return m_fontname; }
  static int GetFontWidth() { return m_fontwidth; }
  static ARGB GetSelectColor() { return m_select_color; }
  // The folder of the executable with a trailing '/', or the one set for tests.
  static CString GetProgramFolder();
  static void SetProgramFolder(const CString& folder) { m_programFolder = folder; }
  // Starts the window system and clears the window list.
  static BOOL InitGdiplus();
  static void UnInitGdiplus() {}
  static void AddWnd(MWindow* w);
  static void DeleteWnd(MWindow* w);
  // Runs until WM_QUIT; messages arriving while Alt and F4 are held are dropped.
  static int MessageLoop();
  // 1 (consume) while Alt and F4 are both held.
  static BOOL PreTranslateMessage(MSG* msg);

  static inline HINSTANCE m_hInstance = nullptr;
  static inline CString m_fontname = L"Open Sans Semibold";
  static inline int m_fontwidth = 18;
  static inline ARGB m_select_color = 0xFFCA5100;

 private:
  static inline CString m_programFolder;
};
