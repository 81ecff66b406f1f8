// Text on a surface with GDI: CP949 bytes to pixels.
//
// The bytes are converted to UTF-16 with code page 949 whatever the
// system's own code page is, so Korean shows on every Windows, and drawn with
// TextOutW into a small top-down 24-bit DIB section: the string's box (as
// wide as its extent, as high as the line cell), opaque, in the game's
// colours. The box is then copied onto the surface, cut to it (the box and
// its cut are the drawing every platform shares, text_draw.cpp).
//
// The face: 16 pixels, never antialiased, so every pixel is either the text
// or the background colour. Gulim first, the face the game's screens were
// laid out with; then any installed face that draws Hangul, as
// GetGlyphIndicesW tells; failing that, one warning line and the default face
// for what it can draw.
//
// Everything is set up on first use and released at exit (or by
// ReleaseText).
#include "platform/text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/text_route.h"
#include "platform/win32/wide.h"

// After our own headers: their names (E_FAIL, HRESULT) are macros and
// types in the Windows headers.
#include <windows.h>

namespace platform {
namespace {

constexpr int kPixelSize = 16;
constexpr int kMaxLineCell = 20;  // the game's lines are 20 pixels apart
// Syllables spread over the Hangul block; a face with all of them has it.
constexpr wchar_t kHangulSamples[] = {0xAC00, 0xB098, 0xC2A4, 0xC740, 0xD558, 0xD7A3};
// Gulim by its Korean and its English name; Baekmuk Gulim is the free face
// of the same design.
const wchar_t* const kPreferredFaces[] = {L"\uAD74\uB9BC", L"Gulim", L"Baekmuk Gulim"};

class TextEngine final : public TextRoute {
 public:
  ~TextEngine() override { TearDown(); }

