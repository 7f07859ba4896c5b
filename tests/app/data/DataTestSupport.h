// Shared pieces of the database and exchange-file tests: a scratch folder
// removed with the object, and a short way to write a key assignment row.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/data/ProfileRecords.h"
#include "korinui/TextCodec.h"

namespace {

class DataTestFolder {
 public:
  DataTestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "keystrel-data-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
  }
  ~DataTestFolder() {
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove_all(path_, error);
  }
  DataTestFolder(const DataTestFolder&) = delete;
  DataTestFolder& operator=(const DataTestFolder&) = delete;

  // UTF-8 path with a trailing '/'.
  const std::string& Path() const { return path_; }
  std::wstring WidePath() const { return korinui::Utf8ToWide(path_); }
  // Creates <folder>/db so a profile database can live there.
  void MakeDbFolder() const { std::filesystem::create_directories(path_ + "db"); }

 private:
  std::string path_;
};

inline KeyAssignmentRow Key(int profile, int key_code, int type, int value, const std::wstring& desc = L"") {
  KeyAssignmentRow row;
  row.profile = profile;
  row.key_code = key_code;
  row.macro_type = type;
  row.macro_value = value;
  row.macro_desc = desc;
  return row;
}

}  // namespace
