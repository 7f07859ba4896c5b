#include "platform/DesktopOpener.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "korinui/TextCodec.h"

namespace platform {
namespace {

struct GFree {
  void operator()(gchar* p) const { g_free(p); }
};
struct GUnref {
  void operator()(GFile* p) const { g_object_unref(p); }
};
struct GErrorFree {
  void operator()(GError* p) const { g_error_free(p); }
};

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  const std::string p(prefix);
  if (s.size() < p.size()) return false;
  return std::equal(p.begin(), p.end(), s.begin(),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

bool LaunchUri(const std::string& uri) {
  GError* raw = nullptr;
  const gboolean ok = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &raw);
  std::unique_ptr<GError, GErrorFree> error(raw);
  return ok != FALSE;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The program's full path: the target itself, or a bare name found on PATH.
std::string ProgramPath(const std::string& target) {
  if (target.find('/') != std::string::npos) return IsExecutableFile(target) ? target : std::string{};
  std::unique_ptr<gchar, GFree> found(g_find_program_in_path(target.c_str()));
  return found ? std::string(found.get()) : std::string{};
}

}  // namespace

std::string AddressToUri(const std::wstring& address) {
  const std::string a = korinui::WideToUtf8(address);
  for (const char* scheme : {"http://", "https://", "ftp://"}) {
    if (StartsWithNoCase(a, scheme)) return a;
  }
  return "http://" + a;
}

bool GioDesktopOpener::OpenProgramOrFile(const std::wstring& target) {
  const std::string t = korinui::WideToUtf8(target);
  if (t.empty()) return false;
  const std::string program = ProgramPath(t);
  if (!program.empty()) {
    // argv holds the path alone; without DO_NOT_REAP_CHILD GLib detaches the
    // child so that no zombie is left behind.
    gchar* argv[] = {const_cast<gchar*>(program.c_str()), nullptr};
    GError* raw = nullptr;
    const gboolean ok = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_STDIN_FROM_DEV_NULL, nullptr, nullptr,
                                      nullptr, &raw);
    std::unique_ptr<GError, GErrorFree> error(raw);
    return ok != FALSE;
  }
  std::unique_ptr<GFile, GUnref> file(g_file_new_for_path(t.c_str()));
  std::unique_ptr<gchar, GFree> uri(g_file_get_uri(file.get()));
  return uri && LaunchUri(uri.get());
}

bool GioDesktopOpener::OpenAddress(const std::wstring& address) {
  if (address.empty()) return false;
  return LaunchUri(AddressToUri(address));
}

}  // namespace platform
