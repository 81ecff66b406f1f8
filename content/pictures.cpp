// The seven BMP pictures: title, warning with its two start buttons, the
// event window, the two portrait sheets, the death screen and the ending
// card; and the desktop icon.
#include "common/rng.h"
#include "common/text_art.h"
#include "content/art.h"
#include "content/datakit.h"
#include "content/portraits.h"

namespace datakit {
namespace {

// The game shows a picture at its file's size, which `vedo-kit check` holds
// the generated folder to.
OutputFile Bmp(const PictureFile& file, const Canvas& c) {
  return {file.name, kit::MakeBmp24(c.W(), c.H(), c.ToBgr())};
}

// A rotting hand reaching up, its wrist at (x, y).
void ZombieHand(Canvas& c, float x, float y, float s, float tilt, Rgb colour) {
  auto P = [&](float px, float py) {
    const float cs = std::cos(tilt), sn = std::sin(tilt);
    return Pt{x + (px * cs - py * sn) * s, y + (px * sn + py * cs) * s};
  };
  auto cap = [&](float ax, float ay, float bx, float by, float r) {
    const Pt a = P(ax, ay), b = P(bx, by);
    c.Fill(CapsuleShape{a.x, a.y, b.x, b.y, r * s}, colour);
  };
  cap(0, 60, 0, 0, 9);                                                        // forearm
  c.Fill(PolyShape{{P(-14, 0), P(14, 0), P(16, -30), P(-16, -28)}}, colour);  // palm
  cap(-15, -26, -28, -44, 4);                                                 // thumb
  cap(-10, -30, -14, -62, 3.6f);
  cap(-3, -31, -4, -70, 3.8f);
  cap(5, -30, 8, -66, 3.7f);
  cap(12, -28, 19, -54, 3.2f);
  // Crooked last joints.
  cap(-14, -62, -10, -72, 3.0f);
  cap(8, -66, 14, -74, 3.0f);
}

Canvas Title(Language language) {
  Canvas c(640, 480);
  // Night sky with a blood moon over the ruined skyline.
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      Rgb col = Mix(Hex(0x06040A), Hex(0x2A0A10), std::clamp(y / 420.0f, 0.0f, 1.0f));
      const float d = std::hypot(x - 470.0f, y - 150.0f);
      col = Mix(col, Hex(0x8A1A10), std::exp(-d / 110) * 0.8f);
      c.At(x, y) = col;
    }
  }
  c.Fill(Circle(470, 150, 62), Hex(0xB83420));
  c.FillWith(Circle(470, 150, 62), [](float x, float y) {
    const float n = Fbm(x, y, 18, 4, 2001);
    return Mix(Hex(0xC8442A), Hex(0x7A1A12), n);
  });
  Rng rng(2002);
  float bx = -10;
  while (bx < 640) {
    const float w = rng.Range(26, 60);
    const float top = rng.Range(250, 340);
    c.Fill(RectShape{bx, top, bx + w, 480}, Hex(0x0A0608));
    for (float wy = top + 8; wy < 470; wy += 12) {
      for (float wx = bx + 5; wx < bx + w - 6; wx += 9) {
        if (rng.Chance(0.05f)) c.Fill(RectShape{wx, wy, wx + 3, wy + 5}, Hex(0x8A5A20));
      }
    }
    if (rng.Chance(0.5f)) {
      c.Fill(PolyShape{{{bx, top}, {bx + w * 0.6f, top - rng.Range(8, 20)}, {bx + w, top}}},
             Hex(0x0A0608));
    }
    bx += w + rng.Range(-6, 4);
  }
  // Fog.
  for (int y = 300; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const float f = Fbm(x * 1.0f, y * 2.5f, 90, 4, 2003);
      c.At(x, y) = Mix(c.At(x, y), Hex(0x3A2A30), std::clamp((f - 0.35f) * 1.2f, 0.0f, 0.6f));
    }
  }
  for (int i = 0; i < 7; ++i) {
    const float x = 40 + i * 95 + rng.Range(-20, 20);
    const float lean = rng.Range(-0.35f, 0.35f);
    const float size = rng.Range(0.9f, 1.3f);
    const float rise = rng.Range(0, 40);
    ZombieHand(c, x, 500 - rise, size, lean, Hex(0x040204));
  }
  // The name, dripping.
  TextStyle name{.colour = Hex(0xF03020),
                 .bold = 1.5f,
                 .outline = 3,
                 .outlineColour = Hex(0x140404),
                 .glowBlur = 8,
                 .glowAlpha = 0.8f,
                 .glowColour = Hex(0xA01008),
                 .gradient = true,
                 .bottomColour = Hex(0x7A0A08)};
  const TextMask title = RenderText("VEDO ZEZA1");
  float h = 120;
  if (TextWidth(title, h) > 560) h = HeightForWidth(title, 560);
  const float tw = TextWidth(title, h);
  const float tx = 320 - tw / 2, ty = 70;
  DrawText(c, title, tx, ty, h, name);
  if (title.HasInk()) {
    // Drips hang from the lowest ink of the letters above them.
    const float scale = h / title.boxH;
    int drips = 0;
    for (int tries = 0; tries < 200 && drips < 16; ++tries) {
      const float x = tx + tw * rng.Unit();
      const int u = static_cast<int>((x - tx) / scale);
      int lowest = -1;
      for (int v = title.boxH - 1; v >= 0 && lowest < 0; --v) {
        if (title.ink.At(u, v) > 0.6f) lowest = v;
      }
      if (lowest < 0 || lowest < title.inkY1 - 4) continue;
      const float top = ty + lowest * scale - 3;
      const float len = rng.Range(8, 30);
      const float w = rng.Range(1.5f, 3.0f);
      c.Fill(CapsuleShape{x, top, x, top + len, w}, Hex(0x8A0A08));
      c.Fill(Circle(x, top + len + 1, w * 1.4f), Hex(0x8A0A08));
      ++drips;
    }
  }
  TextStyle sub{.colour = Hex(0xE8DCC8),
                .outline = 2,
                .outlineColour = Hex(0x100808),
                .shadowDx = 3,
                .shadowDy = 3,
                .shadowBlur = 2,
                .shadowAlpha = 0.8f};
  const bool korean = language == Language::kKorean;
  DrawTextCentred(c, korean ? "좀비 도시에서 살아남아라" : "Survive the zombie city", 320, 232, 34,
                  sub);
  TextStyle hint = sub;
  hint.colour = Hex(0xF2C86A);
  DrawTextCentred(c, korean ? "클릭하면 시작합니다" : "Click to start", 320, 404, 26, hint);
  hint.colour = Hex(0xB8A890);
  DrawTextCentred(c, korean ? "CLICK TO START" : "Escape quits at any time", 320, 434, 20, hint);
  return c;
}

