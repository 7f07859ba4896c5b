#include "SkinOutput.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace skingen {

SkinOutput::SkinOutput(std::string resourceRoot) : root_(std::move(resourceRoot)) {
  if (!root_.empty() && root_.back() != '/') root_ += '/';
}

bool SkinOutput::Prepare(const std::string& relPath) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(root_ + relPath).parent_path(), ec);
  if (ec) {
    std::fprintf(stderr, "skingen: cannot create the folder of %s: %s\n", relPath.c_str(),
                 ec.message().c_str());
    failed_ = true;
    return false;
  }
  return true;
}

bool SkinOutput::SavePng(const std::string& relPath, const Surface& image, int frames) {
  if (!Prepare(relPath)) return false;
  if (!image.WritePng(root_ + relPath)) {
    std::fprintf(stderr, "skingen: cannot write %s\n", relPath.c_str());
    failed_ = true;
    return false;
  }
  records_.push_back({relPath, frames, image.Width(), image.Height(), nullptr});
  return true;
}

bool SkinOutput::SaveEncoded(const std::string& relPath, const std::vector<std::uint8_t>& bytes,
                             int frames, std::shared_ptr<const Surface> preview) {
  if (bytes.empty()) {
    std::fprintf(stderr, "skingen: could not encode %s\n", relPath.c_str());
    failed_ = true;
    return false;
  }
  if (!Prepare(relPath)) return false;
  std::ofstream out(root_ + relPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "skingen: cannot write %s\n", relPath.c_str());
    failed_ = true;
    return false;
  }
  const int w = preview ? preview->Width() : 0, h = preview ? preview->Height() : 0;
  records_.push_back({relPath, frames, w, h, std::move(preview)});
  return true;
}

}  // namespace skingen
