#include "state/game_state.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "state/data_contract.h"
#include "state/random.h"

#define GAME_INT(name, start) int name = start;
#define LOADED_INT(name, start) int name = start;
#include "state/game_state_list.h"

int** gGroundLayer = nullptr;
int gObjectLayer[kFieldRows][kFieldCols] = {};
int gCountLayer[kFieldRows][kFieldCols] = {};

WindowHandle gWindow = nullptr;
InstanceHandle gInstance = nullptr;

namespace {

const StateInt kStateInts[] = {
#define GAME_INT(name, start) {#name, &name, false},
#define LOADED_INT(name, start) {#name, &name, true},
#include "state/game_state_list.h"
};

}  // namespace

void ResetGameState() {
  // The loaded values belong to their readers and stay as they are.
#define GAME_INT(name, start) name = start;
#define LOADED_INT(name, start)
#include "state/game_state_list.h"
  std::memset(gObjectLayer, 0, sizeof gObjectLayer);
  std::memset(gCountLayer, 0, sizeof gCountLayer);
}

void ResetForNextGame() {
  gInTitle = 1;
  gFieldReady = 0;
  gWarningShown = 0;
  gHardMode = 0;
  gProloguePending = 1;
  gHealth = kFullHealth;
  gFilesLeft = kFiles;
  gPrologueStep = 0;
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

int GameIntCount() {
  int n = 0;
  for (const StateInt& s : kStateInts) n += s.loaded ? 0 : 1;
  return n;
}

int GameIntIndex(const char* name) {
  int i = 0;
  for (const StateInt& s : kStateInts) {
    if (s.loaded) continue;
    if (std::strcmp(s.name, name) == 0) return i;
    ++i;
  }
  return -1;
}

StateSnapshot TakeSnapshot() {
  StateSnapshot snapshot;
  for (const StateInt& s : kStateInts) {
    if (!s.loaded) snapshot.ints.push_back(*s.value);
  }
  std::memcpy(snapshot.objects, gObjectLayer, sizeof gObjectLayer);
  std::memcpy(snapshot.counts, gCountLayer, sizeof gCountLayer);
  snapshot.random = RandomState();
  return snapshot;
}

void RestoreSnapshot(const StateSnapshot& snapshot) {
  std::size_t i = 0;
  for (const StateInt& s : kStateInts) {
    if (!s.loaded && i < snapshot.ints.size()) *s.value = snapshot.ints[i++];
  }
  std::memcpy(gObjectLayer, snapshot.objects, sizeof gObjectLayer);
  std::memcpy(gCountLayer, snapshot.counts, sizeof gCountLayer);
  SeedRandom(snapshot.random);
}

namespace {

// 64-bit FNV-1a over 32-bit numbers, least significant byte first.
class Digest {
 public:
  void Add(std::uint32_t v) {
    for (int i = 0; i < 4; ++i, v >>= 8) {
      hash_ = (hash_ ^ (v & 0xFF)) * 0x100000001B3ull;
    }
  }
  void Add(const int (&cells)[kFieldRows][kFieldCols]) {
    for (const auto& row : cells) {
      for (int v : row) Add(static_cast<std::uint32_t>(v));
    }
  }
  std::uint64_t Value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

}  // namespace

std::uint64_t StateDigest() {
  Digest d;
  for (const StateInt& s : kStateInts) d.Add(static_cast<std::uint32_t>(*s.value));
  d.Add(gObjectLayer);
  d.Add(gCountLayer);
  d.Add(RandomState());
  return d.Value();
}

std::string StateJson(std::uint64_t pass) {
  std::string out = "{\n  \"pass\": " + std::to_string(pass);
  for (const StateInt& s : kStateInts) {
    out += ",\n  \"" + std::string(s.name) + "\": " + std::to_string(*s.value);
  }
  auto layer = [&out](const char* name, const int(&cells)[kFieldRows][kFieldCols]) {
    out += ",\n  \"" + std::string(name) + "\": [";
    for (int r = 0; r < kFieldRows; ++r) {
      out += r ? ",\n    [" : "\n    [";
      for (int c = 0; c < kFieldCols; ++c) out += (c ? ", " : "") + std::to_string(cells[r][c]);
      out += "]";
    }
    out += "\n  ]";
  };
  layer("gObjectLayer", gObjectLayer);
  layer("gCountLayer", gCountLayer);
  return out + "\n}\n";
}

std::uint64_t LoadedDataDigest() {
  Digest d;
  for (const StateInt& s : kStateInts) {
    if (s.loaded) d.Add(static_cast<std::uint32_t>(*s.value));
  }
  for (int r = 0; gGroundLayer != nullptr && r < gMapRows; ++r) {
    for (int c = 0; c < gMapCols; ++c) d.Add(static_cast<std::uint32_t>(gGroundLayer[r][c]));
  }
  return d.Value();
}

namespace {

// The codes a cell of gObjectLayer can hold: the hidden ones, and the
// opened, taken and beaten ones.
bool IsCellCode(int code) {
  static constexpr int kOtherCodes[] = {CELL_OPENED,        CELL_AMMO,          CELL_SPRAY,
                                        CELL_HUNTER,        CELL_HIDDEN,        CELL_STALKER,
                                        CELL_FILE_TAKEN,    CELL_AMMO_TAKEN,    CELL_SPRAY_TAKEN,
                                        CELL_HUNTER_BEATEN, CELL_STALKER_BEATEN};
  return (code >= CELL_FILE && code < CELL_FILE + kFiles) ||
         std::find(std::begin(kOtherCodes), std::end(kOtherCodes), code) != std::end(kOtherCodes);
}

bool IsEventNumber(int n) {
  static constexpr int kNumbers[] = {
      0,  // no event yet
#define EVENT(name, ...) name,
#include "state/event_list.h"
  };
  return std::find(std::begin(kNumbers), std::end(kNumbers), n) != std::end(kNumbers);
}

bool IsFlag(int v) { return v == 0 || v == 1; }
bool Within(int v, int lo, int hi) { return v >= lo && v <= hi; }

void Add(std::string& broken, const char* what) {
  if (!broken.empty()) broken += "; ";
  broken += what;
}

}  // namespace

std::string CheckStateInvariants() {
  std::string broken;
  char line[96];
  bool objectsNamed = false;
  bool countsNamed = false;
  for (int r = 0; r < kFieldRows; ++r) {
    for (int c = 0; c < kFieldCols; ++c) {
      if (!objectsNamed && !IsCellCode(gObjectLayer[r][c])) {
        std::snprintf(line, sizeof line, "gObjectLayer[%d][%d] holds %d, not a cell code", r, c,
                      gObjectLayer[r][c]);
        Add(broken, line);
        objectsNamed = true;
      }
      if (!countsNamed && !Within(gCountLayer[r][c], 0, kMaxCount)) {
        std::snprintf(line, sizeof line, "gCountLayer[%d][%d] is %d", r, c, gCountLayer[r][c]);
        Add(broken, line);
        countsNamed = true;
      }
    }
  }
  // The view's last column and row; a map narrower than the view is never
  // loaded, and before the map is read the view stays at its corner.
  const int lastViewCol = std::max(0, gMapCols - kViewCols);
  const int lastViewRow = std::max(0, gMapRows - kScreenRows);
  const int rocketLanes = static_cast<int>(std::size(kRocketLanes));
  struct Named {
    const char* name;
    int value;
    bool ok;
  };
  const Named checks[] = {
      {"gInTitle", gInTitle, IsFlag(gInTitle)},
      {"gAlive", gAlive, IsFlag(gAlive)},
      {"gProloguePending", gProloguePending, IsFlag(gProloguePending)},
      {"gEnding", gEnding, IsFlag(gEnding)},
      {"gFieldReady", gFieldReady, IsFlag(gFieldReady)},
      {"gHardMode", gHardMode, IsFlag(gHardMode)},
      {"gWarningShown", gWarningShown, IsFlag(gWarningShown)},
      {"gPrologueClickLatch", gPrologueClickLatch, IsFlag(gPrologueClickLatch)},
      {"gMouseX", gMouseX, Within(gMouseX, 0, kScreenWidth - 1)},
      {"gMouseY", gMouseY, Within(gMouseY, 0, kScreenHeight - 1)},
      {"gLeftButton", gLeftButton, IsFlag(gLeftButton)},
      {"gWeapon", gWeapon, Within(gWeapon, WEAPON_KNIFE, WEAPON_MAGNUM)},
      {"gHealth", gHealth, gHealth <= kFullHealth},
      {"gFilesLeft", gFilesLeft, Within(gFilesLeft, 0, kFiles)},
      {"gAmmoHandgun", gAmmoHandgun, gAmmoHandgun >= 0},
      {"gAmmoShotgun", gAmmoShotgun, gAmmoShotgun >= 0},
      {"gAmmoMagnum", gAmmoMagnum, gAmmoMagnum >= 0},
      {"gAmmoShown", gAmmoShown, gAmmoShown >= -1},  // -1: the empty gun's mark
      {"gSprays", gSprays, gSprays >= 0},
      {"gGrade", gGrade, Within(gGrade, 0, kGrades)},
      {"gPortraitVariant", gPortraitVariant, Within(gPortraitVariant, 0, kPortraitVariants - 1)},
      {"gEventOpen", gEventOpen, IsFlag(gEventOpen)},
      {"gEventNumber", gEventNumber, IsEventNumber(gEventNumber)},
      {"gRocketTimer", gRocketTimer, Within(gRocketTimer, 0, kRocketDue)},
      {"gRocketActive", gRocketActive, IsFlag(gRocketActive)},
      {"gRocketColumn", gRocketColumn, Within(gRocketColumn, 0, rocketLanes)},  // 0: no lane
      {"gRocketStep", gRocketStep, Within(gRocketStep, 0, kRocketSteps)},
      {"gViewCol", gViewCol, Within(gViewCol, 0, lastViewCol)},
      {"gViewRow", gViewRow, Within(gViewRow, 0, lastViewRow)},
  };
  for (const Named& n : checks) {
    if (n.ok) continue;
    std::snprintf(line, sizeof line, "%s is %d", n.name, n.value);
    Add(broken, line);
  }
  // The dispatch takes the scene flags in any combination, but the ending
  // never runs with files left.
  if (gInTitle == 0 && gAlive == 1 && gEnding == 1 && gFilesLeft != 0) {
    Add(broken, "the ending runs with files left");
  }
  return broken;
}
