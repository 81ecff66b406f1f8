// The integer game state, listed once: each value with its start-of-program
// value. The declarations, the definitions, the reset and the names the
// replay tool sets and dumps are all made from this list, in this order (the
// order of the state dumps).
//
// Include it after defining
//   GAME_INT(name, start)    a value the reset puts back to `start`;
//   LOADED_INT(name, start)  a value a loader fills from the data files,
//                            which the reset leaves alone.
// Both are undefined again at the end. No include guard: it is meant to be
// included more than once.

// Scene flags.
GAME_INT(gInTitle, 1)
GAME_INT(gAlive, 1)
GAME_INT(gProloguePending, 1)
GAME_INT(gEnding, 0)
GAME_INT(gAppActive, 0)
GAME_INT(gFieldReady, 0)
GAME_INT(gHardMode, 0)

// Counters of single scenes.
GAME_INT(gWarningShown, 0)
GAME_INT(gTitleClickDelay, 0)
GAME_INT(gDeathFrames, 0)
GAME_INT(gEndingFrames, 0)
GAME_INT(gEndingScrollY, 880)
GAME_INT(gPrologueStep, 0)
GAME_INT(gPrologueClickLatch, 0)

// Input, written only by the window procedure.
GAME_INT(gMouseX, 0)
GAME_INT(gMouseY, 0)
GAME_INT(gLeftButton, 0)

// The player and the current game.
GAME_INT(gWeapon, 1)
GAME_INT(gHealth, 100)
GAME_INT(gFilesLeft, 5)
GAME_INT(gScore, 100)
GAME_INT(gAmmoHandgun, 0)
GAME_INT(gAmmoShotgun, 0)
GAME_INT(gAmmoMagnum, 0)
GAME_INT(gAmmoShown, 0)
GAME_INT(gSprays, 0)
GAME_INT(gEncounters, 0)
GAME_INT(gFinds, 0)
GAME_INT(gGrade, 0)
GAME_INT(gPortraitVariant, 0)

// The event window.
GAME_INT(gEventOpen, 0)
GAME_INT(gEventNumber, 0)
GAME_INT(gEventFrames, 0)
GAME_INT(gRetryCount, 0)
GAME_INT(gClickDelay, 0)

// The rocket event.
GAME_INT(gRocketTimer, 0)
GAME_INT(gRocketActive, 0)
GAME_INT(gRocketFrame, 0)
GAME_INT(gRocketColumn, 0)
GAME_INT(gRocketStep, 0)

// The view.
GAME_INT(gViewCol, 0)
GAME_INT(gViewRow, 0)

// The map's sizes, from the map file, and the sprite file's frame count.
LOADED_INT(gTileCount, 0)
LOADED_INT(gTileWidth, 0)
LOADED_INT(gTileHeight, 0)
LOADED_INT(gMapCols, 0)
LOADED_INT(gMapRows, 0)
LOADED_INT(gSpriteCount, 0)

#undef GAME_INT
#undef LOADED_INT
