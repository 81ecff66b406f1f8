// The sprite file and the animation file of the same family.
//
// Header, 32 bytes: tag "DidArid v1.0\0" in 16 bytes, version (1 or more),
// count, 8 bytes unused. A sprite file then holds count frames, each a width
// and a height and width x height pixels of 3 bytes, rows top first. An
// animation file holds count actions (see LoadAnimation).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "state/data_contract.h"

// The header's size and tag are kSpriteHeaderBytes and kSpriteTag
// (state/data_contract.h).
// No frame is larger than the screen: it could never be drawn.
inline constexpr int kSpriteMaxWidth = kScreenWidth;
inline constexpr int kSpriteMaxHeight = kScreenHeight;

int GetNumSprite(const char* fileName);
int LoadSprite(const char* fileName);

struct AnimationEntry {
  std::int32_t values[3];
};
struct AnimationFrame {
  std::int32_t values[16];
  std::vector<AnimationEntry> entries;
};
struct AnimationAction {
  std::string name;
  std::vector<AnimationFrame> frames;
};
struct Animation {
  std::int32_t reserved = 0;  // never written by the reader
  std::vector<AnimationAction> actions;
};

int GetNumAction(const char* fileName);
int LoadAnimation(const char* fileName, Animation* animation);
