// Mock-ups of the game's screens, composed from a generated data folder at
// the positions the game draws at: tiles opaque, sprite frames with black
// transparent (and left out when they would not fit), pictures copied, text
// through the platform's text route. They show whether the data lines up
// with the game before any scene runs.
#include "datakit/mockups.h"

#include <algorithm>
#include <filesystem>

#include "common/png_io.h"
#include "kit/formats.h"
#include "platform/bitmap.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace datakit {
namespace {

namespace fs = std::filesystem;
using platform::Surface;

struct Data {
  kit::MapFile map;
  kit::SpriteFile sprites;
  platform::Image eventwin, event1, event2, title, warning, died;
};

void Tile(Surface& s, const Data& d, int tile, int x, int y) {
  if (tile < 0) tile = -tile;
  if (tile >= d.map.tileCount) return;
  const std::uint8_t* px = d.map.tiles.data() + d.map.TileBytes() * static_cast<std::size_t>(tile);
  for (int r = 0; r < d.map.tileHeight; ++r) {
    if (y + r < 0 || y + r >= s.Height()) continue;
    for (int c = 0; c < d.map.tileWidth; ++c) {
      if (x + c < 0 || x + c >= s.Width()) continue;
      std::copy_n(px + 3 * (r * d.map.tileWidth + c), 3, s.Row(y + r) + 3 * (x + c));
    }
  }
}

void Sprite(Surface& s, const Data& d, int frame, int x, int y) {
  if (frame < 0 || frame >= static_cast<int>(d.sprites.frames.size())) return;
  const kit::SpriteFrameData& f = d.sprites.frames[static_cast<std::size_t>(frame)];
  // As the game's copy: a frame that does not fit is not drawn at all.
  if (x < 0 || y < 0 || x + f.width > s.Width() || y + f.height > s.Height()) return;
  for (int r = 0; r < f.height; ++r) {
    for (int c = 0; c < f.width; ++c) {
      const std::uint8_t* p = f.bgr.data() + 3 * (r * f.width + c);
      if ((p[0] | p[1] | p[2]) == 0) continue;
      std::copy_n(p, 3, s.Row(y + r) + 3 * (x + c));
    }
  }
}

void Picture(Surface& s, const platform::Image& img, int sx, int sy, int w, int h, int x, int y) {
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      if (sy + r >= img.height || sx + c >= img.width) continue;
      std::copy_n(img.pixels.data() + 3 * ((sy + r) * img.width + sx + c), 3,
                  s.Row(y + r) + 3 * (x + c));
    }
  }
}

void Text(Surface& s, const char* utf8, int x, int y) {
  const std::string cp949 = platform::Utf8ToCp949(utf8);
  platform::DrawTextCp949(s, cp949.c_str(), 0x000000, 0xFFFFFF, x, y);
}

void MapView(Surface& s, const Data& d, int viewCol, int viewRow) {
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 16; ++c) Tile(s, d, d.map.Cell(r + viewRow, c + viewCol), c * 40, r * 40);
  }
}

void Panel(Surface& s, const Data& d, int weapon, int sprays, int ammo, int health) {
  for (int p = 0; p < 3; ++p) {
    for (int c = 0; c < 16; ++c)
      Tile(s, d, d.map.Cell(d.map.rows - 3 + p, c), c * 40, (9 + p) * 40);
  }
  Sprite(s, d, weapon + 1, 368, 392);
  Sprite(s, d, sprays + 9, 525, 435);
  if (weapon == 2) Sprite(s, d, 8, 573, 414);
  if (weapon == 3) Sprite(s, d, 7, 573, 414);
  Sprite(s, d, ammo / 100 + 9, 570, 435);
  Sprite(s, d, ammo % 100 / 10 + 9, 585, 435);
  Sprite(s, d, ammo % 10 + 9, 600, 435);
  Sprite(s, d, health > 50 ? 19 : health > 20 ? 20 : 21, 368, 454);
}

void EventWindow(Surface& s, const Data& d, const platform::Image& sheet, int col, int row, int dy,
                 const char* const lines[3]) {
  Picture(s, d.eventwin, 0, 0, 317, 241, 162, 61 + dy);
  Picture(s, sheet, 160 * col, 109 * row, 160, 109, 241, 81 + dy);
  for (int i = 0; i < 3; ++i) Text(s, lines[i], 207, 226 + dy + 20 * i);
}

bool Save(const Surface& s, const fs::path& path, std::string* error) {
  return pngio::WritePng(path.string(),
                         pngio::FromBgr(s.Pixels(), s.Width(), s.Height(), s.Pitch()), error);
}

}  // namespace

