#include "app/recording_file.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "formats/little_endian.h"
#include "lang/language.h"

namespace {

using platform::PutLe;

constexpr char kMagic[4] = {'V', 'Z', 'R', 'C'};
// The magic, the version and the body's length before the body; its CRC-32
// after it.
constexpr std::size_t kHeadBytes = 10;
constexpr std::size_t kTailBytes = 4;
constexpr std::size_t kMaxProgramBytes = 64;
// No number of the file needs more than 40 zeros before its bits.
constexpr int kMaxZeros = 40;
// The orders of the signed Exp-Golomb codes: a step of the pointer a hand
// makes, and a jump across the frame.
constexpr int kNearOrder = 1;
constexpr int kFarOrder = 8;

// The steps' codes: a run of ones, ended by a zero, counts the kind; eight
// ones are the end.
enum Code {
  kMoveAndPass,
  kPassesCode,
  kMoveCode,
  kButtonCode,
  kClockCode,
  kCheckpointCode,
  kFocusCode,
  kSettingsCode,
  kEndCode
};

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint64_t ReadLe(const std::uint8_t* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

std::uint64_t ZigZag(std::int64_t v) {
  return v >= 0 ? static_cast<std::uint64_t>(v) * 2 : static_cast<std::uint64_t>(-(v + 1)) * 2 + 1;
}

std::int64_t UnZigZag(std::uint64_t z) {
  return (z & 1) ? -static_cast<std::int64_t>(z >> 1) - 1 : static_cast<std::int64_t>(z >> 1);
}

bool FitsInt(std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

}  // namespace

// Bits, most significant first in each byte.
class BitWriter {
 public:
  void Put(std::uint64_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      if (used_ == 8) {
        bytes_.push_back(0);
        used_ = 0;
      }
      if ((value >> i) & 1) bytes_.back() |= static_cast<std::uint8_t>(0x80 >> used_);
      ++used_;
    }
  }
  // Exp-Golomb of order k: (n - 1 - k) zeros, then the n bits of value + 2^k.
  void PutExpGolomb(std::uint64_t value, int k) {
    const std::uint64_t q = value + (std::uint64_t{1} << k);
    int n = 0;
    while (n < 64 && (q >> n) != 0) ++n;
    Put(0, n - 1 - k);
    Put(q, n);
  }
  void PutSigned(std::int64_t value, int k) { PutExpGolomb(ZigZag(value), k); }
  void PutCode(int code) {
    for (int i = 0; i < code && i < 8; ++i) Put(1, 1);
    if (code < 8) Put(0, 1);
  }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  int used_ = 8;
};

namespace {

class BitReader {
 public:
  BitReader(const std::vector<std::uint8_t>& bytes, std::size_t bit, std::size_t endBit)
      : bytes_(bytes), at_(bit), end_(endBit) {}
  bool Get(int bits, std::uint64_t& value) {
    if (static_cast<std::size_t>(bits) > end_ - at_) return false;
    value = 0;
    for (int i = 0; i < bits; ++i, ++at_) {
      value = (value << 1) | ((bytes_[at_ / 8] >> (7 - at_ % 8)) & 1);
    }
    return true;
  }
  bool GetExpGolomb(int k, std::uint64_t& value) {
    int zeros = 0;
    std::uint64_t bit = 0;
    for (;;) {
      if (!Get(1, bit)) return false;
      if (bit == 1) break;
      if (++zeros > kMaxZeros) return false;
    }
    std::uint64_t rest = 0;
    if (!Get(zeros + k, rest)) return false;
    value = ((std::uint64_t{1} << (zeros + k)) | rest) - (std::uint64_t{1} << k);
    return true;
  }
  bool GetSigned(int k, std::int64_t& value) {
    std::uint64_t z = 0;
    if (!GetExpGolomb(k, z)) return false;
    value = UnZigZag(z);
    return true;
  }
  bool GetCode(int& code) {
    code = 0;
    std::uint64_t bit = 1;
    while (code < 8) {
      if (!Get(1, bit)) return false;
      if (bit == 0) break;
      ++code;
    }
    return true;
  }
  std::size_t At() const { return at_; }
  std::size_t End() const { return end_; }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_;
  std::size_t end_;
};

// Where the pointer, button and focus stand, and what predicts the
// pointer's next step, as the reader and the writer both keep them.
struct Tracking {
  RecordedInput input;
  int stepX = 0;
  int stepY = 0;
  bool predicts = false;
};

// A move from t.input to (x, y): near, a step off the last one, or far.
void PutMove(BitWriter& bits, Tracking& t, int x, int y) {
  const std::int64_t dx = static_cast<std::int64_t>(x) - t.input.x;
  const std::int64_t dy = static_cast<std::int64_t>(y) - t.input.y;
  const std::int64_t px = t.predicts ? t.stepX : 0;
  const std::int64_t py = t.predicts ? t.stepY : 0;
  BitWriter near;
  near.PutSigned(dx - px, kNearOrder);
  near.PutSigned(dy - py, kNearOrder);
  BitWriter far;
  far.PutSigned(dx, kFarOrder);
  far.PutSigned(dy, kFarOrder);
  const bool useFar = far.Bytes().size() < near.Bytes().size();
  bits.Put(useFar ? 1 : 0, 1);
  if (useFar) {
    bits.PutSigned(dx, kFarOrder);
    bits.PutSigned(dy, kFarOrder);
  } else {
    bits.PutSigned(dx - px, kNearOrder);
    bits.PutSigned(dy - py, kNearOrder);
  }
  t.stepX = static_cast<int>(dx);
  t.stepY = static_cast<int>(dy);
  t.input.x = x;
  t.input.y = y;
}

bool GetMove(BitReader& bits, Tracking& t, std::string& why) {
  std::uint64_t far = 0;
  std::int64_t dx = 0;
  std::int64_t dy = 0;
  if (!bits.Get(1, far)) return false;
  const int k = far ? kFarOrder : kNearOrder;
  if (!bits.GetSigned(k, dx) || !bits.GetSigned(k, dy)) return false;
  if (!far && t.predicts) {
    dx += t.stepX;
    dy += t.stepY;
  }
  const std::int64_t x = t.input.x + dx;
  const std::int64_t y = t.input.y + dy;
  if (!FitsInt(x) || !FitsInt(y) || !FitsInt(dx) || !FitsInt(dy)) {
    why = "a pointer move leaves the numbers the game holds";
    return false;
  }
  t.stepX = static_cast<int>(dx);
  t.stepY = static_cast<int>(dy);
  t.input.x = static_cast<int>(x);
  t.input.y = static_cast<int>(y);
  return true;
}

void PutSettings(BitWriter& bits, const RecordedSettings& s) {
  bits.Put(static_cast<std::uint64_t>(s.effectsVolume), 7);
  bits.Put(static_cast<std::uint64_t>(s.musicVolume), 7);
  bits.Put(s.mute ? 1 : 0, 1);
  bits.Put(s.language.size(), 5);
  for (char c : s.language) bits.Put(static_cast<std::uint8_t>(c), 8);
}

bool GetSettings(BitReader& bits, RecordedSettings& s, std::string& why) {
  std::uint64_t effects = 0, music = 0, mute = 0, length = 0;
  if (!bits.Get(7, effects) || !bits.Get(7, music) || !bits.Get(1, mute) || !bits.Get(5, length)) {
    return false;
  }
  s.language.clear();
  for (std::uint64_t i = 0; i < length; ++i) {
    std::uint64_t c = 0;
    if (!bits.Get(8, c)) return false;
    s.language.push_back(static_cast<char>(c));
  }
  s.effectsVolume = static_cast<int>(effects);
  s.musicVolume = static_cast<int>(music);
  s.mute = mute != 0;
  if (effects > 100 || music > 100) {
    why = "a volume above 100";
    return false;
  }
  if (!LanguageNameValid(s.language)) {
    why = "a language name the game does not take";
    return false;
  }
  return true;
}

// The next step. False at the end of the bits or on a value the game cannot
// take, with `why` set for the latter.
bool GetStep(BitReader& bits, Tracking& t, std::uint32_t& lastClock, RecordingStep& step,
             bool& passAfterMove, std::string& why) {
  using Kind = RecordingStep::Kind;
  step = RecordingStep{};
  if (passAfterMove) {
    passAfterMove = false;
    step.kind = Kind::kPasses;
    step.count = 1;
    return true;
  }
  int code = 0;
  if (!bits.GetCode(code)) return false;
  const bool predicts = t.predicts;
  t.predicts = false;
  std::uint64_t v = 0;
  std::int64_t s = 0;
  switch (code) {
    case kMoveAndPass:
    case kMoveCode:
      t.predicts = predicts;
      if (!GetMove(bits, t, why)) return false;
      t.predicts = code == kMoveAndPass;
      passAfterMove = code == kMoveAndPass;
      step.kind = Kind::kPointer;
      step.x = t.input.x;
      step.y = t.input.y;
      return true;
    case kPassesCode:
      if (!bits.GetExpGolomb(0, v)) return false;
      if (v >= UINT32_MAX) {
        why = "a run of more passes than a recording holds";
        return false;
      }
      step.kind = Kind::kPasses;
      step.count = static_cast<std::uint32_t>(v + 1);
      return true;
    case kButtonCode:
      t.input.button = t.input.button ? 0 : 1;
      step.kind = Kind::kButton;
      step.value = t.input.button;
      return true;
    case kFocusCode:
      t.input.active = t.input.active ? 0 : 1;
      step.kind = Kind::kFocus;
      step.value = t.input.active;
      return true;
    case kClockCode:
      if (!bits.GetSigned(0, s)) return false;
      if (s < -static_cast<std::int64_t>(lastClock) ||
          s > static_cast<std::int64_t>(UINT32_MAX - lastClock)) {
        why = "a clock reading outside the calendar's";
        return false;
      }
      lastClock = static_cast<std::uint32_t>(lastClock + s);
      step.kind = Kind::kClock;
      step.seconds = lastClock;
      return true;
    case kCheckpointCode:
      if (!bits.Get(64, step.digest)) return false;
      step.kind = Kind::kCheckpoint;
      return true;
    case kSettingsCode:
      step.kind = Kind::kSettings;
      return GetSettings(bits, step.settings, why);
    default: {
      std::uint64_t button = 0, active = 0, passes = 0;
      if (!GetMove(bits, t, why) || !bits.Get(1, button) || !bits.Get(1, active) ||
          !bits.Get(32, passes) || !bits.Get(64, step.end.digest)) {
        return false;
      }
      t.input.button = static_cast<int>(button);
      t.input.active = static_cast<int>(active);
      step.kind = Kind::kEnd;
      step.end.input = t.input;
      step.end.passes = passes;
      return true;
    }
  }
}

std::string Cut(std::size_t has, std::size_t claims) {
  return "it is cut short: it holds " + std::to_string(has) + " bytes of the " +
         std::to_string(claims) + " it claims";
}

}  // namespace

std::uint32_t RecordingChecksum(const std::uint8_t* bytes, std::size_t n) {
  return Crc32(bytes, n);
}

RecordedInput InputOf(const StateSnapshot& state) {
  auto value = [&state](const char* name) {
    const int i = GameIntIndex(name);
    return i >= 0 && static_cast<std::size_t>(i) < state.ints.size() ? state.ints[i] : 0;
  };
  return {value("gMouseX"), value("gMouseY"), value("gLeftButton"), value("gAppActive")};
}

// ---- Writing ------------------------------------------------------------------

RecordingWriter::RecordingWriter(const RecordingStart& start) : bits_(new BitWriter) {
  std::vector<std::uint8_t>& out = bits_->Bytes();
  for (char c : kMagic) out.push_back(static_cast<std::uint8_t>(c));
  PutLe(out, kRecordingVersion, 2);
  PutLe(out, 0, 4);  // the body's length, once it is known
  const std::string program = start.program.substr(0, kMaxProgramBytes);
  out.push_back(static_cast<std::uint8_t>(program.size()));
  for (char c : program) out.push_back(static_cast<std::uint8_t>(c));
  PutLe(out, start.data, 8);
  PutLe(out, start.clock, 4);
  PutLe(out, start.state.ints.size(), 2);
  PutSettings(*bits_, start.settings);
  for (int v : start.state.ints) bits_->PutSigned(v, 0);
  for (const auto* layer : {&start.state.objects, &start.state.counts}) {
    int last = 0;
    for (const auto& row : *layer) {
      for (int v : row) {
        bits_->PutSigned(static_cast<std::int64_t>(v) - last, 0);
        last = v;
      }
    }
  }
  bits_->Put(start.state.random, 32);
  at_ = InputOf(start.state);
  clock_ = start.clock;
}

RecordingWriter::~RecordingWriter() { delete bits_; }

void RecordingWriter::FlushRun() {
  while (run_ > 0) {
    const std::uint64_t n = std::min<std::uint64_t>(run_, UINT32_MAX);
    bits_->PutCode(kPassesCode);
    bits_->PutExpGolomb(n - 1, 0);
    run_ -= n;
    predicts_ = false;
  }
}

void RecordingWriter::PutPendingMove(int code) {
  movePending_ = false;
  bits_->PutCode(code);
  Tracking t{at_, stepX_, stepY_, predicts_};
  PutMove(*bits_, t, pendingX_, pendingY_);
  at_ = t.input;
  stepX_ = t.stepX;
  stepY_ = t.stepY;
  predicts_ = code == kMoveAndPass;
}

void RecordingWriter::Pointer(int x, int y) {
  if (movePending_ ? x == pendingX_ && y == pendingY_ : x == at_.x && y == at_.y) return;
  FlushRun();
  if (movePending_) PutPendingMove(kMoveCode);
  movePending_ = true;
  pendingX_ = x;
  pendingY_ = y;
}

void RecordingWriter::Button(int down) { Toggle(down, at_.button, kButtonCode); }
void RecordingWriter::Focus(int active) { Toggle(active, at_.active, kFocusCode); }

void RecordingWriter::Toggle(int now, int& was, int code) {
  if ((now != 0) == (was != 0)) return;
  FlushRun();
  bits_->PutCode(code);
  was = was ? 0 : 1;
  predicts_ = false;
}

void RecordingWriter::Passes(std::uint32_t count) {
  if (count == 0) return;
  if (movePending_) {
    PutPendingMove(kMoveAndPass);
    --count;
  }
  run_ += count;
}

void RecordingWriter::Clock(std::uint32_t seconds) {
  FlushRun();
  bits_->PutCode(kClockCode);
  bits_->PutSigned(static_cast<std::int64_t>(seconds) - clock_, 0);
  clock_ = seconds;
  predicts_ = false;
}

void RecordingWriter::Checkpoint(std::uint64_t digest) {
  FlushRun();
  bits_->PutCode(kCheckpointCode);
  bits_->Put(digest, 64);
  predicts_ = false;
}

void RecordingWriter::Settings(const RecordedSettings& settings) {
  FlushRun();
  bits_->PutCode(kSettingsCode);
  PutSettings(*bits_, settings);
  predicts_ = false;
}

std::vector<std::uint8_t> RecordingWriter::Finish(const RecordingEnd& end) {
  FlushRun();
  // A move no pass has seen is the end's.
  movePending_ = false;
  bits_->PutCode(kEndCode);
  Tracking t{at_, stepX_, stepY_, false};
  PutMove(*bits_, t, end.input.x, end.input.y);
  bits_->Put(end.input.button ? 1 : 0, 1);
  bits_->Put(end.input.active ? 1 : 0, 1);
  bits_->Put(end.passes, 32);
  bits_->Put(end.digest, 64);
  std::vector<std::uint8_t> out = std::move(bits_->Bytes());
  const std::size_t body = out.size() - kHeadBytes;
  for (int i = 0; i < 4; ++i) out[6 + i] = static_cast<std::uint8_t>((body >> (8 * i)) & 0xFF);
  PutLe(out, Crc32(out.data(), out.size()), 4);
  return out;
}

// ---- Reading ------------------------------------------------------------------

bool ReadRecording(std::vector<std::uint8_t> bytes, Recording& out, std::string& why) {
  const std::size_t size = bytes.size();
  if (size > kMaxRecordingBytes) {
    why = "it is larger than a recording can be (" + std::to_string(kMaxRecordingBytes) + " bytes)";
    return false;
  }
  if (size < 4 || std::memcmp(bytes.data(), kMagic, 4) != 0) {
    why = size < 4 ? "it is too short to be a recording" : "it is not a recording of this game";
    return false;
  }
  if (size < kHeadBytes) {
    why = "it is cut short: it ends within its heading";
    return false;
  }
  const auto version = static_cast<int>(ReadLe(&bytes[4], 2));
  if (version > kRecordingVersion) {
    why = "it is a recording of format version " + std::to_string(version) +
          ", made by a later version of the game; this one reads up to version " +
          std::to_string(kRecordingVersion);
    return false;
  }
  if (version < 1) {
    why = "it is damaged: its format version is 0";
    return false;
  }
  const std::uint64_t body = ReadLe(&bytes[6], 4);
  if (body > kMaxRecordingBytes) {
    why = "it claims " + std::to_string(body) + " bytes, more than a recording can hold (" +
          std::to_string(kMaxRecordingBytes) + ")";
    return false;
  }
  if (kHeadBytes + body + kTailBytes > size) {
    why = Cut(size, kHeadBytes + body + kTailBytes);
    return false;
  }
  if (kHeadBytes + body + kTailBytes < size) {
    why = "it is damaged: it goes on past its end";
    return false;
  }
  const std::size_t crcAt = kHeadBytes + body;
  if (Crc32(bytes.data(), crcAt) != ReadLe(&bytes[crcAt], 4)) {
    why = "it is damaged: its checksum does not match its bytes";
    return false;
  }
  // From here on the checksum holds: what is wrong was written so.
  const auto damaged = [&why](const std::string& what) {
    why = "it is damaged: " + what;
    return false;
  };
  std::size_t at = kHeadBytes;
  const std::size_t programBytes = bytes[at++];
  if (programBytes > kMaxProgramBytes || at + programBytes + 14 > crcAt) {
    return damaged("its heading does not fit");
  }
  Recording r;
  r.start.program.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         bytes.begin() + static_cast<std::ptrdiff_t>(at + programBytes));
  at += programBytes;
  r.start.data = ReadLe(&bytes[at], 8);
  r.start.clock = static_cast<std::uint32_t>(ReadLe(&bytes[at + 8], 4));
  const auto ints = static_cast<int>(ReadLe(&bytes[at + 12], 2));
  at += 14;
  if (ints != GameIntCount()) {
    return damaged("it holds " + std::to_string(ints) + " game values where version " +
                   std::to_string(version) + " has " + std::to_string(GameIntCount()));
  }
  BitReader bits(bytes, at * 8, crcAt * 8);
  std::string what;
  if (!GetSettings(bits, r.start.settings, what)) {
    return damaged(what.empty() ? "its heading is cut short" : what);
  }
  r.start.state.ints.resize(static_cast<std::size_t>(ints));
  for (int& v : r.start.state.ints) {
    std::int64_t value = 0;
    if (!bits.GetSigned(0, value) || !FitsInt(value)) return damaged("its game values do not fit");
    v = static_cast<int>(value);
  }
  for (auto* layer : {&r.start.state.objects, &r.start.state.counts}) {
    std::int64_t last = 0;
    for (auto& row : *layer) {
      for (int& v : row) {
        std::int64_t step = 0;
        if (!bits.GetSigned(0, step) || !FitsInt(last + step)) {
          return damaged("its field does not fit");
        }
        last += step;
        v = static_cast<int>(last);
      }
    }
  }
  std::uint64_t random = 0;
  if (!bits.Get(32, random)) return damaged("its start is cut short");
  r.start.state.random = static_cast<std::uint32_t>(random);
  r.firstStep = bits.At();

