#include "shell/game_state.h"

#include <cstring>

int gInTitle = 1;
int gAlive = 1;
int gProloguePending = 1;
int gEnding = 0;
int gAppActive = 0;
int gFieldReady = 0;
int gHardMode = 0;

int gWarningShown = 0;
int gTitleClickDelay = 0;
int gDeathFrames = 0;
int gEndingFrames = 0;
int gEndingScrollY = 880;
int gPrologueStep = 0;
int gPrologueClickLatch = 0;

int gMouseX = 0;
int gMouseY = 0;
int gLeftButton = 0;

int gWeapon = 1;
int gHealth = 100;
int gFilesLeft = 5;
int gScore = 100;
int gAmmoHandgun = 0;
int gAmmoShotgun = 0;
int gAmmoMagnum = 0;
int gAmmoShown = 0;
int gSprays = 0;
int gEncounters = 0;
int gFinds = 0;
int gGrade = 0;
int gPortraitVariant = 0;

int gEventOpen = 0;
int gEventNumber = 0;
int gEventFrames = 0;
int gRetryCount = 0;
int gClickDelay = 0;

int gRocketTimer = 0;
int gRocketActive = 0;
int gRocketFrame = 0;
int gRocketColumn = 0;
int gRocketStep = 0;

int gViewCol = 0;
int gViewRow = 0;
int gTileCount = 0;
int gTileWidth = 0;
int gTileHeight = 0;
int gMapCols = 0;
int gMapRows = 0;
int** gGroundLayer = nullptr;
int gObjectLayer[kFieldRows][kFieldCols] = {};
int gCountLayer[kFieldRows][kFieldCols] = {};

WindowHandle gWindow = nullptr;
InstanceHandle gInstance = nullptr;
int gSpriteCount = 0;

namespace {

struct Initial {
  int* value;
  int start;
};

// Every scalar with its start value; the map sizes are the reader's and are
// left out of the reset.
const Initial kInitial[] = {
    {&gInTitle, 1},         {&gAlive, 1},          {&gProloguePending, 1},
    {&gEnding, 0},          {&gAppActive, 0},      {&gFieldReady, 0},
    {&gHardMode, 0},        {&gWarningShown, 0},   {&gTitleClickDelay, 0},
    {&gDeathFrames, 0},     {&gEndingFrames, 0},   {&gEndingScrollY, 880},
    {&gPrologueStep, 0},    {&gPrologueClickLatch, 0},
    {&gMouseX, 0},          {&gMouseY, 0},         {&gLeftButton, 0},
    {&gWeapon, 1},          {&gHealth, 100},       {&gFilesLeft, 5},
    {&gScore, 100},         {&gAmmoHandgun, 0},    {&gAmmoShotgun, 0},
    {&gAmmoMagnum, 0},      {&gAmmoShown, 0},      {&gSprays, 0},
    {&gEncounters, 0},      {&gFinds, 0},          {&gGrade, 0},
    {&gPortraitVariant, 0}, {&gEventOpen, 0},      {&gEventNumber, 0},
    {&gEventFrames, 0},     {&gRetryCount, 0},     {&gClickDelay, 0},
    {&gRocketTimer, 0},     {&gRocketActive, 0},   {&gRocketFrame, 0},
    {&gRocketColumn, 0},    {&gRocketStep, 0},     {&gViewCol, 0},
    {&gViewRow, 0},
};

#define VEDO_STATE(name) {#name, &name}
const StateInt kStateInts[] = {
    VEDO_STATE(gInTitle),         VEDO_STATE(gAlive),
    VEDO_STATE(gProloguePending), VEDO_STATE(gEnding),
    VEDO_STATE(gAppActive),       VEDO_STATE(gFieldReady),
    VEDO_STATE(gHardMode),        VEDO_STATE(gWarningShown),
    VEDO_STATE(gTitleClickDelay), VEDO_STATE(gDeathFrames),
    VEDO_STATE(gEndingFrames),    VEDO_STATE(gEndingScrollY),
    VEDO_STATE(gPrologueStep),    VEDO_STATE(gPrologueClickLatch),
    VEDO_STATE(gMouseX),          VEDO_STATE(gMouseY),
    VEDO_STATE(gLeftButton),      VEDO_STATE(gWeapon),
    VEDO_STATE(gHealth),          VEDO_STATE(gFilesLeft),
    VEDO_STATE(gScore),           VEDO_STATE(gAmmoHandgun),
    VEDO_STATE(gAmmoShotgun),     VEDO_STATE(gAmmoMagnum),
    VEDO_STATE(gAmmoShown),       VEDO_STATE(gSprays),
    VEDO_STATE(gEncounters),      VEDO_STATE(gFinds),
    VEDO_STATE(gGrade),           VEDO_STATE(gPortraitVariant),
    VEDO_STATE(gEventOpen),       VEDO_STATE(gEventNumber),
    VEDO_STATE(gEventFrames),     VEDO_STATE(gRetryCount),
    VEDO_STATE(gClickDelay),      VEDO_STATE(gRocketTimer),
    VEDO_STATE(gRocketActive),    VEDO_STATE(gRocketFrame),
    VEDO_STATE(gRocketColumn),    VEDO_STATE(gRocketStep),
    VEDO_STATE(gViewCol),         VEDO_STATE(gViewRow),
    VEDO_STATE(gTileCount),       VEDO_STATE(gTileWidth),
    VEDO_STATE(gTileHeight),      VEDO_STATE(gMapCols),
    VEDO_STATE(gMapRows),         VEDO_STATE(gSpriteCount),
};
#undef VEDO_STATE

}  // namespace

void ResetGameState() {
  for (const Initial& i : kInitial) *i.value = i.start;
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