 protected:
  void TearDown() override {
    if (dc_ != nullptr) {
      if (oldFont_ != nullptr) SelectObject(dc_, oldFont_);
      if (oldBitmap_ != nullptr) SelectObject(dc_, oldBitmap_);
      DeleteDC(dc_);
    }
    if (font_ != nullptr) DeleteObject(font_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    dc_ = nullptr;
    font_ = nullptr;
    bitmap_ = nullptr;
    oldFont_ = nullptr;
    oldBitmap_ = nullptr;
    bits_ = nullptr;
    bitmapW_ = 0;
    bitmapH_ = 0;
    laid_.clear();
    description_.clear();
    hasHangul_ = false;
  }

  void SetUp() override {
    dc_ = CreateCompatibleDC(nullptr);
    if (dc_ == nullptr) return;
    ChooseFace();
    if (!hasHangul_) {
      std::fprintf(stderr,
                   "Vedo Zeza1: no installed font draws Hangul (install a Korean font such as "
                   "Gulim); Korean text shows as blank boxes\n");
      std::fflush(stderr);
    }
    if (font_ != nullptr) oldFont_ = static_cast<HFONT>(SelectObject(dc_, font_));
    TEXTMETRICW metrics{};
    lineCell_ = kPixelSize;
    if (GetTextMetricsW(dc_, &metrics) != FALSE && metrics.tmHeight > 0) {
      lineCell_ = std::min<int>(metrics.tmHeight, kMaxLineCell);
    }
    SetBkMode(dc_, OPAQUE);
    SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  }

 public:
  int LineCell() const override { return lineCell_; }
  std::string FaceDescription() const override { return description_; }
  // GDI draws with whatever face Windows has; the face names it.
  std::string Versions() const override { return "GDI; " + description_; }
  bool HasHangul() const override { return hasHangul_; }

  int LayOut(const char* text, std::size_t length) override {
    laid_ = Widen(text, length, 949);
    if (dc_ == nullptr || laid_.empty()) return 0;
    SIZE size{};
    if (GetTextExtentPoint32W(dc_, laid_.c_str(), static_cast<int>(laid_.size()), &size) == FALSE) {
      return 0;
    }
    return size.cx;
  }

  HRESULT DrawLaid(Surface& surface, const Rect& box, int x, int y, std::uint32_t backColour,
                   std::uint32_t textColour) override {
    // Only the visible part is drawn: the string starts (box.left - x)
    // pixels left of the canvas and (box.top - y) above it.
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    int pitch = 0;
    std::uint8_t* canvas = Canvas(w, h, pitch);
    if (canvas == nullptr) return DDERR_INVALIDPARAMS;
    SetTextColor(dc_, textColour & 0xFFFFFFu);
    SetBkColor(dc_, backColour & 0xFFFFFFu);
    const RECT all{0, 0, w, h};
    ExtTextOutW(dc_, x - box.left, y - box.top, ETO_OPAQUE | ETO_CLIPPED, &all, laid_.c_str(),
                static_cast<UINT>(laid_.size()), nullptr);
    GdiFlush();
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
    for (int row = box.top; row < box.bottom; ++row) {
      std::memcpy(surface.Row(row) + static_cast<std::size_t>(box.left) * 3,
                  canvas + static_cast<std::size_t>(row - box.top) * pitch, rowBytes);
    }
    return DD_OK;
  }

 private:
  // A top-down 24-bit drawing area of at least w x h pixels; null on failure.
  std::uint8_t* Canvas(int w, int h, int& pitch) {
    if (w > bitmapW_ || h > bitmapH_) {
      if (oldBitmap_ != nullptr) SelectObject(dc_, oldBitmap_);
      oldBitmap_ = nullptr;
      if (bitmap_ != nullptr) DeleteObject(bitmap_);
      bitmap_ = nullptr;
      bitmapW_ = std::max(w, bitmapW_);
      bitmapH_ = std::max(h, bitmapH_);
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = bitmapW_;
      info.bmiHeader.biHeight = -bitmapH_;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 24;
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
      bits_ = static_cast<std::uint8_t*>(bits);
      if (bitmap_ == nullptr) {
        bitmapW_ = 0;
        bitmapH_ = 0;
        return nullptr;
      }
      oldBitmap_ = static_cast<HBITMAP>(SelectObject(dc_, bitmap_));
    }
    pitch = (bitmapW_ * 3 + 3) & ~3;
    return bits_;
  }

  static HFONT MakeFont(const wchar_t* face, BYTE charset) {
    LOGFONTW lf{};
    lf.lfHeight = -kPixelSize;  // the character height, without internal leading
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    if (face != nullptr) lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
  }

  // True when the face selected into dc_ has every sample syllable.
  bool SelectedDrawsHangul() {
    WORD glyphs[std::size(kHangulSamples)] = {};
    if (GetGlyphIndicesW(dc_, kHangulSamples, static_cast<int>(std::size(kHangulSamples)), glyphs,
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
      return false;
    }
    for (WORD g : glyphs) {
      if (g == 0xFFFF) return false;
    }
    return true;
  }

  // Takes `face` when it draws Hangul (or whatever it is when `needHangul`
  // is false). GDI quietly substitutes another face for one it lacks, so
  // the face actually selected is what is checked and named.
  bool TryFace(const wchar_t* face, BYTE charset, bool needHangul) {
    HFONT font = MakeFont(face, charset);
    if (font == nullptr) return false;
    const HGDIOBJ old = SelectObject(dc_, font);
    const bool hangul = SelectedDrawsHangul();
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc_, LF_FACESIZE, name);
    SelectObject(dc_, old);
    if (needHangul && !hangul) {
      DeleteObject(font);
      return false;
    }
    font_ = font;
    hasHangul_ = hangul;
    const int n = WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
      description_.assign(static_cast<std::size_t>(n), '\0');
      WideCharToMultiByte(CP_UTF8, 0, name, -1, description_.data(), n, nullptr, nullptr);
      description_.resize(static_cast<std::size_t>(n - 1));
    }
    description_ += " (GDI)";
    return true;
  }

  static int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type,
                                  LPARAM param) {
    auto* faces = reinterpret_cast<std::vector<std::wstring>*>(param);
    // Vertical variants ("@Face") draw rotated.
    if (font->lfFaceName[0] != L'@' && (type & RASTER_FONTTYPE) == 0) {
      faces->emplace_back(font->lfFaceName);
    }
    return 1;
  }

  void ChooseFace() {
    for (const wchar_t* face : kPreferredFaces) {
      if (TryFace(face, HANGUL_CHARSET, true)) return;
    }
    std::vector<std::wstring> faces;
    for (BYTE charset : {BYTE{HANGUL_CHARSET}, BYTE{DEFAULT_CHARSET}}) {
      LOGFONTW query{};
      query.lfCharSet = charset;
      faces.clear();
      EnumFontFamiliesExW(dc_, &query, &CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
      for (const std::wstring& face : faces) {
        if (TryFace(face.c_str(), charset, true)) return;
      }
    }
    TryFace(nullptr, DEFAULT_CHARSET, false);
  }

  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  HFONT oldFont_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HBITMAP oldBitmap_ = nullptr;
  std::uint8_t* bits_ = nullptr;
  int bitmapW_ = 0;
  int bitmapH_ = 0;
  std::string description_;
  bool hasHangul_ = false;
  int lineCell_ = kPixelSize;
  std::wstring laid_;
};

}  // namespace

TextRoute& NativeTextRoute() {
  static TextEngine engine;
  return engine;
}

}  // namespace platform