void Hazard(Canvas& c, float y0, float y1) {
  for (int y = static_cast<int>(y0); y < static_cast<int>(y1); ++y) {
    for (int x = 0; x < 640; ++x) c.At(x, y) = ((x + y) / 14) % 2 ? Hex(0x1A1A1A) : Hex(0xD8A818);
  }
}

// A start button inside the click area; bounds inclusive.
void StartButton(Canvas& c, int x0, int y0, int x1, int y1, Rgb face, const char* korean,
                 const char* latin) {
  c.Fill(RectShape{float(x0), float(y0), x1 + 1.0f, y1 + 1.0f}, Hex(0x0A0A0C));
  c.VGradient(x0 + 2, y0 + 2, x1 - 1, y1 - 1, Mix(face, Hex(0xFFFFFF), 0.25f), Shade(face, 0.6f));
  c.Bevel(x0 + 2, y0 + 2, x1 - 1, y1 - 1, 2, 0.35f, 0.45f);
  TextStyle s{
      .colour = Hex(0xFFFFFF), .bold = 0.5f, .outline = 1.5f, .outlineColour = Hex(0x101010)};
  const float cy = (y0 + y1) / 2.0f + 1;
  if (korean == nullptr) {
    DrawTextFit(c, latin, (x0 + x1) / 2.0f, cy, 24, (x1 - x0) - 24.0f, s);
    return;
  }
  // The two words side by side with a clear gap ("보통 게임  NORMAL"),
  // centred together and shrunk together if the button is too narrow.
  const TextMask ko = RenderText(korean), en = RenderText(latin);
  const float gap = 12, room = (x1 - x0) - 24.0f;
  float scale = 1;
  const float natural = TextWidth(ko, 26) + gap + TextWidth(en, 18);
  if (natural > room) scale = room / natural;
  const float koW = TextWidth(ko, 26 * scale), enW = TextWidth(en, 18 * scale);
  const float left = (x0 + x1) / 2.0f - (koW + gap * scale + enW) / 2;
  DrawTextFit(c, korean, left + koW / 2, cy, 26 * scale, koW, s);
  s.colour = Hex(0xF8E8B0);
  DrawTextFit(c, latin, left + koW + gap * scale + enW / 2, cy, 18 * scale, enW, s);
}

