// BMP files through GDI, the Windows backend's pictures: LoadImageA reads the
// file into a DIB section of its own depth, which is then copied (GDI
// converts palettes and depths) into a top-down 24-bit DIB section: B, G, R
// rows, as our surfaces hold them.
#include <windows.h>

#include <cstring>

#include "formats/bmp_file.h"

namespace platform {

bool LoadBmpThroughGdi(const char* path, Image& out) {
  if (!BmpFileSizeAcceptable(path)) return false;
  const auto loaded = static_cast<HBITMAP>(
      LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (loaded == nullptr) return false;
  BITMAP about{};
  bool ok =
      GetObjectW(loaded, sizeof about, &about) != 0 && about.bmWidth > 0 && about.bmHeight > 0;
  const int w = ok ? about.bmWidth : 0;
  const int h = ok ? about.bmHeight : 0;
  HDC from = ok ? CreateCompatibleDC(nullptr) : nullptr;
  HDC to = ok ? CreateCompatibleDC(nullptr) : nullptr;
  HBITMAP target = nullptr;
  void* bits = nullptr;
  if (from != nullptr && to != nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    target = CreateDIBSection(to, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  }
  ok = target != nullptr && bits != nullptr;
  if (ok) {
    const HGDIOBJ oldFrom = SelectObject(from, loaded);
    const HGDIOBJ oldTo = SelectObject(to, target);
    SetStretchBltMode(to, COLORONCOLOR);
    ok = StretchBlt(to, 0, 0, w, h, from, 0, 0, w, h, SRCCOPY) != FALSE;
    GdiFlush();
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
  }
  if (ok) {
    out.width = w;
    out.height = h;
    const std::size_t row = static_cast<std::size_t>(w) * 3;
    const std::size_t pitch = (row + 3) & ~std::size_t{3};
    out.pixels.assign(row * h, 0);
    const auto* src = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < h; ++y) std::memcpy(out.pixels.data() + row * y, src + pitch * y, row);
  }
  if (target != nullptr) DeleteObject(target);
  if (from != nullptr) DeleteDC(from);
  if (to != nullptr) DeleteDC(to);
  DeleteObject(loaded);
  return ok;
}

}  // namespace platform
