#include "glyphatlas/world_letters.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <utility>

namespace glyphs {
namespace {

using platform::AtlasGlyph;

// ---- Shapes ----------------------------------------------------------------

// A set pixel: x from the pen position, y the line cell's row.
struct Pixel {
  int x;
  int y;
  auto operator<=>(const Pixel&) const = default;
};
using Ink = std::vector<Pixel>;

struct Shape {
  int advance = 0;
  Ink ink;
};

struct Box {
  int left = INT_MAX;
  int top = INT_MAX;
  int right = INT_MIN;  // inclusive
  int bottom = INT_MIN;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

Box Bounds(const Ink& ink) {
  Box b;
  for (const Pixel& p : ink) {
    b.left = std::min(b.left, p.x), b.right = std::max(b.right, p.x);
    b.top = std::min(b.top, p.y), b.bottom = std::max(b.bottom, p.y);
  }
  return b;
}

Ink Moved(Ink ink, int dx, int dy) {
  for (Pixel& p : ink) p.x += dx, p.y += dy;
  return ink;
}

// With its top-left corner at (0, 0).
Ink Normalized(const Ink& ink) {
  const Box b = Bounds(ink);
  return ink.empty() ? ink : Moved(ink, -b.left, -b.top);
}

// Turned left for right (`across`), or top for bottom, about its own box.
Ink Mirrored(Ink ink, bool across) {
  const Box b = Bounds(ink);
  for (Pixel& p : ink) (across ? p.x = b.left + b.right - p.x : p.y = b.top + b.bottom - p.y);
  return ink;
}

void Add(Shape& shape, const Ink& ink) {
  shape.ink.insert(shape.ink.end(), ink.begin(), ink.end());
}

// Shifted so that its ink starts one pixel right of the pen and ends one
// pixel (two for a narrow one) before the advance: the face's Latin spacing.
Shape Respaced(Shape s) {
  if (s.ink.empty()) return s;
  const Box b = Bounds(s.ink);
  s.ink = Moved(std::move(s.ink), 1 - b.left, 0);
  s.advance = b.Width() + (b.Width() <= 2 ? 3 : 2);
  return s;
}

// The shape grown where its ink reaches out of its advance: the pen moves
// past all of it, with the bearings the face's Latin has.
Shape Fitted(Shape s) {
  const Box b = Bounds(s.ink);
  if (b.left < 0) {
    s.ink = Moved(std::move(s.ink), -b.left, 0);
    s.advance -= b.left;
  }
  s.advance = std::max(s.advance, Bounds(s.ink).right + 2);
  return s;
}

Shape ShapeOf(const AtlasGlyph& g) {
  Shape s{g.advance, {}};
  for (int r = 0; r < g.height; ++r) {
    for (int c = 0; c < g.width; ++c) {
      if (g.ink[static_cast<std::size_t>(r) * g.width + c] != 0)
        s.ink.push_back({g.left + c, g.top + r});
    }
  }
  return s;
}

AtlasGlyph GlyphOf(char32_t cp, Shape s) {
  AtlasGlyph g;
  g.codePoint = cp;
  g.advance = s.advance;
  std::sort(s.ink.begin(), s.ink.end());
  s.ink.erase(std::unique(s.ink.begin(), s.ink.end()), s.ink.end());
  if (s.ink.empty()) return g;
  const Box b = Bounds(s.ink);
  g.left = b.left;
  g.top = b.top;
  g.width = b.Width();
  g.height = b.Height();
  g.ink.assign(static_cast<std::size_t>(g.width) * g.height, 0);
  for (const Pixel& p : s.ink) {
    g.ink[static_cast<std::size_t>(p.y - b.top) * g.width + (p.x - b.left)] = 1;
  }
  return g;
}

// ---- What each letter is made of --------------------------------------------

enum class Mark {
  kGrave,
  kAcute,
  kCircumflex,
  kTilde,
  kMacron,
  kBreve,
  kDot,
  kDiaeresis,
  kRing,
  kDoubleAcute,
  kCaron,
  kHook,
  kTurnedComma,
  kCedilla,
  kOgonek,
  kDotBelow,
  kCommaBelow,
  kApostrophe,  // beside the letter: the caron of ď, ľ, ť, Ľ
  kHorn,        // at the letter's upper right
  kTonos,       // before a Greek capital
  kStroke,      // across the letter's stem
};

// Each letter of `letters` is its base in `bases`, at the same place, with
// the mark. A base may itself be made here.
struct Marked {
  Mark mark;
  std::u32string_view letters;
  std::u32string_view bases;
};
constexpr Marked kMarked[] = {
    {Mark::kGrave, U"ÀÈÌÒÙàèìòùỲỳẦầỀềỒồẰằỜờỪừЀѐЍѝ", U"AEIOUaeıouYyÂâÊêÔôĂăƠơƯưEeИи"},
    {Mark::kAcute, U"ÁÉÍÓÚÝáéíóúýĆćĹĺŃńŔŕŚśŹźẤấẾếỐốẮắỚớỨứЃѓЌќάέήίόύώΐΰ",
     U"AEIOUYaeıouyCcLlNnRrSsZzÂâÊêÔôĂăƠơƯưГгKкαεηιουωϊϋ"},
    {Mark::kCircumflex, U"ÂÊÎÔÛâêîôûĈĉĜĝĤĥĴĵŜŝŴŵŶŷ", U"AEIOUaeıouCcGgHhJȷSsWwYy"},
    {Mark::kTilde, U"ÃÑÕãñõĨĩŨũẪẫỄễỖỗẴẵỠỡỮữẼẽỸỹ", U"ANOanoIıUuÂâÊêÔôĂăƠơƯưEeYy"},
    {Mark::kMacron, U"ĀāĒēĪīŌōŪū", U"AaEeIıOoUu"},
    {Mark::kBreve, U"ĂăĔĕĞğĬĭŎŏŬŭЎў", U"AaEeGgIıOoUuYy"},
    {Mark::kDot, U"ĊċĖėĠġİŻż", U"CcEeGgIZz"},
    {Mark::kDiaeresis, U"ÄËÏÖÜŸäëïöüÿЁёЇїΪΫϊϋ", U"AEIOUYaeıouyEeIıIYιυ"},
    {Mark::kRing, U"ÅåŮů", U"AaUu"},
    {Mark::kDoubleAcute, U"ŐőŰű", U"OoUu"},
    {Mark::kCaron, U"ČčĎĚěŇňŘřŠšŤŽž", U"CcDEeNnRrSsTZz"},
    {Mark::kHook, U"ẢảẺẻỈỉỎỏỦủỶỷẨẩỂểỔổẲẳỞởỬử", U"AaEeIıOoUuYyÂâÊêÔôĂăƠơƯư"},
    {Mark::kTurnedComma, U"ģ", U"g"},
    {Mark::kCedilla, U"ÇçŞşŢţŅņĶķĻļŖŗĢ", U"CcSsTtNnKkLlRrG"},
    {Mark::kOgonek, U"ĄąĘęĮįŲų", U"AaEeIiUu"},
    {Mark::kDotBelow, U"ẠạẸẹỊịỌọỤụỴỵẬậỆệỘộẶặỢợỰự", U"AaEeIiOoUuYyÂâÊêÔôĂăƠơƯư"},
    {Mark::kCommaBelow, U"ȘșȚț", U"SsTt"},
    {Mark::kApostrophe, U"ďľťĽ", U"dltL"},
    {Mark::kHorn, U"ƠơƯư", U"OoUu"},
    {Mark::kTonos, U"ΆΈΉΊΌΎΏ", U"ΑΕΗΙΟΥΩ"},
    {Mark::kStroke, U"Łł", U"Ll"},
};

// Letters that look the same: each of `letters` drawn as the one at the
// same place in `as`.
constexpr std::u32string_view kAlike[][2] = {
    {U"ΑΒΕΖΗΙΚΜΝΟΡΤΥΧοµ", U"ABEZHIKMNOPTYXoμ"},
    {U"АВЕКМНОРСТХЅІЈаеорсухѕіјћ", U"ABEKMHOPCTXSIJaeopcyxsijħ"},
    // The hyphens and the shorter dashes (the face's hyphen is dash-wide
    // already), Greek's question mark and upper stop, the low quote, Đ.
    {U"\u2010\u2011\u2012\u2013\u037E\u0387‚Đ", U"----;\u00B7,Ð"},
    // Latin-1's signs that KS X 1001 has only in their full-width forms.
    {U"£¥¬¯©®", U"￡￥￢￣ⓒⓡ"},
};

// Made by the steps of `Letters::MakeSpecial`.
enum class Step {
  kDotless,     // the letter without its dot
  kBlank,       // no ink, a blank's advance
  kDash,        // the hyphen drawn across a whole Hangul cell
  kRaised,      // the comma raised to where the apostrophe stands
  kTurned,      // the raised comma turned upside down
  kPair,        // two of `from`, side by side
  kThree,       // three of `from`, side by side
  kSmall,       // `from` at half the size, on the lower-case letters' middle
  kMirrored,    // `from` turned left for right
  kEuro,        // the C with two bars
  kFinalSigma,  // the c running into a tail below the line
  kUpturn,      // `from` with its top stroke turned up at the right
  kDescender,   // `from` with a stem below its middle
  kJoined,      // `from` and `also`, the second's stem on the first's
  kLowered,     // `from` moved down to stand on the baseline
};
struct Special {
  char32_t letter;
  Step step;
  char32_t from = 0;
  char32_t also = 0;
};
constexpr Special kSpecial[] = {
    {U'ı', Step::kDotless, U'i'},      {U'ȷ', Step::kDotless, U'j'},
    {U'\u00A0', Step::kBlank},         {U'\u2014', Step::kDash, U'-'},
    {U'\u2015', Step::kDash, U'-'},    {U'’', Step::kRaised, U','},
    {U'‘', Step::kTurned, U','},       {U'“', Step::kPair, U'‘'},
    {U'”', Step::kPair, U'’'},         {U'„', Step::kPair, U','},
    {U'…', Step::kThree, U'.'},        {U'•', Step::kSmall, U'●'},
    {U'‹', Step::kSmall, U'<'},        {U'›', Step::kSmall, U'>'},
    {U'«', Step::kPair, U'‹'},         {U'»', Step::kPair, U'›'},
    {U'€', Step::kEuro, U'C'},         {U'ς', Step::kFinalSigma, U'c'},
    {U'Є', Step::kMirrored, U'Э'},     {U'є', Step::kMirrored, U'э'},
    {U'Ґ', Step::kUpturn, U'Г'},       {U'ґ', Step::kUpturn, U'г'},
    {U'Џ', Step::kDescender, U'П'},    {U'џ', Step::kDescender, U'п'},
    {U'Љ', Step::kJoined, U'Л', U'Ь'}, {U'Њ', Step::kJoined, U'Н', U'Ь'},
    {U'љ', Step::kJoined, U'л', U'ь'}, {U'њ', Step::kJoined, U'н', U'ь'},
    {U'、', Step::kLowered, U'、'},    {U'。', Step::kLowered, U'。'},
};

// The face's own letters and signs that the Unicode route spaces like its
// Latin: every glyph it has in these blocks that is not made otherwise.
constexpr std::pair<char32_t, char32_t> kRespacedBlocks[] = {
    {0x00A1, 0x017F},  // Latin-1's signs and letters, Latin Extended-A
    {0x0370, 0x03FF},  // Greek
    {0x0400, 0x04FF},  // Cyrillic
    {0x2010, 0x205E},  // general punctuation
};

bool Respaceable(char32_t cp) {
  // The soft hyphen shows only where a line breaks, and the game's never do.
  return cp != 0x00AD &&
         std::any_of(std::begin(kRespacedBlocks), std::end(kRespacedBlocks),
                     [cp](const auto& block) { return cp >= block.first && cp <= block.second; });
}

// ---- Making them ---------------------------------------------------------------

// The smallest size a letter is drawn at to make room for its marks.
constexpr int kSmallestLetter = 11;

class Letters {
 public:
  Letters(const Face& face, const std::vector<AtlasGlyph>& shared) : face_(face) {
    for (const AtlasGlyph& g : shared) shared_.emplace(g.codePoint, &g);
    for (const Marked& row : kMarked) {
      for (std::size_t i = 0; i < row.letters.size() && i < row.bases.size(); ++i) {
        marked_[row.letters[i]] = {row.bases[i], row.mark};
      }
    }
    for (const auto& [letters, as] : kAlike) {
      for (std::size_t i = 0; i < letters.size() && i < as.size(); ++i) alike_[letters[i]] = as[i];
    }
    for (const Special& s : kSpecial) special_[s.letter] = s;
    xTop_ = Top(U'x');
    baseline_ = Bounds(Make(U'.')->ink).bottom;
    quoteTop_ = Top(U'\'');
  }