// A line of the English warning, centred with its top at y, made smaller
// when it would not fit the screen.
void EnglishLine(Canvas& c, const char* line, float y, float height, const TextStyle& style) {
  const TextMask text = RenderText(line);
  if (TextWidth(text, height) > 600) height = HeightForWidth(text, 600);
  DrawText(c, text, 320 - TextWidth(text, height) / 2, y, height, style);
}

Canvas Warning(Language language) {
  Canvas c(640, 480);
  c.VGradient(0, 0, 640, 480, Hex(0x1C1A1E), Hex(0x0C0A0C));
  c.Mottle(0, 0, 640, 480, 80, 0.25f, 2101);
  Hazard(c, 0, 14);
  Hazard(c, 466, 480);
  TextStyle head{.colour = Hex(0xFFD030),
                 .bold = 1,
                 .outline = 2,
                 .outlineColour = Hex(0x201000),
                 .glowBlur = 6,
                 .glowAlpha = 0.5f,
                 .glowColour = Hex(0xC08000)};
  // A warning triangle beside the heading.
  const float ty = 62;
  for (float tx : {120.0f, 520.0f}) {
    c.Fill(PolyShape{{{tx, ty - 28}, {tx + 30, ty + 24}, {tx - 30, ty + 24}}}, Hex(0xFFD030));
    c.Fill(PolyShape{{{tx, ty - 18}, {tx + 22, ty + 19}, {tx - 22, ty + 19}}}, Hex(0x1A1A1A));
    c.Fill(RectShape{tx - 3, ty - 8, tx + 3, ty + 8}, Hex(0xFFD030));
    c.Fill(Circle(tx, ty + 13, 3), Hex(0xFFD030));
  }
  const bool korean = language == Language::kKorean;
  DrawTextFit(c, korean ? "경고  WARNING" : "WARNING", 320, 62, 50, 280, head);

  StartButton(c, 63, 113, 272, 147, Hex(0x2E7A3A), korean ? "보통 게임" : nullptr,
              korean ? "NORMAL" : "NORMAL GAME");
  StartButton(c, 323, 113, 537, 147, Hex(0x9A2620), korean ? "어려운 게임" : nullptr,
              korean ? "HARD" : "HARD GAME");

  TextStyle body{.colour = Hex(0xECE6DA), .outline = 1, .outlineColour = Hex(0x080808)};
  TextStyle note = body;
  note.colour = Hex(0xF2C86A);
  const char* lines[] = {
      "이 게임에는 잔인하고 폭력적인 장면이 있습니다.",
      "마음이 약한 분은 주의하십시오.",
      "",
      "숨겨진 칸을 눌러 무기로 공격하십시오.",
      "열린 칸의 숫자는 주변 5x5 칸에 숨은 것의 수입니다.",
      "파일 다섯 개를 모두 찾으면 탈출합니다.",
      "",
  };
  TextStyle small = body;
  small.colour = Hex(0x9A948A);
  if (!korean) {
    const char* english[] = {
        "This game shows cruel and violent scenes.",
        "If you are faint of heart, take care.",
        "",
        "Click a closed cell to attack it with your weapon.",
        "An open cell's number counts what hides in the 5x5 around it.",
        "Find all five files to escape.",
        "",
    };
    float y = 176;
    for (const char* line : english) {
      if (*line != 0) EnglishLine(c, line, y, 22, body);
      y += 30;
    }
    EnglishLine(c, "Normal game: a first-aid spray brings you back to life.", 362, 22, note);
    EnglishLine(c, "Hard game: there is no coming back.", 392, 22, note);
    EnglishLine(c, "F1 options  ·  M mute  ·  F12 screenshot  ·  ESC quits", 432, 18, small);
    return c;
  }
  float y = 176;
  for (const char* line : lines) {
    if (*line != 0) DrawTextCentred(c, line, 320, y, 22, body);
    y += 30;
  }
  DrawTextCentred(c, "보통 게임: 구급 스프레이가 있으면 되살아납니다.", 320, 362, 22, note);
  DrawTextCentred(c, "어려운 게임: 되살아날 수 없습니다.", 320, 392, 22, note);
  DrawTextCentred(c, "F1 설정  ·  M 소리 끄기  ·  F12 화면 저장  ·  ESC 끝내기", 320, 432, 18,
                  small);
  return c;
}