bool WriteMockups(const std::string& dataDir, const std::string& outDir, std::string* error) {
  Data d;
  kit::Bytes bytes;
  std::string why;
  if (!kit::ReadFileBytes((fs::path(dataDir) / "city.map").string(), bytes, error) ||
      !kit::ParseMap(bytes, d.map, error) ||
      !kit::ReadFileBytes((fs::path(dataDir) / "WEAPON.SPR").string(), bytes, error) ||
      !kit::ParseSprites(bytes, d.sprites, error)) {
    return false;
  }
  const std::pair<const char*, platform::Image*> pictures[] = {
      {"eventwin.bmp", &d.eventwin}, {"event1.bmp", &d.event1},   {"event2.bmp", &d.event2},
      {"Title.bmp", &d.title},       {"warning.bmp", &d.warning}, {"died.bmp", &d.died}};
  for (const auto& [name, image] : pictures) {
    if (!platform::LoadBmpFile((fs::path(dataDir) / name).string().c_str(), *image)) {
      if (error != nullptr) *error = std::string("cannot read ") + name;
      return false;
    }
  }
  const fs::path out(outDir);

  // The field: a few opened cells, the hint lines of one, the highlight.
  Surface field(640, 480);
  MapView(field, d, 0, 0);
  const struct {
    int col, row, tile;
  } opened[] = {{3, 2, 36},   {4, 2, 18},   {5, 2, 54},  {4, 3, 72},  {3, 3, 366},
                {5, 3, 90},   {6, 4, 370},  {7, 4, 371}, {8, 4, 372}, {9, 4, 373},
                {10, 6, 367}, {11, 6, 374}, {12, 6, 375}};
  for (const auto& o : opened) Tile(field, d, o.tile, o.col * 40, o.row * 40);
  Panel(field, d, 2, 3, 36, 64);
  Text(field, "2개가 있습니다.", 210, 372);
  Text(field, "X:  2,  1", 135, 415);
  Text(field, "Y:  0,  2", 135, 435);
  Sprite(field, d, 0, 160, 80);
  if (!Save(field, out / "mock_field.png", error)) return false;

  // An event window over the field.
  Surface event = field;
  const char* zombie[3] = {"좀비가 나타났다!", "샷건으로 좀비를 쏘았다.", "체력이 5 줄었다."};
  EventWindow(event, d, d.event1, 0, 0, 0, zombie);
  if (!Save(event, out / "mock_event.png", error)) return false;

  // The prologue: the map's corner and the window 60 pixels lower.
  Surface prologue(640, 480);
  for (int r = 0; r < 12; ++r) {
    for (int c = 0; c < 16; ++c) Tile(prologue, d, d.map.Cell(r, c), c * 40, r * 40);
  }
  const char* page1[3] = {" 9월 28일 한낮  ", "거리에 가득찬 좀비들.", "생존자는 어디에도 없다."};
  EventWindow(prologue, d, d.event1, 0, 1, 60, page1);
  if (!Save(prologue, out / "mock_prologue.png", error)) return false;

  // The rocket: every lane and step at once, and the figure at each offset.
  Surface rocket(640, 480);
  MapView(rocket, d, 0, 0);
  Panel(rocket, d, 1, 2, 120, 30);
  for (int p : {0, 60, 120, 180}) Sprite(rocket, d, 51, 200 + p, 214);
  for (int k = 0; k < 5; ++k) {
    Sprite(rocket, d, 39 + k, 40 * k, 365 - 34 * k);
    Sprite(rocket, d, 45 + k, 510 - 40 * k, 365 - 34 * k);
  }
  if (!Save(rocket, out / "mock_rocket.png", error)) return false;

  // The ending: the coarse reveal over the field, then the credits.
  for (int step = 0; step < 3; ++step) {
    Surface ending = field;
    const int block = step == 0 ? 4 : step == 1 ? 2 : 1;
    for (int i = 0; i < 12 / block; ++i) {
      for (int j = 0; j < 16 / block; ++j) {
        Tile(ending, d, 376 + 16 * block * i + block * j, 40 * block * j, 40 * block * i);
      }
    }
    const int scroll = step == 2 ? 420 : 700;
    const int grade = 6;
    const int credits[12][3] = {{38, 160, -360}, {29, 160, -300}, {31, 360, -300},
                                {30, 160, -240}, {31, 360, -240}, {34, 160, -120},
                                {32, 160, -180}, {33, 360, -180}, {35, 160, -60},
                                {36, 360, -60},  {37, 160, 0},    {29 - grade, 400, -360}};
    for (const auto& cr : credits) Sprite(ending, d, cr[0], cr[1], scroll + cr[2]);
    if (!Save(ending, out / ("mock_ending" + std::to_string(step) + ".png"), error)) return false;
  }
  return true;
}

}  // namespace datakit
