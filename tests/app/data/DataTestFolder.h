// A scratch folder for database and exchange-file tests, removed with the object.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

}  // namespace
