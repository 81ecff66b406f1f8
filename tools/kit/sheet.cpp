#include "kit/sheet.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

#include "common/canvas.h"
#include "common/png_io.h"
#include "common/text_art.h"
#include "kit/formats.h"
#include "kit/game_needs.h"

namespace kit {
namespace {

namespace fs = std::filesystem;
using datakit::Canvas;
using datakit::Hex;
using datakit::RectShape;
using datakit::Rgb;

const Rgb kGround = Hex(0x202428);
const Rgb kInk = Hex(0xF4F4F0);

const datakit::TextStyle kLettering{.colour = kInk, .outline = 1, .outlineColour = Hex(0x101010)};

void Label(Canvas& c, const std::string& text, float x, float y, float height) {
  datakit::DrawTextAt(c, text, x, y, height, kLettering);
}

// Copies file pixels (B, G, R) onto the sheet; `keyed` shows black, the
// sprites' clear colour, as a checkerboard.
void Put(Canvas& c, const std::uint8_t* bgr, int w, int h, int x0, int y0, bool keyed) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = bgr + 3 * (static_cast<std::size_t>(y) * w + x);
      Rgb colour{float(p[2]), float(p[1]), float(p[0])};
      if (keyed && (p[0] | p[1] | p[2]) == 0) {
        colour = ((x / 4 + y / 4) % 2) ? Hex(0x8C8C8C) : Hex(0x6C6C6C);
      }
      if (c.Inside(x0 + x, y0 + y)) c.At(x0 + x, y0 + y) = colour;
    }
  }
}

// A sheet is for looking over: one of more pixels than this (200 MB as the
// canvas holds them) is refused before anything is drawn.
constexpr long long kMaxSheetPixels = 4096LL * 4096;

bool SheetFits(const fs::path& path, long long w, long long h, std::string* error) {
  if (w * h <= kMaxSheetPixels) return true;
  return Fail(error, path.string() + ": the sheet would be " + std::to_string(w) + " x " +
                         std::to_string(h) + " pixels, more than " +
                         std::to_string(kMaxSheetPixels) + " in all");
}

bool Save(const Canvas& c, const fs::path& path, std::string* error) {
  const std::vector<std::uint8_t> bgr = c.ToBgr();
  return pngio::WritePng(path.string(), pngio::FromBgr(bgr.data(), c.W(), c.H(), c.W() * 3), error);
}

// What each tile is to the game, shown by the colour of its number strip.
enum Role { kUnused, kField, kPanel, kOpened, kEnding, kRoles };
const Rgb kRoleColour[kRoles] = {Hex(0x3A3A3A), Hex(0x4A6A4A), Hex(0x3A5A8A), Hex(0x9A6A1A),
                                 Hex(0x7A3A7A)};
const char* const kRoleName[kRoles] = {"in no drawn cell", "field (map rows 0-17)",
                                       "panel (rows 18-20, columns 0-15)",
                                       "opened cells (fixed numbers)", "ending picture (fixed)"};

bool TileSheet(const MapFile& map, const fs::path& out, std::string* error) {
  std::vector<Role> role(static_cast<std::size_t>(map.tileCount), kUnused);
  auto mark = [&](std::int64_t tile, Role r) {
    if (tile >= 0 && tile < map.tileCount && role[static_cast<std::size_t>(tile)] < r) {
      role[static_cast<std::size_t>(tile)] = r;
    }
  };
  for (int r = 0; r < map.rows; ++r) {
    for (int c = 0; c < map.cols; ++c) {
      if (!CellIsDrawn(r, c)) continue;
      const std::int64_t v = map.Cell(r, c);
      mark(v < 0 ? -v : v, r < kFieldRows ? kField : kPanel);
    }
  }
  for (const TileNeed& t : FixedTiles()) {
    mark(t.tile, t.what == "ending picture" ? kEnding : kOpened);
  }
  const int columns = 16, tw = map.tileWidth, th = map.tileHeight;
  const int strip = 14, cellW = std::max(tw, 34) + 4, cellH = th + strip + 6;
  const int legendH = 26 + 18 * 3;
  const int rows = (map.tileCount + columns - 1) / columns;
  const int width = columns * cellW + 8, height = legendH + std::max(rows, 1) * cellH + 8;
  if (!SheetFits(out, width, height, error)) return false;
  Canvas c(width, height, kGround);
  Label(c,
        "city.map: " + std::to_string(map.tileCount) + " tiles of " + std::to_string(tw) + " x " +
            std::to_string(th) + "; the strip's colour tells what the game draws it as",
        8, 4, 15);
  for (int r = 0; r < kRoles; ++r) {
    const float x = 8 + (r % 2) * 330.0f, y = 26 + (r / 2) * 18.0f;
    c.Fill(RectShape{x, y + 2, x + 24, y + 14}, kRoleColour[r]);
    Label(c, kRoleName[r], x + 30, y, 13);
  }
  for (int i = 0; i < map.tileCount; ++i) {
    const int x = 4 + (i % columns) * cellW, y = legendH + (i / columns) * cellH;
    const int tx = x + (cellW - tw) / 2;
    Put(c, map.tiles.data() + map.TileBytes() * static_cast<std::size_t>(i), tw, th, tx, y, false);
    const Rgb strip_colour = kRoleColour[role[static_cast<std::size_t>(i)]];
    c.Fill(RectShape{float(x), float(y + th + 1), float(x + cellW - 2), float(y + th + 1 + strip)},
           strip_colour);
    datakit::DrawTextFit(c, std::to_string(i), x + (cellW - 2) / 2.0f, y + th + 1 + strip / 2.0f,
                         12, cellW - 4.0f, kLettering);
  }
  return Save(c, out, error);
}

