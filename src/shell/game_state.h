// The shared game state: every value that more than one part of the game
// reads or writes, as plain globals with their start-of-program values.
#pragma once

#include <cstdint>

#include "shell/handles.h"

// Weapon codes (gWeapon).
inline constexpr int WEAPON_KNIFE = 0;
inline constexpr int WEAPON_HANDGUN = 1;
inline constexpr int WEAPON_SHOTGUN = 2;
inline constexpr int WEAPON_MAGNUM = 3;

// Cell codes of gObjectLayer. 1 to 11 are hidden cells; the file cells are
// CELL_FILE to CELL_FILE + 4, one per file number.
inline constexpr int CELL_OPENED = 0;
inline constexpr int CELL_FILE = 1;
inline constexpr int CELL_AMMO = 6;
inline constexpr int CELL_SPRAY = 7;
inline constexpr int CELL_HUNTER = 8;
inline constexpr int CELL_HIDDEN = 9;
inline constexpr int CELL_STALKER = 11;
inline constexpr int CELL_FILE_TAKEN = 15;
inline constexpr int CELL_AMMO_TAKEN = 16;
inline constexpr int CELL_SPRAY_TAKEN = 17;
inline constexpr int CELL_HUNTER_BEATEN = 18;
inline constexpr int CELL_STALKER_BEATEN = 21;

inline constexpr int kFieldRows = 18;
inline constexpr int kFieldCols = 25;

// Scene flags.
extern int gInTitle;
extern int gAlive;
extern int gProloguePending;
extern int gEnding;
extern int gAppActive;
extern int gFieldReady;
extern int gHardMode;

// Counters of single scenes.
extern int gWarningShown;
extern int gTitleClickDelay;
extern int gDeathFrames;
extern int gEndingFrames;
extern int gEndingScrollY;
extern int gPrologueStep;
extern int gPrologueClickLatch;

// Input, written only by the window procedure.
extern int gMouseX;
extern int gMouseY;
extern int gLeftButton;

// The player and the current game.
extern int gWeapon;
extern int gHealth;
extern int gFilesLeft;
extern int gScore;
extern int gAmmoHandgun;
extern int gAmmoShotgun;
extern int gAmmoMagnum;
extern int gAmmoShown;
extern int gSprays;
extern int gEncounters;
extern int gFinds;
extern int gGrade;
extern int gPortraitVariant;

// The event window.
extern int gEventOpen;
extern int gEventNumber;
extern int gEventFrames;
extern int gRetryCount;
extern int gClickDelay;

// The rocket event.
extern int gRocketTimer;
extern int gRocketActive;
extern int gRocketFrame;
extern int gRocketColumn;
extern int gRocketStep;

// View and map.
extern int gViewCol;
extern int gViewRow;
extern int gTileCount;
extern int gTileWidth;
extern int gTileHeight;
extern int gMapCols;
extern int gMapRows;
extern int** gGroundLayer;  // gMapRows rows of gMapCols tile numbers
extern int gObjectLayer[kFieldRows][kFieldCols];
extern int gCountLayer[kFieldRows][kFieldCols];

// Program handles.
extern WindowHandle gWindow;
extern InstanceHandle gInstance;
extern int gSpriteCount;

// Puts every value above back to its start-of-program value. The program
// itself never calls this (it starts once); tests and the replay tool do.
// The ground layer is not freed here: it belongs to the map reader.
void ResetGameState();

// The integer values by their exact names, for the replay tool's set,
// expect and dump commands.
struct StateInt {
  const char* name;
  int* value;
};
const StateInt* StateInts(int* count);
int* FindStateInt(const char* name);
