#include "app/player_settings.h"

#include "app/options_panel.h"
#include "lang/language.h"
#include "platform/platform.h"
#include "platform/sound/audio.h"

namespace {

Settings gInUse;
// What is kept for the next run: the kept file's settings with the player's
// changes, without the command line's choices of this run.
Settings gKept;
SettingsObserver gObserver = nullptr;
bool gFocused = true;
bool gKeepFailed = false;  // said once a run

platform::WindowOptions WindowOptionsOf(const Settings& s) {
  return {.windowed = !s.fullScreen, .scale = s.windowScale, .sharp = s.sharp};
}

void ApplySoundLevels() {
  const bool quiet = gInUse.mute || (!gFocused && !gInUse.soundInBackground);
  platform::SetSoundLevels(quiet ? 0 : gInUse.effectsVolume, quiet ? 0 : gInUse.musicVolume);
}

void Say(const std::string& line) { platform::DebugOutput(("Vedo Zeza1: " + line + "\n").c_str()); }

}  // namespace

void StartWithPlayerSettings(const RunChoices& run) {
  Settings kept;
  std::string text;
  std::string where;
  std::string problem;
  switch (platform::ReadSettingsText(text, where, kSettingsMaxBytes)) {
    case platform::KeptRead::kNone:
      break;
    case platform::KeptRead::kUnreadable:
      problem =
          "it cannot be read, or is longer than " + std::to_string(kSettingsMaxBytes) + " bytes";
      break;
    case platform::KeptRead::kRead:
      ReadSettings(text, kept, problem);
      break;
  }
  if (!problem.empty()) {
    kept = Settings{};
    const std::string aside = platform::SetDamagedSettingsAside();
    Say("the settings in " + where + " are damaged (" + problem +
        "); the game starts with its defaults" +
        (aside.empty() ? "." : " and keeps the damaged file as " + aside + "."));
    ShowNote("note.settings_damaged");
  }
  gKept = kept;
  gInUse = kept;
  if (run.fullScreen) gInUse.fullScreen = *run.fullScreen;
  if (run.windowScale) gInUse.windowScale = *run.windowScale;
  if (run.language) gInUse.language = *run.language;
  platform::SetWindowOptions(WindowOptionsOf(gInUse));
  gLanguage = gInUse.language;
  ApplySoundLevels();
}

const Settings& PlayerSettings() { return gInUse; }

namespace {

// Keeps what the player changed from `before` to `next`; what a command
// line chose and the player left alone is not kept.
void Keep(const Settings& before, const Settings& next) {
  Settings kept = gKept;
  if (next.effectsVolume != before.effectsVolume) kept.effectsVolume = next.effectsVolume;
  if (next.musicVolume != before.musicVolume) kept.musicVolume = next.musicVolume;
  if (next.mute != before.mute) kept.mute = next.mute;
  if (next.fullScreen != before.fullScreen) kept.fullScreen = next.fullScreen;
  if (next.windowScale != before.windowScale) kept.windowScale = next.windowScale;
  if (next.sharp != before.sharp) kept.sharp = next.sharp;
  if (next.language != before.language) kept.language = next.language;
  if (next.soundInBackground != before.soundInBackground) {
    kept.soundInBackground = next.soundInBackground;
  }
  if (kept == gKept) return;
  gKept = kept;
  std::string why;
  if (!platform::WriteSettingsText(SettingsText(gKept), why) && !gKeepFailed) {
    gKeepFailed = true;
    Say("the settings cannot be kept (" + why + "); they hold until the game ends.");
  }
}

// Applies `next` where it differs from the settings in use. The player's
// change is kept and told to the observer. A playback's is neither, and
// never starts afresh for a language: one whose pack is not at hand leaves
// the language in use.
void Apply(const Settings& next, bool byThePlayer) {
  if (next == gInUse) return;
  const Settings before = gInUse;
  gInUse = next;
  if (byThePlayer) Keep(before, next);
  ApplySoundLevels();
  if (WindowOptionsOf(next) != WindowOptionsOf(before)) {
    platform::ChangeWindowOptions(WindowOptionsOf(next));
  }
  if (!byThePlayer) {
    if (next.language != LanguageInUse() && LanguageAtHand(next.language)) {
      gLanguage = next.language;
      UseLanguage();
    }
    gInUse.language = gLanguage = LanguageInUse();
    return;
  }
  if (next.language != before.language) {
    gLanguage = next.language;
    // A pack the page has not fetched comes with a new start in it.
    if (LanguageAtHand(next.language) || !platform::RestartInLanguage(next.language)) {
      UseLanguage();
      // A pack that cannot be used (its message box said why) leaves Korean.
      gInUse.language = gLanguage = LanguageInUse();
    }
  }
  if (gObserver != nullptr) gObserver(before, gInUse);
}

}  // namespace

void ChangePlayerSettings(const Settings& next) { Apply(next, true); }

void PlaySettings(const Settings& next) { Apply(next, false); }

void ObservePlayerSettings(SettingsObserver observer) { gObserver = observer; }

void PlayerFocus(bool focused) {
  gFocused = focused;
  ApplySoundLevels();
}
