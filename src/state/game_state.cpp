#include "shell/game_state.h"

#include <cstring>

#define GAME_INT(name, start) int name = start;
#define LOADED_INT(name, start) int name = start;
#include "shell/game_state_list.h"

int** gGroundLayer = nullptr;
int gObjectLayer[kFieldRows][kFieldCols] = {};
int gCountLayer[kFieldRows][kFieldCols] = {};

WindowHandle gWindow = nullptr;
InstanceHandle gInstance = nullptr;

namespace {

const StateInt kStateInts[] = {
#define GAME_INT(name, start) {#name, &name, false},
#define LOADED_INT(name, start) {#name, &name, true},
#include "shell/game_state_list.h"
};

}  // namespace

void ResetGameState() {
  // The loaded values belong to their readers and stay as they are.
#define GAME_INT(name, start) name = start;
#define LOADED_INT(name, start)
#include "shell/game_state_list.h"
  std::memset(gObjectLayer, 0, sizeof gObjectLayer);
  std::memset(gCountLayer, 0, sizeof gCountLayer);
}

const StateInt* StateInts(int* count) {
  *count = static_cast<int>(sizeof kStateInts / sizeof kStateInts[0]);
  return kStateInts;
}

int* FindStateInt(const char* name) {
  for (const StateInt& s : kStateInts) {
    if (std::strcmp(s.name, name) == 0) return s.value;
  }
  return nullptr;
}