  // Every letter the Unicode route has of its own, in code point order.
  std::vector<AtlasGlyph> All() {
    std::set<char32_t> wanted;
    for (const auto& entry : marked_) wanted.insert(entry.first);
    for (const auto& entry : alike_) wanted.insert(entry.first);
    for (const auto& entry : special_) wanted.insert(entry.first);
    for (const auto& entry : shared_) {
      if (Respaceable(entry.first)) wanted.insert(entry.first);
    }
    std::vector<AtlasGlyph> out;
    for (char32_t cp : wanted) {
      if (std::optional<Shape> s = Make(cp)) out.push_back(GlyphOf(cp, *std::move(s)));
    }
    return out;
  }

 private:
  int Top(char32_t cp) { return Bounds(Make(cp)->ink).top; }

  // The letter at `pixels`; none where neither the face nor a step has it.
  std::optional<Shape> Make(char32_t cp, int pixels = kPixelSize) {
    const bool full = pixels == kPixelSize;
    if (full) {
      if (const auto it = made_.find(cp); it != made_.end()) return it->second;
    }
    std::optional<Shape> s;
    if (const auto m = marked_.find(cp); m != marked_.end()) {
      // A capital whose marks do not fit over it is drawn smaller.
      for (int px = pixels; !s && px >= kSmallestLetter; --px) {
        s = Make(m->second.first, px);
        if (s && !Place(*s, m->second.second)) s.reset();
      }
    } else if (const auto a = alike_.find(cp); a != alike_.end()) {
      s = Make(a->second, pixels);
    } else if (const auto sp = special_.find(cp); sp != special_.end()) {
      s = MakeSpecial(sp->second, pixels);
    } else {
      s = Plain(cp, pixels);
    }
    if (full && s) made_[cp] = *s;
    return s;
  }