Canvas EventWindow(Language language) {
  Canvas c(317, 241);
  c.VGradient(0, 0, 317, 241, Hex(0x50555E), Hex(0x2E3138));
  for (int y = 0; y < 241; ++y) {
    const float streak = (Hash2(1, y, 2201) - 0.5f) * 8;
    for (int x = 0; x < 317; ++x) c.At(x, y) = c.At(x, y) + Rgb{streak, streak, streak};
  }
  c.Fill(RectShape{0, 0, 317, 1}, Hex(0x0A0A0C));
  c.Fill(RectShape{0, 240, 317, 241}, Hex(0x0A0A0C));
  c.Fill(RectShape{0, 0, 1, 241}, Hex(0x0A0A0C));
  c.Fill(RectShape{316, 0, 317, 241}, Hex(0x0A0A0C));
  c.Bevel(1, 1, 316, 240, 2, 0.35f, 0.5f);
  // Title strip.
  c.VGradient(4, 4, 313, 17, Hex(0x8A1A14), Hex(0x4A0C0A));
  TextStyle t{.colour = Hex(0xF0E0C8), .outline = 1, .outlineColour = Hex(0x200404)};
  const bool korean = language == Language::kKorean;
  DrawTextFit(c, korean ? "상황 보고  SITUATION REPORT" : "SITUATION REPORT", 158, 10.5f, 13, 290,
              t);
  // The portrait's place at (79, 20), 160 x 109, in a recess.
  c.Fill(RectShape{75, 17, 243, 133}, Hex(0x0A0A0C));
  c.Fill(RectShape{77, 19, 241, 131}, Hex(0x101114));
  c.Fill(RectShape{75, 132, 243, 133}, Hex(0x8A9098));
  c.Fill(RectShape{242, 17, 243, 133}, Hex(0x8A9098));
  // Camera marks beside it: the portrait reads as a live feed.
  c.Fill(Circle(20, 30, 4), Hex(0xE02020));
  TextStyle cam{.colour = Hex(0xD8D0C0), .shadowDx = 1, .shadowDy = 1, .shadowAlpha = 0.8f};
  DrawTextAt(c, "REC", 28, 23, 13, cam);
  DrawTextAt(c, "CAM", 16, 44, 13, cam);
  DrawTextAt(c, "01", 16, 58, 13, cam);
  for (int i = 0; i < 6; ++i) {
    c.Fill(RectShape{252, 30.0f + i * 14, 306, 36.0f + i * 14}, Hex(0x1A1C20));
    c.Fill(RectShape{252, 36.0f + i * 14, 306, 37.0f + i * 14}, Hex(0x70767E), 0.6f);
  }
  for (const Pt& p :
       {Pt{10, 124}, Pt{60, 124}, Pt{256, 124}, Pt{306, 124}, Pt{10, 230}, Pt{306, 22}}) {
    c.Fill(Circle(p.x + 0.8f, p.y + 1, 2.4f), Hex(0x000000), 0.5f);
    c.Fill(Circle(p.x, p.y, 2.2f), Hex(0x8C9098));
    c.Fill(Circle(p.x - 0.7f, p.y - 0.7f, 0.9f), Hex(0xD8DCE0));
  }
  c.Fill(RectShape{8, 140, 309, 141}, Hex(0x16171A));
  c.Fill(RectShape{8, 141, 309, 142}, Hex(0x7A8088));
  // The text area: black, where three lines of white-on-black text go at
  // (45, 165), (45, 185) and (45, 205).
  c.Fill(RectShape{36, 154, 277, 235}, Hex(0x0E0F11));
  c.Fill(RectShape{38, 156, 276, 234}, Hex(0x000000));
  c.Fill(RectShape{36, 234, 277, 235}, Hex(0x8A9098));
  // The close button: x 279 to 307, y 156 to 234.
  c.Fill(RectShape{279, 156, 308, 235}, Hex(0x0A0A0C));
  c.VGradient(280, 157, 307, 234, Hex(0xB03020), Hex(0x6A1410));
  c.Bevel(280, 157, 307, 234, 2, 0.35f, 0.45f);
  c.Fill(PolyShape{{{287, 176}, {301, 186}, {287, 196}}}, Hex(0xFFF0E0));
  TextStyle b{.colour = Hex(0xFFF0E0), .outline = 1, .outlineColour = Hex(0x300808)};
  // The button's word, one letter above the other.
  DrawTextFit(c, korean ? "확" : "O", 293.5f, 210, 16, 22, b);
  DrawTextFit(c, korean ? "인" : "K", 293.5f, 225, 16, 22, b);
  return c;
}

