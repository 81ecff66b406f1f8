// The game in the browser. The page has put the title's picture into the
// program's file system and made it the working folder before this runs;
// the rest of the data follows while the title shows, and the game starts
// when it is all there. The page tells the player why the game ended when
// it could not start.
#include <emscripten.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/debug_settings.h"
#include "app/player_settings.h"
#include "app/program.h"
#include "app/recordings.h"
#include "formats/bmp_file.h"
#include "lang/language.h"
#include "state/data_contract.h"
#include "state/game_state.h"

// clang-format off
// The exit code, and the data file the game could not start without, if
// any: missing, or there but damaged.
EM_JS(void, JsGameEnded, (int code, const char* file, int damaged), {
  Module.vedoPage.gameEnded(code, file ? UTF8ToString(file) : "", damaged !== 0);
});
EM_JS(char*, JsDebugSettings, (), {
  const text = Module.vedoPage.debugSettings || "";
  return text ? allocateUTF8(text) : 0;
});
// The language the page's address asks for, or none.
EM_JS(char*, JsLanguage, (), {
  const text = Module.vedoPage.language || "";
  return text ? allocateUTF8(text) : 0;
});
// The picture for the canvas while the rest of the data arrives.
EM_JS(void, JsShowTitle, (const std::uint8_t* rgba, int width, int height), {
  Module.vedoPage.showTitle(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
});
EM_JS(int, JsTitleShown, (), { return Module.vedoPage.titleShown ? 1 : 0; });
EM_JS(int, JsDataArrived, (), { return Module.vedoPage.dataArrived ? 1 : 0; });
// The recording the player chose to watch (its size, 0 for none), copied
// into memory the program has made room for.
EM_JS(int, JsRecordingToWatchSize, (), {
  const bytes = Module.vedoPage.watch;
  return bytes ? bytes.length : 0;
});
EM_JS(void, JsCopyRecordingToWatch, (std::uint8_t* to), { HEAPU8.set(Module.vedoPage.watch, to); });
// How the watched recording came out, in one line.
EM_JS(void, JsPlaybackEnded, (const char* line, int asRecorded), {
  Module.vedoPage.playbackEnded(UTF8ToString(line), asRecorded !== 0);
});
// clang-format on

namespace {

// The title's picture, as the title's first frame will show it: the
// language's own when its pack has one. A picture of another size is
// stretched by the game, so the canvas waits for the game's own frame. The
// page shows the kit's own picture before the program has arrived; this
// reads one in any other form.
void ShowTitlePicture() {
  if (JsTitleShown() != 0) return;
  std::string path = kTitlePicture.name;
  if (!gLanguage.empty()) {
    const std::string own = std::string(kLanguageFolder) + "/" + gLanguage + "/" + path;
    if (std::FILE* f = std::fopen(own.c_str(), "rb")) {
      std::fclose(f);
      path = own;
    }
  }
  platform::Image picture;
  if (!platform::LoadBmpFile(path.c_str(), picture) || picture.width != kTitlePicture.width ||
      picture.height != kTitlePicture.height) {
    return;
  }
  std::vector<std::uint8_t> rgba(picture.pixels.size() / 3 * 4, 255);
  for (std::size_t i = 0, o = 0; i < picture.pixels.size(); i += 3, o += 4) {
    rgba[o] = picture.pixels[i + 2];
    rgba[o + 1] = picture.pixels[i + 1];
    rgba[o + 2] = picture.pixels[i];
  }
  JsShowTitle(rgba.data(), picture.width, picture.height);
}

// The recording the player chose to watch, made ready to play instead of a
// game; false when there is none, or when it is refused, which the page is
// told. Its language is the page's until the data has arrived.
std::string gWatchedLanguage;
bool WatchTheChosenRecording() {
  const int size = JsRecordingToWatchSize();
  if (size == 0) return false;
  Recording recording;
  std::string why;
  std::vector<std::uint8_t> bytes;
  if (static_cast<std::size_t>(size) > kMaxRecordingBytes) {
    why = "it is larger than a recording can be (" + std::to_string(kMaxRecordingBytes) + " bytes)";
  } else {
    bytes.resize(static_cast<std::size_t>(size));
    JsCopyRecordingToWatch(bytes.data());
  }
  if (!why.empty() || !ReadRecording(std::move(bytes), recording, why)) {
    JsPlaybackEnded(why.c_str(), 0);
    return false;
  }
  gWatchedLanguage = recording.start.settings.language;
  PlayRecording(std::move(recording));
  ObservePlayback([](std::uint64_t, bool end) {
    if (!end) return;
    const PlaybackOutcome& o = LastPlayback();
    JsPlaybackEnded(o.message.c_str(), o.result == PlaybackOutcome::Result::kMatched);
  });
  return true;
}

}  // namespace

extern "C" {

// A game-state value for the page's test hook, by the replay scripts' names
// as the test has taken them apart: a global, or a layer with a row and a
// column. -1 for an unknown name or a cell outside the field.
EMSCRIPTEN_KEEPALIVE int vedo_state(const char* name, int row, int col) {
  if (const int* value = FindStateInt(name)) return *value;
  if (row < 0 || row >= kFieldRows || col < 0 || col >= kFieldCols) return -1;
  if (std::strcmp(name, "gObjectLayer") == 0) return gObjectLayer[row][col];
  if (std::strcmp(name, "gCountLayer") == 0) return gCountLayer[row][col];
  return -1;
}

// Sets game-state values from "name=value,..." as ?set= does before the
// first pass; the page's test hook, between passes.
EMSCRIPTEN_KEEPALIVE int vedo_debug_set(const char* text) {
  return ApplyDebugSettings(text) ? 1 : 0;
}

}  // extern "C"

int main() {
  // The diagnostic settings of measurements, from the page's address when
  // it asks for them; nothing otherwise.
  char* settings = JsDebugSettings();
  if (settings != nullptr) {
    ApplyDebugSettings(settings);
    std::free(settings);
  }
  // The address's language holds for this visit, over the kept settings.
  RunChoices run;
  char* language = JsLanguage();
  if (language != nullptr) {
    if (LanguageNameValid(language)) run.language = language;
    std::free(language);
  }
  StartWithPlayerSettings(run);
  const bool watching = WatchTheChosenRecording();
  ShowTitlePicture();
  while (JsDataArrived() == 0) emscripten_sleep(20);
  // The recording plays in its own language where the page has that pack,
  // and in the page's otherwise: a language changes no pass of the game.
  if (watching &&
      (gWatchedLanguage == kBuiltInLanguage ||
       std::filesystem::exists(std::string(kLanguageFolder) + "/" + gWatchedLanguage))) {
    gLanguage = gWatchedLanguage == kBuiltInLanguage ? "" : gWatchedLanguage;
  }
  if (!watching) RecordGames(&KeepForThePlayer, "");
  const int code = WinMain();
  if (LastPlayback().result == PlaybackOutcome::Result::kOtherData) {
    JsPlaybackEnded(LastPlayback().message.c_str(), 0);
  }
  const bool fileFault = gStartFailure.fault == StartFault::kMissingFile ||
                         gStartFailure.fault == StartFault::kDamagedFile;
  JsGameEnded(code, fileFault ? gStartFailure.file : nullptr,
              gStartFailure.fault == StartFault::kDamagedFile);
  return code;
}
