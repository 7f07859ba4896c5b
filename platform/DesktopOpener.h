// Starting programs and opening files and web pages on the desktop. Nothing
// here goes through a shell: a program is started with an argument vector
// holding only its own path, and files and addresses are handed to the
// desktop's default application, so no stored text can run a command line.
#pragma once

#include <string>

namespace platform {

class DesktopOpener {
 public:
  virtual ~DesktopOpener() = default;
  // An executable file, or a command name found on PATH, is started without
  // arguments; anything else is opened as a file with its default
  // application. False when nothing could be started. Any thread.
  virtual bool OpenProgramOrFile(const std::wstring& target) = 0;
  // Opens a web address in the default browser (see AddressToUri).
  virtual bool OpenAddress(const std::wstring& address) = 0;
};

// The address as a URI: http, https and ftp addresses stay as they are;
// everything else (including other schemes) is taken as a host and path
// and gets "http://" in front, so an address can only ever open a web page.
std::string AddressToUri(const std::wstring& address);

// Through GLib/GIO.
class GioDesktopOpener final : public DesktopOpener {
 public:
  bool OpenProgramOrFile(const std::wstring& target) override;
  bool OpenAddress(const std::wstring& address) override;
};

}  // namespace platform
