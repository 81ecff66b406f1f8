#include "app/options_panel.h"

#include <algorithm>
#include <memory>
#include <string>

#include "app/player_settings.h"
#include "app/program.h"
#include "formats/bmp_file.h"
#include "gfx/bitmap.h"
#include "gfx/display.h"
#include "lang/game_lines.h"
#include "lang/language.h"
#include "platform/draw/text_draw.h"
#include "state/data_contract.h"
#include "state/game_state.h"

namespace {

using platform::Event;
using platform::EventType;
using platform::Key;
using platform::Surface;

// COLORREFs (0x00BBGGRR) of the words: labels white, values amber.
constexpr std::uint32_t kBlack = 0x00000000;
constexpr std::uint32_t kLabelColour = 0x00E8E8E8;
constexpr std::uint32_t kValueColour = 0x006AC8F2;
// A note stays this many flips (three seconds).
constexpr std::uint64_t kNoteFlips = 180;
constexpr int kVolumeStep = 10;

// The panel's rows, in the picture's order.
enum Row { kEffects, kMusic, kMute, kDisplay, kWindowSize, kScaling, kLanguage, kBackground };

std::unique_ptr<Surface> gPicture;  // the panel and its parts
// The frame the panel is shown in; it stays alive while it may be the
// frame on the screen.
std::unique_ptr<Surface> gFrame;
const char* gNoteKey = nullptr;
std::uint64_t gNoteUntil = 0;

// A line in the language in use, without the blanks at its end.
std::string Line(const char* key) {
  std::string text = GameText(GameLineId(key));
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

platform::Rect At(const PanelBox& b, int dy = 0) {
  return {b.left, b.top + dy, b.right, b.bottom + dy};
}

bool Inside(const PanelBox& b, int dy, int x, int y) {
  return x >= b.left && x < b.right && y >= b.top + dy && y < b.bottom + dy;
}

void Fill(Surface& s, const platform::Rect& r, std::uint8_t b, std::uint8_t g, std::uint8_t red) {
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, s.Height()); ++y) {
    for (int x = std::max(r.left, 0); x < std::min(r.right, s.Width()); ++x) {
      std::uint8_t* p = s.Row(y) + x * 3;
      p[0] = b, p[1] = g, p[2] = red;
    }
  }
}

// Without its picture the panel is drawn plain: grey, with black plates
// and amber parts where the picture would have them.
std::unique_ptr<Surface> PlainPicture() {
  auto s = std::make_unique<Surface>(kOptionsPicture.width, kOptionsPicture.height);
  Fill(*s, {0, 0, kOptionsPicture.width, kOptionsPanelHeight}, 0x48, 0x44, 0x40);
  Fill(*s, At(kOptionsTitle), 0, 0, 0);
  for (int r = 0; r < kOptionsRows; ++r) {
    const int dy = kOptionsRowTop + r * kOptionsRowPitch;
    Fill(*s, At(kOptionsLabel, dy), 0, 0, 0);
    for (const PanelBox& b : kOptionsChoices) Fill(*s, At(b, dy), 0, 0, 0);
  }
  Fill(*s, At(kOptionsCloseWord), 0, 0, 0);
  Fill(*s, At(kOptionsLitSegment), 0x30, 0xB0, 0xF0);
  Fill(*s, At(kOptionsCheckMark), 0x40, 0xD0, 0x40);
  Fill(*s, At(kOptionsChosenFrame), 0x30, 0xB0, 0xF0);
  const PanelBox& f = kOptionsChosenFrame;
  Fill(*s, {f.left + 2, f.top + 2, f.right - 2, f.bottom - 2}, 0, 0, 0);
  return s;
}

// Writes `text` (CP949) into the box: left with a margin, or centred.
void Write(Surface& s, const std::string& text, const platform::Rect& box, std::uint32_t colour,
           bool centred) {
  if (text.empty()) return;
  const int w = platform::TextWidthCp949(text.c_str());
  const int x = centred ? box.left + std::max((box.right - box.left - w) / 2, 0) : box.left + 6;
  const int y = box.top + std::max((box.bottom - box.top - platform::TextLineHeight()) / 2, 0);
  PrintText(&s, text.c_str(), kBlack, colour, x, y);
}