  // The face's own glyph; outside ASCII spaced like its Latin, but for the
  // signs and letters of Chinese, Japanese and Korean, which keep their
  // cell.
  std::optional<Shape> Plain(char32_t cp, int pixels) {
    Shape s;
    if (const auto it = shared_.find(cp); pixels == kPixelSize && it != shared_.end()) {
      s = ShapeOf(*it->second);
    } else {
      s = ShapeOf(face_.Render(cp, pixels));
    }
    if (s.ink.empty()) return std::nullopt;
    const bool proportional = cp >= 0x80 && (cp < 0x2E80 || cp >= 0xFF01);
    return proportional ? Respaced(std::move(s)) : s;
  }

  // The face's rendering of a sign, as ink with its corner at (0, 0).
  Ink Sign(char32_t cp, int pixels, bool hinted = true) {
    return Normalized(ShapeOf(face_.Render(cp, pixels, hinted)).ink);
  }

  // The shapes a mark can take, the largest first: the face's own signs at
  // the sizes where they keep their form.
  std::vector<Ink> MarkShapes(Mark mark) {
    const auto acutes = [this] { return std::vector<Ink>{Sign(U'´', 16), Sign(U'´', 12)}; };
    const auto circumflexes = [this] { return std::vector<Ink>{Sign(U'^', 16)}; };
    std::vector<Ink> out;
    switch (mark) {
      case Mark::kAcute:
      case Mark::kTonos:
      case Mark::kHorn:
        return acutes();
      case Mark::kStroke:
        // A slash's stroke, at the slant of the acute.
        return {Ink{{0, 3}, {1, 2}, {2, 1}, {3, 0}}};
      case Mark::kGrave:
        for (const Ink& acute : acutes()) out.push_back(Mirrored(acute, true));
        return out;
      case Mark::kCircumflex:
        return circumflexes();
      case Mark::kCaron:
        for (const Ink& c : circumflexes()) out.push_back(Mirrored(c, false));
        return out;
      case Mark::kTilde:
        return {Sign(U'∼', 14), Sign(U'∼', 12)};
      case Mark::kMacron:
        // The hyphen's stroke, as wide as a lower-case letter.
        return {Normalized(Ink{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}),
                Normalized(Ink{{0, 0}, {1, 0}, {2, 0}})};
      case Mark::kBreve:
        return {Sign(U'˘', 13, false), Sign(U'˘', 10)};
      case Mark::kDot:
        return {Sign(U'.', 12)};  // a pixel, as the i's
      case Mark::kDiaeresis:
        return {Sign(U'¨', 16), Sign(U'¨', 9)};
      case Mark::kRing:
        return {Sign(U'°', 12), Sign(U'°', 8)};
      case Mark::kDoubleAcute:
        for (Ink two : acutes()) {
          const Ink second = Moved(two, Bounds(two).Width() + 1, 0);
          two.insert(two.end(), second.begin(), second.end());
          out.push_back(std::move(two));
        }
        return out;
      case Mark::kHook:
        return {Sign(U',', 12)};
      case Mark::kTurnedComma:
        return {Mirrored(Mirrored(Sign(U',', 12), true), false)};
      case Mark::kCedilla:
        return {Sign(U'¸', 16), Sign(U'¸', 12)};
      case Mark::kOgonek:
        return {Sign(U'˛', 16), Sign(U'˛', 10)};
      case Mark::kDotBelow:
        return {Sign(U'.', 16), Sign(U'.', 12)};
      case Mark::kCommaBelow:
        return {Sign(U',', 12), Sign(U',', 9)};
      case Mark::kApostrophe:
        return {Sign(U'’', 12), Sign(U',', 9)};
    }
    return out;
  }

