#include <korinui/MWindow.h>
#include <korinui/Manager.h>
#include <korinui/TextCodec.h>
#include <korinui/WindowSystem.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {
std::vector<MWindow*>& Windows() {
  static auto* list = new std::vector<MWindow*>();
  return *list;
}
}  // namespace

CString Manager::GetProgramFolder() {
  if (!m_programFolder.empty()) return m_programFolder;
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return L"./";
  return korinui::Utf8ToWide(exe.parent_path().string()) + L"/";
}

BOOL Manager::InitGdiplus() {
  Windows().clear();
  return korinui::win::Initialize();
}

void Manager::AddWnd(MWindow* w) {
  auto& list = Windows();
  if (std::find(list.begin(), list.end(), w) == list.end()) list.push_back(w);
}

void Manager::DeleteWnd(MWindow* w) { std::erase(Windows(), w); }

BOOL Manager::PreTranslateMessage(MSG*) {
  return korinui::win::IsKeyDown(VK_MENU) && korinui::win::IsKeyDown(VK_F4);
}

int Manager::MessageLoop() {
  MSG msg;
  while (korinui::win::GetMessage(&msg)) {
    if (PreTranslateMessage(&msg)) continue;
    korinui::win::DispatchMessage(&msg);
  }
  return static_cast<int>(msg.wParam);
}
