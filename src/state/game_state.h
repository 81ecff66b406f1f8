// The shared game state: every value that more than one part of the game
// reads or writes, as plain globals with their start-of-program values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/handles.h"

// ---- The values the state takes, by name -------------------------------------

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

// The five files, one on each of the cells CELL_FILE to CELL_FILE + 4.
inline constexpr int kFiles = 5;
// The largest count a cell of gCountLayer holds.
inline constexpr int kMaxCount = 7;

inline constexpr int kFieldRows = 18;
inline constexpr int kFieldCols = 25;

// Event numbers (gEventNumber): the page the event window shows
// (state/event_list.h). 0 before the first event.
#define EVENT(name, number, ...) inline constexpr int name = number;
#include "state/event_list.h"

// The health a game starts with and a spray heals up to.
inline constexpr int kFullHealth = 100;
// The zombie's portraits (gPortraitVariant), drawn at random.
inline constexpr int kPortraitVariants = 3;
// gRocketTimer counts the field's passes up to this one, when the rocket
// fires.
inline constexpr int kRocketDue = 1000;

// ---- The state ----------------------------------------------------------------

// The integer values, declared from their list.
#define GAME_INT(name, start) extern int name;
#define LOADED_INT(name, start) extern int name;
#include "state/game_state_list.h"

// The map's ground layer and the field's two cell layers.
extern int** gGroundLayer;  // gMapRows rows of gMapCols tile numbers
extern int gObjectLayer[kFieldRows][kFieldCols];
extern int gCountLayer[kFieldRows][kFieldCols];

// Program handles.
extern WindowHandle gWindow;
extern InstanceHandle gInstance;

// Puts every GAME_INT of the list and the two cell layers back to their
// start-of-program values. The program itself never calls this (it starts
// once); tests and the replay tool do. What the readers loaded (the map's
// sizes, the ground layer, the sprite count) stays: it belongs to them.
void ResetGameState();

// Back to the title with a fresh game to come, as the death screen and the
// ending leave: the scene flags, health, files and prologue. The weapon,
// ammunition, sprays, score and map are left alone: the next game's
// population sets them.
void ResetForNextGame();

// The integer values by their exact names, for the replay tool's set,
// expect and dump commands.
struct StateInt {
  const char* name;
  int* value;
  bool loaded;  // a LOADED_INT, which the reset leaves alone
};
const StateInt* StateInts(int* count);
int* FindStateInt(const char* name);

// What a game goes on from: every GAME_INT of the list, in its order, both
// cell layers and the random generator's state. (The loaded values are the
// data's, named by LoadedDataDigest.) A recording starts from one.
struct StateSnapshot {
  std::vector<int> ints;
  int objects[kFieldRows][kFieldCols] = {};
  int counts[kFieldRows][kFieldCols] = {};
  std::uint32_t random = 1;
};
// How many GAME_INTs the list holds, and where the one named is among them
// (-1 for none).
int GameIntCount();
int GameIntIndex(const char* name);
StateSnapshot TakeSnapshot();
// Puts the snapshot's values in place; `snapshot.ints` holds GameIntCount().
void RestoreSnapshot(const StateSnapshot& snapshot);

// The game state's digest: every integer of the list, then both cell layers
// row by row, then the random generator's state, each as four bytes, least
// significant first, through 64-bit FNV-1a. The same state gives the same
// digest on every platform.
std::uint64_t StateDigest();
// The same over what the game plays by of its data: the loaded integers and
// the map's ground layer. Two data folders with the same digest play a game
// alike, whatever their pictures and sounds.
std::uint64_t LoadedDataDigest();

// The state as JSON after `pass` passes: the pass, every integer of the list
// by its name, and both layers, row by row; the replay tool's dumps.
std::string StateJson(std::uint64_t pass);

// What is broken in the state, each broken rule named with the value that
// breaks it, separated by "; " (the first cell of each layer only); empty
// when the state is one the game can be in. The soak tool checks it after
// every pass and the replay tool after every expect.
std::string CheckStateInvariants();