  // Puts the mark on the shape; false where no form of it fits the cell.
  bool Place(Shape& s, Mark mark) {
    const Box b = Bounds(s.ink);
    const int cell = face_.LineCell();
    const std::vector<Ink> shapes = MarkShapes(mark);
    switch (mark) {
      case Mark::kCedilla:
      case Mark::kOgonek:
      case Mark::kDotBelow:
      case Mark::kCommaBelow:
        // Under the letter: the cedilla and the ogonek hang from it, the dot
        // and the comma leave a row free.
        for (int gap : {mark == Mark::kCedilla || mark == Mark::kOgonek ? 0 : 1, 0}) {
          for (const Ink& m : shapes) {
            const Box mb = Bounds(m);
            const int top = b.bottom + 1 + gap;
            if (top + mb.Height() > cell) continue;
            const int x = mark == Mark::kOgonek ? b.right - mb.Width() + 1
                                                : b.left + (b.Width() - mb.Width() + 1) / 2;
            Add(s, Moved(m, x, top));
            s = Fitted(std::move(s));
            return true;
          }
        }
        return false;
      case Mark::kApostrophe:
        // Beside the letter's top, a pixel apart.
        Add(s, Moved(shapes.front(), b.right + 2, b.top));
        s = Fitted(std::move(s));
        return true;
      case Mark::kHorn: {
        // An acute's stroke rising from the letter's right shoulder.
        const Ink& m = shapes.front();
        Add(s, Moved(m, b.right + 1, b.top + 1 - Bounds(m).Height()));
        s = Fitted(std::move(s));
        return true;
      }
      case Mark::kStroke: {
        // Across the stem, halfway down.
        const Ink& m = shapes.front();
        const Box mb = Bounds(m);
        const int middle = (b.top + b.bottom) / 2;
        Add(s, Moved(m, b.left - 1, middle - mb.Height() / 2));
        s = Fitted(std::move(s));
        return true;
      }
      case Mark::kTonos: {
        // Before the capital, level with its top.
        const Ink& m = shapes.back();
        const int width = Bounds(m).Width();
        s.ink = Moved(std::move(s.ink), width + 1, 0);
        s.advance += width + 1;
        Add(s, Moved(m, b.left, b.top));
        s = Fitted(std::move(s));
        return true;
      }
      default:
        // Over the letter, a row free between them if there is room, centred
        // on it and reaching no more than two or three pixels past it.
        for (int gap : {1, 0}) {
          for (const Ink& m : shapes) {
            const Box mb = Bounds(m);
            const int top = b.top - gap - mb.Height();
            if (top < 0 || mb.Width() > b.Width() + 5) continue;
            Add(s, Moved(m, b.left + (b.Width() - mb.Width() + 1) / 2, top));
            s = Fitted(std::move(s));
            return true;
          }
        }
        return false;
    }
  }

