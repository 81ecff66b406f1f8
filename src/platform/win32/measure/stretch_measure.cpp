// vedo-stretch-measure: what the Win32 backend's present costs on a large
// screen. It opens a borderless, DPI-aware window over the primary monitor
// and presents a changing 640 x 480 frame the way a flip does (the black
// bars, StretchDIBits of the top-down 24-bit rows onto the largest rectangle
// of the frame's aspect, nearest neighbour, GdiFlush, the waiting messages),
// as fast as it can, and prints the time a present takes.
//
//   vedo-stretch-measure [FRAMES]     (default 600)
//
// Under Wine on an Xvfb screen of 3840 x 2160 it measures the 4K case; on
// Windows, the screen it runs on.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 600;
  SetProcessDPIAware();
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"vedo-stretch-measure";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"vedo-stretch-measure", WS_POPUP, 0, 0, sw,
                                sh, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(window, SW_SHOW);
  HDC dc = GetDC(window);
  SetStretchBltMode(dc, COLORONCOLOR);
  constexpr int kW = 640;
  constexpr int kH = 480;
  const int dstH = std::min(sh, sw * kH / kW);
  const int dstW = dstH * kW / kH;
  const int dstX = (sw - dstW) / 2;
  const int dstY = (sh - dstH) / 2;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kW;
  info.bmiHeader.biHeight = -kH;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kW) * kH * 3);
  const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT bars[] = {{0, 0, dstX, sh}, {dstX + dstW, 0, sw, sh}};
  std::vector<double> ms;
  for (int f = 0; f < frames + 30; ++f) {
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      pixels[i] = static_cast<std::uint8_t>(i * 7 + f * 13);
    }
    const auto start = std::chrono::steady_clock::now();
    for (const RECT& r : bars) FillRect(dc, &r, black);
    StretchDIBits(dc, dstX, dstY, dstW, dstH, 0, 0, kW, kH, pixels.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
    GdiFlush();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) DispatchMessageW(&msg);
    const auto end = std::chrono::steady_clock::now();
    if (f >= 30) ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (double v : ms) sum += v;
  std::printf("screen %d x %d, frame drawn at %d x %d, %d presents:\n", sw, sh, dstW, dstH, frames);
  std::printf("  median %.2f ms, p99 %.2f ms, max %.2f ms, mean %.2f ms\n", ms[ms.size() / 2],
              ms[ms.size() * 99 / 100], ms.back(), sum / static_cast<double>(ms.size()));
  ReleaseDC(window, dc);
  DestroyWindow(window);
  return 0;
}