  // Every step, once, so that a playback meets nothing it cannot take.
  Tracking t{InputOf(r.start.state)};
  std::uint32_t clock = r.start.clock;
  bool passAfterMove = false;
  std::uint64_t passes = 0;
  RecordingStep step;
  for (;;) {
    what.clear();
    if (!GetStep(bits, t, clock, step, passAfterMove, what)) {
      return damaged(what.empty() ? "its steps end before their end" : what);
    }
    if (step.kind == RecordingStep::Kind::kPasses) {
      passes += step.count;
      if (passes > UINT32_MAX) return damaged("it holds more passes than a recording can");
    }
    if (step.kind == RecordingStep::Kind::kEnd) break;
  }
  if (step.end.passes != passes) {
    return damaged("its end counts " + std::to_string(step.end.passes) + " passes, its steps " +
                   std::to_string(passes));
  }
  // Only the last byte's unused bits may follow the end, all zero.
  std::uint64_t rest = 0;
  const std::size_t left = bits.End() - bits.At();
  if (left >= 8 || !bits.Get(static_cast<int>(left), rest) || rest != 0) {
    return damaged("it goes on past the end of its steps");
  }
  r.end = step.end;
  r.bytes = std::move(bytes);
  out = std::move(r);
  return true;
}

RecordingSteps::RecordingSteps(const Recording& recording)
    : recording_(&recording),
      at_(recording.firstStep),
      input_(InputOf(recording.start.state)),
      lastClock_(recording.start.clock) {}

bool RecordingSteps::Next(RecordingStep& step) {
  if (ended_) return false;
  BitReader bits(recording_->bytes, at_, (recording_->bytes.size() - kTailBytes) * 8);
  Tracking t{input_, stepX_, stepY_, predicts_};
  std::string why;
  if (!GetStep(bits, t, lastClock_, step, passAfterMove_, why)) {
    ended_ = true;
    return false;
  }
  at_ = bits.At();
  input_ = t.input;
  stepX_ = t.stepX;
  stepY_ = t.stepY;
  predicts_ = t.predicts;
  ended_ = step.kind == RecordingStep::Kind::kEnd;
  return true;
}

bool RecordingSteps::Peek(RecordingStep& step) {
  RecordingSteps copy = *this;
  return copy.Next(step);
}