  std::optional<Shape> MakeSpecial(const Special& sp, int pixels) {
    if (sp.step == Step::kBlank) return Shape{face_.Blank(), {}};
    if (sp.step == Step::kSmall) {
      // Half the face's size, centred on the lower-case letters' middle.
      Ink ink = Sign(sp.from, kPixelSize / 2);
      const Box b = Bounds(ink);
      const int middle = (xTop_ + baseline_) / 2;
      return Shape{b.Width() + 3, Moved(ink, 1, middle - b.Height() / 2)};
    }
    std::optional<Shape> from =
        sp.from == sp.letter ? Plain(sp.from, pixels) : Make(sp.from, pixels);
    if (!from) return std::nullopt;
    Shape s = *std::move(from);
    const Box b = Bounds(s.ink);
    switch (sp.step) {
      case Step::kDotless: {
        // Everything above the lower-case letters' top goes: the dot.
        std::erase_if(s.ink, [this](const Pixel& p) { return p.y < xTop_; });
        return s;
      }
      case Step::kDash: {
        const int row = b.top;
        s.ink.clear();
        for (int x = 1; x < 2 * face_.Blank() - 1; ++x) s.ink.push_back({x, row});
        s.advance = 2 * face_.Blank();
        return s;
      }
      case Step::kRaised:
        s.ink = Moved(std::move(s.ink), 0, quoteTop_ - b.top);
        return s;
      case Step::kTurned: {
        Ink turned = Mirrored(Mirrored(s.ink, true), false);
        s.ink = Moved(std::move(turned), 0, quoteTop_ - b.top);
        return s;
      }
      case Step::kPair:
      case Step::kThree: {
        const int step = b.Width() + 1 + (sp.step == Step::kPair && b.Width() < 3 ? 1 : 0);
        const Ink one = s.ink;
        for (int n = 1; n < (sp.step == Step::kPair ? 2 : 3); ++n) Add(s, Moved(one, n * step, 0));
        s.advance += (sp.step == Step::kPair ? 1 : 2) * step;
        return Fitted(std::move(s));
      }
      case Step::kMirrored:
        s.ink = Mirrored(std::move(s.ink), true);
        return s;
      case Step::kEuro: {
        // Two bars across the C's left half, a third of the way from its top
        // and its bottom, starting a pixel before it.
        const int third = b.Height() / 3;
        for (int y : {b.top + third, b.bottom - third}) {
          for (int x = b.left - 1; x <= b.left + b.Width() / 2 + 1; ++x) s.ink.push_back({x, y});
        }
        return Fitted(std::move(s));
      }
      case Step::kFinalSigma: {
        // The c's lower right end goes; its bottom runs on, down to the right
        // and back under itself.
        const int middle = (b.top + b.bottom) / 2;
        std::erase_if(s.ink, [&](const Pixel& p) { return p.x == b.right && p.y > middle; });
        const int x = b.left + b.Width() / 2;
        s.ink.push_back({x + 1, b.bottom + 1});
        for (int dx = -1; dx <= 1; ++dx) s.ink.push_back({x + dx, b.bottom + 2});
        return s;
      }
      case Step::kUpturn: {
        int x = INT_MIN;
        for (const Pixel& p : s.ink) {
          if (p.y == b.top) x = std::max(x, p.x);
        }
        for (int dy = 1; dy <= 2 && b.top - dy >= 0; ++dy) s.ink.push_back({x, b.top - dy});
        return s;
      }
      case Step::kDescender: {
        const int x = b.left + b.Width() / 2;
        for (int dy = 1; dy <= 2; ++dy) s.ink.push_back({x, b.bottom + dy});
        return s;
      }
      case Step::kJoined: {
        std::optional<Shape> second = Make(sp.also, pixels);
        if (!second) return std::nullopt;
        const Box sb = Bounds(second->ink);
        Add(s, Moved(second->ink, b.right - sb.left, 0));
        return Fitted(std::move(s));
      }
      case Step::kLowered:
        s.ink = Moved(std::move(s.ink), 0, baseline_ - b.bottom);
        return s;
      case Step::kBlank:
      case Step::kSmall:
        break;
    }
    return s;
  }

  const Face& face_;
  std::map<char32_t, const AtlasGlyph*> shared_;
  std::map<char32_t, std::pair<char32_t, Mark>> marked_;
  std::map<char32_t, char32_t> alike_;
  std::map<char32_t, Special> special_;
  std::map<char32_t, Shape> made_;
  int xTop_ = 0;
  int baseline_ = 0;
  int quoteTop_ = 0;
};

}  // namespace

std::vector<AtlasGlyph> WorldLetters(const Face& face, const std::vector<AtlasGlyph>& shared) {
  Letters letters(face, shared);
  return letters.All();
}

}  // namespace glyphs
