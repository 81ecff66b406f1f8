// Software surfaces.
//
// Every picture the game draws lives in a Surface: 24-bit pixels, three bytes
// each, B, G, R in memory, rows `pitch` bytes apart. Tiles and sprite frames
// are copied into surfaces byte for byte from their files, so the files'
// pixel order is the surfaces' pixel order. BltFast (platform.h), which asks
// the display whether it is busy, copies a rectangle from one surface to
// another, opaque or with a source colour key, and never clips: a copy that
// would reach outside the destination fails as a whole.
//
// The primary surface and its back buffer belong to the display. When the
// display is lost, both report DDERR_SURFACELOST until the primary is
// restored; the other surfaces are plain memory and are never lost.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

using HRESULT = std::int32_t;

inline constexpr HRESULT DD_OK = 0;
inline constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
inline constexpr HRESULT DDERR_WASSTILLDRAWING = static_cast<HRESULT>(0x8876021Cu);
inline constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
inline constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

inline constexpr std::uint32_t DDBLTFAST_NOCOLORKEY = 0;
inline constexpr std::uint32_t DDBLTFAST_SRCCOLORKEY = 1;

// (left, top, right, bottom); right and bottom are exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class Surface {
 public:
  Surface(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Pitch() const { return pitch_; }
  std::uint8_t* Pixels() { return pixels_.data(); }
  const std::uint8_t* Pixels() const { return pixels_.data(); }
  std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }
  const std::uint8_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * pitch_;
  }
  std::size_t ByteSize() const { return pixels_.size(); }

  // The raw pixel value of a colour key is the pixel's three bytes read as a
  // little-endian number: B | G << 8 | R << 16. Black is 0.
  void SetColorKey(std::uint32_t raw) {
    colorKey_ = raw & 0xFFFFFFu;
    hasColorKey_ = true;
  }
  bool HasColorKey() const { return hasColorKey_; }
  std::uint32_t ColorKey() const { return colorKey_; }

  // Surfaces of the display chain share the display's loss flag.
  void ShareLossFlag(const bool* flag) { lossFlag_ = flag; }
  bool IsLost() const { return lossFlag_ != nullptr && *lossFlag_; }
  bool OnDisplay() const { return lossFlag_ != nullptr; }

  // Exchanges the pixel memory of two surfaces of the same size, as a page
  // flip does with the front and back buffers.
  void SwapPixels(Surface& other) { pixels_.swap(other.pixels_); }

 private:
  int width_;
  int height_;
  int pitch_;
  std::vector<std::uint8_t> pixels_;
  bool hasColorKey_ = false;
  std::uint32_t colorKey_ = 0;
  const bool* lossFlag_ = nullptr;
};

}  // namespace platform
