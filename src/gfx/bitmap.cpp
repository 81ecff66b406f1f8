#include "gfx/bitmap.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "formats/file_bytes.h"
#include "formats/little_endian.h"
#include "formats/load_breath.h"
#include "platform/platform.h"

platform::HRESULT ReloadBitmap(platform::Surface* surface, const char* fileName) {
  // The program carries no bitmap resources, so pictures always come from
  // loose files.
  platform::Image image;
  if (!platform::LoadBmpFile(fileName, image)) {
    platform::DebugOutput("handle is null\n");
    return platform::E_FAIL;
  }
  const platform::HRESULT r = CopyBitmap(surface, &image, 0, 0, 0, 0);
  if (r != platform::DD_OK) platform::DebugOutput("ddcopybitmap failed\n");
  return r;
}

platform::HRESULT CopyBitmap(platform::Surface* surface, const platform::Image* bitmap, int x,
                             int y, int width, int height) {
  if (bitmap == nullptr || surface == nullptr) return platform::E_FAIL;
  if (surface->IsLost()) return platform::DDERR_SURFACELOST;
  if (width == 0) width = bitmap->width;
  if (height == 0) height = bitmap->height;
  const int dw = surface->Width();
  const int dh = surface->Height();
  if (bitmap->width <= 0 || bitmap->height <= 0 || width <= 0 || height <= 0)
    return platform::E_FAIL;
  const std::size_t srcPitch = static_cast<std::size_t>(bitmap->width) * 3;
  for (int dy = 0; dy < dh; ++dy) {
    if (dy % 32 == 31) platform::BreatheDuringLoad();  // a large picture: a long piece of loading
    // Sample the centre of each destination pixel; a region that reaches
    // past the bitmap reads its nearest edge pixel.
    const long long sy = y + (2LL * dy + 1) * height / (2LL * dh);
    const int row = static_cast<int>(std::clamp<long long>(sy, 0, bitmap->height - 1));
    const std::uint8_t* src = bitmap->pixels.data() + srcPitch * row;
    std::uint8_t* dst = surface->Row(dy);
    for (int dx = 0; dx < dw; ++dx) {
      const long long sx = x + (2LL * dx + 1) * width / (2LL * dw);
      const int col = static_cast<int>(std::clamp<long long>(sx, 0, bitmap->width - 1));
      std::memcpy(dst + dx * 3, src + col * 3, 3);
    }
  }
  return platform::DD_OK;
}

std::uint32_t ColorMatch(platform::Surface* surface, std::uint32_t rgb) {
  if (surface == nullptr || surface->IsLost() || surface->ByteSize() < 3) return 0xFFFFFFFFu;
  if (rgb == CLR_INVALID) {
    const std::uint8_t* p = surface->Pixels();
    return p[0] | (p[1] << 8) | (p[2] << 16);
  }
  const std::uint32_t red = rgb & 0xFF;
  const std::uint32_t green = (rgb >> 8) & 0xFF;
  const std::uint32_t blue = (rgb >> 16) & 0xFF;
  return blue | (green << 8) | (red << 16);
}

platform::HRESULT SetSurfaceColorKey(platform::Surface* surface, std::uint32_t rgb) {
  if (surface == nullptr) return platform::DDERR_INVALIDPARAMS;
  surface->SetColorKey(ColorMatch(surface, rgb));
  return platform::DD_OK;
}

Palette* LoadPalette(DisplayDevice* directDraw, const char* bitmapName) {
  if (directDraw == nullptr) return nullptr;
  auto* palette = new Palette;
  for (int i = 0; i < 256; ++i) {
    palette->entries[i].red = static_cast<std::uint8_t>(((i >> 5) & 7) * 255 / 7);
    palette->entries[i].green = static_cast<std::uint8_t>(((i >> 2) & 7) * 255 / 7);
    palette->entries[i].blue = static_cast<std::uint8_t>((i & 3) * 255 / 3);
    palette->entries[i].flags = 0;
  }
  std::FILE* f = platform::OpenForReading(bitmapName);
  if (f == nullptr) return palette;
  std::uint8_t fileHeader[14] = {};
  std::uint8_t info[40] = {};
  std::size_t got = std::fread(fileHeader, 1, sizeof fileHeader, f);
  got += std::fread(info, 1, sizeof info, f);
  // The colour table is read straight over all 256 entries, however many
  // colours the file has; only the first n are turned from B, G, R, 0 into
  // red, green, blue, flags. A short file leaves the rest as they were.
  std::fread(palette->entries, 1, sizeof palette->entries, f);
  std::fclose(f);
  (void)got;
  const std::uint32_t infoSize = platform::ReadLe32(info);
  const int bitCount = platform::ReadLe16(info + 14);
  const std::uint32_t used = platform::ReadLe32(info + 32);
  std::uint32_t n = 0;
  if (infoSize == 40 && bitCount <= 8) n = used != 0 ? used : (1u << bitCount);
  // A used-colours count beyond the table would convert memory past it.
  n = std::min<std::uint32_t>(n, 256);
  for (std::uint32_t i = 0; i < n; ++i)
    std::swap(palette->entries[i].red, palette->entries[i].blue);
  return palette;
}