Canvas Died(Language language) {
  Canvas c(640, 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const float d = std::hypot(x - 320.0f, y - 220.0f) / 420;
      c.At(x, y) = Mix(Hex(0x5A0808), Hex(0x080202), std::clamp(d * 1.3f, 0.0f, 1.0f));
    }
  }
  c.Mottle(0, 0, 640, 480, 50, 0.3f, 2301);
  Rng rng(2302);
  for (int i = 0; i < 26; ++i) {
    const float r = rng.Range(10, 40);
    const float y = rng.Range(0, 480);
    const float x = rng.Range(0, 640);
    DrawBlood(c, x, y, r, 2400u + static_cast<std::uint32_t>(i), 0.8f);
  }
  // Runs of blood from the top edge.
  for (int i = 0; i < 40; ++i) {
    const float x = rng.Range(0, 640), len = rng.Range(20, 150), w = rng.Range(2, 7);
    c.Fill(CapsuleShape{x, -10, x, len, w}, Hex(0x6A0606), 0.9f);
    c.Fill(Circle(x, len + w * 0.5f, w * 1.3f), Hex(0x6A0606), 0.9f);
  }
  for (int i = 0; i < 9; ++i) {
    const float lean = rng.Range(-0.4f, 0.4f);
    const float size = rng.Range(1.0f, 1.5f);
    const float rise = rng.Range(0, 60);
    const float shift = rng.Range(-15, 15);
    ZombieHand(c, i * 78.0f + shift, 520 - rise, size, lean, Hex(0x060203));
  }
  TextStyle big{.colour = Hex(0xFFE0D0),
                .bold = 1.5f,
                .outline = 3,
                .outlineColour = Hex(0x100202),
                .glowBlur = 10,
                .glowAlpha = 0.9f,
                .glowColour = Hex(0x000000),
                .gradient = true,
                .bottomColour = Hex(0xE02818)};
  DrawTextFit(c, "YOU ARE DEAD", 320, 150, 84, 560, big);
  TextStyle ko = big;
  ko.gradient = false;
  ko.colour = Hex(0xF0D8C8);
  ko.bold = 0.8f;
  ko.outline = 2;
  const bool korean = language == Language::kKorean;
  DrawTextFit(c, korean ? "당신은 죽었습니다" : "Your escape ends here", 320, 240, 44, 520, ko);
  TextStyle hint{.colour = Hex(0xC8B0A0), .outline = 2, .outlineColour = Hex(0x100202)};
  DrawTextFit(c, korean ? "클릭하면 처음 화면으로 돌아갑니다" : "Click to go back to the title",
              320, 330, 24, 520, hint);
  return c;
}