// The picture's part `part` drawn at (x, y) of the panel (which is shown at
// kOptionsX, kOptionsY), its black clear.
void Part(Surface& frame, const PanelBox& part, int x, int y) {
  BltFast(&frame, kOptionsX + x, kOptionsY + y, gPicture.get(), At(part),
          platform::DDBLTFAST_SRCCOLORKEY);
}

// Full screen or a window, as asked, also where the settings say so already
// and the screen does not: the page can leave full screen by itself.
void SetFullScreen(bool on) {
  Settings s = PlayerSettings();
  if (s.fullScreen == on) {
    if (platform::ShowsFullScreen() != on)
      platform::ChangeWindowOptions(platform::GetWindowOptions());
    return;
  }
  s.fullScreen = on;
  ChangePlayerSettings(s);
}

platform::Rect OnScreen(const PanelBox& b, int dy = 0) {
  return {kOptionsX + b.left, kOptionsY + b.top + dy, kOptionsX + b.right,
          kOptionsY + b.bottom + dy};
}

class Panel {
 public:
  Panel() : languages_(LanguageChoices()) {}

  // Draws the panel over the game's last frame, dimmed, and shows it.
  void Show() {
    if (!gFrame) gFrame = std::make_unique<Surface>(kScreenWidth, kScreenHeight);
    Surface& f = *gFrame;
    if (gPrimarySurface != nullptr && gPrimarySurface->ByteSize() == f.ByteSize()) {
      const std::uint8_t* from = gPrimarySurface->Pixels();
      std::uint8_t* to = f.Pixels();
      for (std::size_t i = 0; i < f.ByteSize(); ++i)
        to[i] = static_cast<std::uint8_t>(from[i] * 3 / 8);
    }
    BltFast(&f, kOptionsX, kOptionsY, gPicture.get(),
            {0, 0, kOptionsPicture.width, kOptionsPanelHeight}, platform::DDBLTFAST_NOCOLORKEY);
    const Settings& s = PlayerSettings();
    Write(f, Line("options.title"), OnScreen(kOptionsTitle), kLabelColour, true);
    const char* labels[kOptionsRows] = {
        "options.effects",     "options.music",   "options.mute",     "options.display",
        "options.window_size", "options.scaling", "options.language", "options.background"};
    for (int r = 0; r < kOptionsRows; ++r) {
      const int dy = kOptionsRowTop + r * kOptionsRowPitch;
      Write(f, Line(labels[r]), OnScreen(kOptionsLabel, dy), kLabelColour, false);
    }
    Volume(f, kEffects, s.effectsVolume);
    Volume(f, kMusic, s.musicVolume);
    Check(f, kMute, s.mute);
    Choice(f, kDisplay, platform::ShowsFullScreen() ? 0 : 1, "options.display.full",
           "options.display.window");
    Write(f,
          s.windowScale == 0 ? Line("options.window_size.auto")
                             : platform::Utf8ToCp949("× " + std::to_string(s.windowScale)),
          OnScreen(kOptionsValue, RowTop(kWindowSize)), kValueColour, true);
    Choice(f, kScaling, s.sharp ? 1 : 0, "options.scaling.fill", "options.scaling.sharp");
    Write(f, platform::Utf8ToCp949(OwnName(s.language)), OnScreen(kOptionsValue, RowTop(kLanguage)),
          kValueColour, true);
    Check(f, kBackground, s.soundInBackground);
    Write(f, Line("options.close"), OnScreen(kOptionsCloseWord), kLabelColour, true);
    platform::VideoShowOver(f);
  }

