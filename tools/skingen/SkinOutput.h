// Where the generator's files go: paths are relative to the resource root (the program
// folder of the built tree), folders are created on demand, and every written image is
// recorded for the contact sheet.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Canvas.h"

namespace skingen {

struct ImageRecord {
  std::string path;  // relative to the resource root, '/' separated
  int frames = 1;
  int width = 0;
  int height = 0;
  // For files the sheet cannot read back (GIF, ICO): what they show.
  std::shared_ptr<const Surface> preview;
};

class SkinOutput {
 public:
  explicit SkinOutput(std::string resourceRoot);

  // The skin folder relative to the resource root, with a trailing '/'.
  static const char* SkinFolder() { return "skins/theme1/"; }

  // Writes a PNG; `frames` is how many frames the program reads from it (for the record).
  bool SavePng(const std::string& relPath, const Surface& image, int frames);
  // Writes an already encoded image (GIF, ICO); `preview` shows its frames side by side
  // for the contact sheet. Empty bytes count as a failed encoding.
  bool SaveEncoded(const std::string& relPath, const std::vector<std::uint8_t>& bytes, int frames,
                   std::shared_ptr<const Surface> preview);

  const std::vector<ImageRecord>& Records() const { return records_; }
  const std::string& Root() const { return root_; }
  // Records a failure found by a drawer (bad input rather than a failed write).
  void MarkFailed() { failed_ = true; }
  // True when any write failed; each failure is also reported on stderr.
  bool Failed() const { return failed_; }

 private:
  bool Prepare(const std::string& relPath);

  std::string root_;
  std::vector<ImageRecord> records_;
  bool failed_ = false;
};

}  // namespace skingen
