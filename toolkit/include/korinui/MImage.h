// A decoded image (PNG) with straight ARGB access, shared by the image cache and the
// controls that draw it. Immutable after loading, so any thread may draw from it.
#pragma once

#include <korinui/Types.h>

#include <memory>
#include <string>

class MImage {
 public:
  struct Impl;

  // Loads a PNG file; null when the file is missing or not a PNG.
  static std::shared_ptr<MImage> LoadFromFile(const std::wstring& path);
  // Decodes PNG bytes held in memory; null when they are not a PNG.
  static std::shared_ptr<MImage> LoadFromMemory(const void* data, size_t size);

  ~MImage();
  MImage(const MImage&) = delete;
  MImage& operator=(const MImage&) = delete;

  int Width() const;
  int Height() const;
  // Straight (not premultiplied) 0xAARRGGBB of one pixel; 0 outside the image.
  ARGB GetPixel(int x, int y) const;

  const Impl& impl() const { return *impl_; }

 // Wraps a decoded image (used by the loaders).
  explicit MImage(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};