  // A press at (x, y): the setting it changes is changed; false when it
  // closes the panel.
  bool Press(int x, int y) {
    x -= kOptionsX;
    y -= kOptionsY;
    if (Inside(kOptionsClose, 0, x, y)) return false;
    Settings s = PlayerSettings();
    for (int r = 0; r < kOptionsRows; ++r) {
      const int dy = RowTop(static_cast<Row>(r));
      if (y < dy || y >= dy + kOptionsRowPitch) continue;
      const bool minus = Inside(kOptionsMinus, dy, x, y);
      const bool plus = Inside(kOptionsPlus, dy, x, y);
      const int step = minus ? -1 : plus ? 1 : 0;
      switch (static_cast<Row>(r)) {
        case kEffects:
        case kMusic: {
          int& volume = r == kEffects ? s.effectsVolume : s.musicVolume;
          const int segment = (x - kOptionsSegment.left) / kOptionsSegmentPitch;
          if (step != 0) {
            volume = std::clamp(volume + step * kVolumeStep, 0, platform::kFullVolume);
          } else if (x >= kOptionsSegment.left && segment < kOptionsSegments) {
            volume = (segment + 1) * kVolumeStep;
          }
          break;
        }
        case kMute:
        case kBackground:
          if (Inside(kOptionsCheck, dy, x, y) || Inside(kOptionsLabel, dy, x, y)) {
            bool& on = r == kMute ? s.mute : s.soundInBackground;
            on = !on;
          }
          break;
        case kDisplay:
          for (int i = 0; i < 2; ++i) {
            if (Inside(kOptionsChoices[i], dy, x, y)) SetFullScreen(i == 0);
          }
          return true;
        case kWindowSize:
          s.windowScale = std::clamp(s.windowScale + step, 0, kMaxWindowScale);
          break;
        case kScaling:
          if (Inside(kOptionsChoices[0], dy, x, y)) s.sharp = false;
          if (Inside(kOptionsChoices[1], dy, x, y)) s.sharp = true;
          break;
        case kLanguage:
          if (step != 0 && !languages_.empty()) {
            const int n = static_cast<int>(languages_.size());
            int at = 0;
            while (at < n && languages_[static_cast<std::size_t>(at)].folder != s.language) ++at;
            at = at == n ? 0 : (at + step + n) % n;
            s.language = languages_[static_cast<std::size_t>(at)].folder;
          }
          break;
      }
    }
    ChangePlayerSettings(s);
    return true;
  }

 private:
  static int RowTop(Row r) { return kOptionsRowTop + r * kOptionsRowPitch; }

  void Volume(Surface& f, Row r, int volume) {
    const int dy = RowTop(r);
    const int lit = (volume + kVolumeStep - 1) / kVolumeStep;
    for (int k = 0; k < lit && k < kOptionsSegments; ++k) {
      BltFast(&f, kOptionsX + kOptionsSegment.left + k * kOptionsSegmentPitch,
              kOptionsY + kOptionsSegment.top + dy, gPicture.get(), At(kOptionsLitSegment),
              platform::DDBLTFAST_NOCOLORKEY);
    }
    // The value beside its label, at the plate's right.
    const std::string value = std::to_string(volume) + "%";
    const platform::Rect plate = OnScreen(kOptionsLabel, dy);
    const int w = platform::TextWidthCp949(value.c_str());
    Write(f, value, {plate.right - w - 12, plate.top, plate.right, plate.bottom}, kValueColour,
          false);
  }

  static void Check(Surface& f, Row r, bool on) {
    if (on) Part(f, kOptionsCheckMark, kOptionsCheck.left, kOptionsCheck.top + RowTop(r));
  }

  static void Choice(Surface& f, Row r, int chosen, const char* first, const char* second) {
    const int dy = RowTop(r);
    for (int i = 0; i < 2; ++i) {
      const PanelBox& b = kOptionsChoices[i];
      if (i == chosen) Part(f, kOptionsChosenFrame, b.left, b.top + dy);
      Write(f, Line(i == 0 ? first : second), OnScreen(b, dy),
            i == chosen ? kValueColour : kLabelColour, true);
    }
  }

  std::string OwnName(const std::string& folder) const {
    for (const LanguageChoice& c : languages_) {
      if (c.folder == folder) {
        std::string name = c.ownName;
        while (!name.empty() && name.back() == ' ') name.pop_back();
        return name;
      }
    }
    return folder;
  }

  std::vector<LanguageChoice> languages_;
};

