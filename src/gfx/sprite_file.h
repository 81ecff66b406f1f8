// The game's sprite frames and the animation reader, over the files of
// formats/sprite_format.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/sprite_format.h"
#include "gfx/display.h"

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