Canvas EndingCard(Language language) {
  Canvas c = PaintEnding();
  TextStyle s{.colour = Hex(0xFFF0D8),
              .bold = 1,
              .outline = 2,
              .outlineColour = Hex(0x1A0C18),
              .glowBlur = 6,
              .glowAlpha = 0.6f,
              .glowColour = Hex(0x000000)};
  DrawTextFit(c, "VEDO ZEZA1", 320, 40, 48, 420, s);
  s.colour = Hex(0xF2C86A);
  DrawTextFit(c, language == Language::kKorean ? "탈출 성공" : "ESCAPED", 320, 80, 30, 300, s);
  return c;
}

}  // namespace

Canvas PaintIcon(int size) {
  // Drawn on a 128-pixel grid, scaled by k.
  const float k = static_cast<float>(size) / 128;
  Canvas c(size, size);
  c.Fill(RoundRectShape{2 * k, 2 * k, 126 * k, 126 * k, 22 * k}, Hex(0x140A0E));
  c.FillWith(RoundRectShape{6 * k, 6 * k, 122 * k, 122 * k, 18 * k}, [k](float x, float y) {
    const float d = std::hypot(x / k - 64, y / k - 54) / 80;
    return Mix(Hex(0x5A1010), Hex(0x12060A), std::clamp(d, 0.0f, 1.0f));
  });
  c.Fill(Circle(64 * k, 50 * k, 32 * k), Hex(0xC0301E));
  c.FillWith(Circle(64 * k, 50 * k, 32 * k), [k](float x, float y) {
    return Mix(Hex(0xD04A2C), Hex(0x8A1C12), Fbm(x / k, y / k, 10, 3, 2501));
  });
  ZombieHand(c, 64 * k, 140 * k, 0.95f * k, 0.1f, Hex(0x060204));
  TextStyle s{
      .colour = Hex(0xF4E8D8), .bold = 1, .outline = 2.5f * k, .outlineColour = Hex(0x100406)};
  DrawTextFit(c, "VZ1", 64 * k, 104 * k, 40 * k, 100 * k, s);
  return c;
}

std::vector<OutputFile> MakePictures(Language language) {
  std::vector<OutputFile> files;
  files.push_back(Bmp(kTitlePicture, Title(language)));
  files.push_back(Bmp(kWarningPicture, Warning(language)));
  files.push_back(Bmp(kEventWindowPicture, EventWindow(language)));
  files.push_back(Bmp(kPortraitSheet1, PortraitSheet(1)));
  files.push_back(Bmp(kPortraitSheet2, PortraitSheet(2)));
  files.push_back(Bmp(kDeathPicture, Died(language)));
  files.push_back(Bmp(kEndingPicture, EndingCard(language)));
  // Without words, the same in every language.
  files.push_back(Bmp(kOptionsPicture, PaintOptionsPanel()));
  return files;
}

}  // namespace datakit
