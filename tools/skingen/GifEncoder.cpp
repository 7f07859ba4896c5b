#include "GifEncoder.h"

#include <algorithm>
#include <cstddef>

namespace skingen {
namespace {

constexpr int kMaxCodes = 4096;  // 12-bit codes

// Packs codes least significant bit first, as GIF wants them.
class BitWriter {
 public:
  void Write(unsigned code, int width) {
    buffer_ |= static_cast<std::uint64_t>(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
      buffer_ >>= 8;
      bits_ -= 8;
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (bits_ > 0) out_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
    bits_ = 0;
    buffer_ = 0;
    return std::move(out_);
  }

 private:
  std::vector<std::uint8_t> out_;
  std::uint64_t buffer_ = 0;
  int bits_ = 0;
};

void Put16(std::vector<std::uint8_t>& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> LzwEncode(const std::vector<std::uint8_t>& indices, int minCodeSize) {
  const unsigned clear = 1u << minCodeSize;
  const unsigned end = clear + 1;
  const unsigned first = clear + 2;
  const std::size_t alphabet = std::size_t{1} << minCodeSize;
  // dict[prefix * alphabet + symbol] = code of prefix+symbol, 0 when absent (no string
  // ever gets a code below `first`, so 0 is free to mean "none").
  std::vector<std::uint16_t> dict(kMaxCodes * alphabet, 0);
  BitWriter bits;
  unsigned next = first;
  int width = minCodeSize + 1;
  bits.Write(clear, width);
  if (indices.empty()) {
    bits.Write(end, width);
    return bits.Finish();
  }
  unsigned prefix = indices[0] & (clear - 1);
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const unsigned symbol = indices[i] & (clear - 1);
    const std::size_t key = prefix * alphabet + symbol;
    if (dict[key] != 0) {
      prefix = dict[key];
      continue;
    }
    bits.Write(prefix, width);
    // The decoder adds its entry one code later than we do, so it widens when its next
    // code reaches 1 << width; we widen one entry after that.
    dict[key] = static_cast<std::uint16_t>(next++);
    if (next > (1u << width) && width < 12) ++width;
    if (next == kMaxCodes) {
      bits.Write(clear, width);
      std::fill(dict.begin(), dict.end(), 0);
      next = first;
      width = minCodeSize + 1;
    }
    prefix = symbol;
  }
  bits.Write(prefix, width);
  // Reading that last code makes the decoder add one more entry, which may widen the
  // code it reads the end marker with.
  if (next == (1u << width) && width < 12) ++width;
  bits.Write(end, width);
  return bits.Finish();
}

std::vector<std::uint8_t> EncodeGif(int width, int height, const std::vector<PaletteColor>& palette,
                                    const std::vector<std::vector<std::uint8_t>>& frames,
                                    int delayCentis) {
  if (width < 1 || height < 1 || width > 0xFFFF || height > 0xFFFF || frames.empty() ||
      palette.empty() || palette.size() > 256)
    return {};
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  for (const auto& f : frames)
    if (f.size() != pixels) return {};
  for (const auto& f : frames)
    for (std::uint8_t v : f)
      if (v >= palette.size()) return {};

  // The colour table holds 2^(n+1) entries; pad the palette with black.
  int sizeBits = 0;
  while ((std::size_t{2} << sizeBits) < palette.size()) ++sizeBits;
  const std::size_t tableSize = std::size_t{2} << sizeBits;
  const int minCodeSize = std::max(2, sizeBits + 1);

  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, width);
  Put16(out, height);
  out.push_back(static_cast<std::uint8_t>(0x80 | (7 << 4) | sizeBits));  // global table, 8-bit colour
  out.push_back(0);  // background colour index
  out.push_back(0);  // square pixels
  for (std::size_t i = 0; i < tableSize; ++i) {
    const PaletteColor c = i < palette.size() ? palette[i] : PaletteColor{0, 0, 0};
    out.insert(out.end(), c.begin(), c.end());
  }
  // Application extension: loop forever.
  const char netscape[] = "NETSCAPE2.0";
  out.insert(out.end(), {0x21, 0xFF, 0x0B});
  out.insert(out.end(), netscape, netscape + 11);
  out.insert(out.end(), {0x03, 0x01, 0x00, 0x00, 0x00});

  for (const auto& frame : frames) {
    // Graphic control: disposal "leave in place", no transparency, the frame delay.
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x04});
    Put16(out, delayCentis);
    out.insert(out.end(), {0x00, 0x00});
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width);
    Put16(out, height);
    out.push_back(0);  // no local table, not interlaced
    out.push_back(static_cast<std::uint8_t>(minCodeSize));
    const std::vector<std::uint8_t> data = LzwEncode(frame, minCodeSize);
    for (std::size_t pos = 0; pos < data.size(); pos += 255) {
      const std::size_t n = std::min<std::size_t>(255, data.size() - pos);
      out.push_back(static_cast<std::uint8_t>(n));
      out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
                 data.begin() + static_cast<std::ptrdiff_t>(pos + n));
    }
    out.push_back(0);  // block terminator
  }
  out.push_back(0x3B);
  return out;
}

}  // namespace skingen