bool FrameSheet(const SpriteFile& sprites, const fs::path& out, std::string* error) {
  const int width = 1000, gap = 10, labelH = 16;
  // Lay the frames out in rows first, to know the height.
  struct Place {
    int x, y;
  };
  std::vector<Place> places;
  std::vector<std::string> labels;
  int x = 8, y = 44, rowH = 0;
  for (std::size_t i = 0; i < sprites.frames.size(); ++i) {
    const SpriteFrameData& f = sprites.frames[i];
    labels.push_back(std::to_string(i) + "  " + std::to_string(f.width) + " x " +
                     std::to_string(f.height));
    const float labelW = datakit::TextWidth(datakit::RenderText(labels.back()), 13);
    const int w = std::max(f.width, static_cast<int>(labelW) + 4);
    if (x + w > width - 8 && x > 8) {
      x = 8;
      y += rowH + gap;
      rowH = 0;
    }
    places.push_back({x, y});
    x += w + gap;
    rowH = std::max(rowH, labelH + std::max(f.height, 8));
  }
  if (!SheetFits(out, width, y + rowH + 8, error)) return false;
  Canvas c(width, y + rowH + 8, kGround);
  Label(c,
        "WEAPON.SPR: " + std::to_string(sprites.frames.size()) +
            " frames, number and size above each; the checkerboard is black, the clear colour",
        8, 4, 15);
  Label(c, "(0, 0, 0) never shows; (0, 0, 1) is the darkest colour that does", 8, 22, 13);
  for (std::size_t i = 0; i < sprites.frames.size(); ++i) {
    const SpriteFrameData& f = sprites.frames[i];
    const Place& p = places[i];
    Label(c, labels[i], p.x, p.y, 13);
    if (f.width == 0 || f.height == 0) continue;
    const int fy = p.y + labelH;
    c.Fill(RectShape{p.x - 1.0f, fy - 1.0f, p.x + f.width + 1.0f, fy + f.height + 1.0f},
           Hex(0xC0C0C0));
    Put(c, f.bgr.data(), f.width, f.height, p.x, fy, true);
  }
  return Save(c, out, error);
}

}  // namespace

bool WriteSheets(const std::string& dir, const std::string& outDir, std::string* error) {
  const fs::path root(dir), out(outDir);
  Bytes bytes;
  MapFile map;
  SpriteFile sprites;
  std::string why;
  const std::string mapPath = (root / kMapFileName).string();
  const std::string sprPath = (root / kSpriteFileName).string();
  if (!ReadFileBytes(mapPath, bytes, error)) return false;
  if (!ReadWholeMap(bytes, map, &why)) return Fail(error, mapPath + ": " + why);
  if (!ReadFileBytes(sprPath, bytes, error)) return false;
  if (!ReadWholeSprites(bytes, sprites, &why)) return Fail(error, sprPath + ": " + why);
  std::error_code ec;
  fs::create_directories(out, ec);
  if (ec) return Fail(error, "cannot create " + out.string() + ": " + ec.message());
  return TileSheet(map, out / "tiles.png", error) && FrameSheet(sprites, out / "frames.png", error);
}

}  // namespace kit