// Runs the panel until it closes (F1, Escape, its button) or the program is
// asked to quit; the game's events that came meanwhile are added to
// `forTheGame`.
void RunOptionsPanel(std::vector<Event>& forTheGame) {
  if (!gPicture) LoadOptionsPanel();
  Panel panel;
  panel.Show();
  int x = gMouseX;
  int y = gMouseY;
  bool leftReleased = false;
  for (;;) {
    Event e;
    if (!platform::PeekEvent(e)) {
      platform::WaitEvent();
      continue;
    }
    bool redraw = false;
    bool close = false;
    switch (e.type) {
      case EventType::kWindowClosed:
        PostQuitMessage(0);
        return;
      case EventType::kActivate:
        PlayerFocus(e.active);
        forTheGame.push_back(e);
        break;
      case EventType::kMouseMove:
        x = e.x;
        y = e.y;
        break;
      case EventType::kLeftDown:
        // At the pointer: a press's own place is not given everywhere.
        close = !panel.Press(x, y);
        redraw = true;
        break;
      case EventType::kLeftUp:
        leftReleased = true;
        break;
      case EventType::kKeyDown:
        if (e.key == Key::kF1 || e.key == Key::kEscape) {
          close = true;
        } else {
          std::vector<Event> none;
          AnswerProgramKey(e.key, none);
          redraw = true;
        }
        break;
      case EventType::kRightDown:
      case EventType::kRightUp:
        break;
    }
    if (close) break;
    if (redraw) panel.Show();
  }
  // The game goes on from where it stood, with what it must know now.
  if (x != gMouseX || y != gMouseY) {
    forTheGame.push_back({.type = EventType::kMouseMove, .x = x, .y = y});
  }
  if (leftReleased && gLeftButton != 0) forTheGame.push_back({.type = EventType::kLeftUp});
}

void DrawNote(Surface& frame) {
  if (gNoteKey == nullptr || platform::VideoFlipCount() >= gNoteUntil) {
    gNoteKey = nullptr;
    platform::SetFrameOverlay(nullptr);
    return;
  }
  const std::string text = Line(gNoteKey);
  const int w = platform::TextWidthCp949(text.c_str());
  Fill(frame, {4, 4, 16 + w, 10 + platform::TextLineHeight()}, 0, 0, 0);
  PrintText(&frame, text.c_str(), kBlack, kLabelColour, 10, 7);
}

void TakeScreenshot() {
  std::string where;
  const bool saved =
      gPrimarySurface != nullptr && platform::SaveScreenshot(*gPrimarySurface, where);
  platform::DebugOutput(
      ((saved ? "Vedo Zeza1: screenshot saved as " : "Vedo Zeza1: no screenshot: ") + where + "\n")
          .c_str());
  ShowNote(saved ? "note.screenshot" : "note.screenshot_failed");
}

}  // namespace

bool AnswerProgramKey(Key key, std::vector<Event>& forTheGame) {
  Settings s = PlayerSettings();
  switch (key) {
    case Key::kF1:
      RunOptionsPanel(forTheGame);
      return true;
    case Key::kM:
      s.mute = !s.mute;
      ChangePlayerSettings(s);
      ShowNote(s.mute ? "note.muted" : "note.unmuted");
      return true;
    case Key::kF11:
    case Key::kAltEnter:
      SetFullScreen(!platform::ShowsFullScreen());
      return true;
    case Key::kF12:
      TakeScreenshot();
      return true;
    case Key::kEscape:
    case Key::kOther:
      return false;
  }
  return false;
}

void ShowNote(const char* key) {
  gNoteKey = key;
  gNoteUntil = platform::VideoFlipCount() + kNoteFlips;
  platform::SetFrameOverlay(&DrawNote);
}

void LoadOptionsPanel() {
  long long w = 0;
  long long h = 0;
  platform::Image image;
  if (platform::BmpFileSize(kOptionsPicture.name, w, h) && w == kOptionsPicture.width &&
      (h == kOptionsPicture.height || h == -kOptionsPicture.height) &&
      platform::LoadBmpFile(kOptionsPicture.name, image)) {
    gPicture = std::make_unique<Surface>(kOptionsPicture.width, kOptionsPicture.height);
    CopyBitmap(gPicture.get(), &image, 0, 0, 0, 0);
  } else {
    gPicture = PlainPicture();
  }
  gPicture->SetColorKey(0);
}

void ReleaseOptionsPanel() {
  gPicture.reset();
  gFrame.reset();
  gNoteKey = nullptr;
  platform::SetFrameOverlay(nullptr);
}
