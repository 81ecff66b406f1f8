// The game in the browser. The page has put the data files into the
// program's file system and made it the working folder before this runs,
// and it tells the player why the game ended when it could not start.
#include <emscripten.h>

#include <cstdlib>
#include <cstring>

#include "app/debug_settings.h"
#include "app/player_settings.h"
#include "app/program.h"
#include "lang/language.h"
#include "state/game_state.h"

// clang-format off
// The exit code, and the data file the game could not start without, if any.
EM_JS(void, JsGameEnded, (int code, const char* missing), {
  Module.vedoPage.gameEnded(code, missing ? UTF8ToString(missing) : "");
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
// clang-format on

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
  const int code = WinMain();
  JsGameEnded(code, gMissingDataFile);
  return code;
}
