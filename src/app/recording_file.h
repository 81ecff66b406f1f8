// A recording: one game kept as what makes it repeatable and the input its
// passes read, so that it plays again exactly, pass for pass, on every
// build. docs/recordings.md describes the file; this is its one writer and
// its one reader, from bytes to plain values and back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/game_state.h"

// The format's version, the second thing in the file: a later game reads
// every earlier version, and refuses a later one by name.
inline constexpr int kRecordingVersion = 1;
// The largest file read: an hour of play is far below it.
inline constexpr std::size_t kMaxRecordingBytes = 16u << 20;
// The passes between two digests of the game state in the file.
inline constexpr std::uint64_t kCheckpointPasses = 600;

// What of the player's settings a playback repeats: what is heard and the
// language the game is shown in.
struct RecordedSettings {
  int effectsVolume = 100;  // 0 to 100
  int musicVolume = 100;
  bool mute = false;
  std::string language = "ko";  // as LanguageNameValid takes it
  bool operator==(const RecordedSettings&) const = default;
};

// Where a recording starts.
struct RecordingStart {
  std::string program;        // the version of the program that made it
  std::uint64_t data = 0;     // LoadedDataDigest of the data it was made with
  std::uint32_t clock = 0;    // the calendar's seconds when it began
  RecordedSettings settings;  // in use when it began
  StateSnapshot state;        // the game state before its first pass
};

// The input the game holds: where the pointer is, the left button, the focus.
struct RecordedInput {
  int x = 0;
  int y = 0;
  int button = 0;
  int active = 0;
  bool operator==(const RecordedInput&) const = default;
};
// The input of a snapshot's values.
RecordedInput InputOf(const StateSnapshot& state);

struct RecordingEnd {
  RecordedInput input;       // as the game held it when the recording ended
  std::uint64_t passes = 0;  // the passes it holds
  std::uint64_t digest = 0;  // StateDigest at its end
};

// One step of a recording, in the order things happened. Before each pass
// the game holds the input of the pointer, button and focus steps so far.
struct RecordingStep {
  enum class Kind { kPointer, kButton, kFocus, kPasses, kClock, kCheckpoint, kSettings, kEnd };
  Kind kind = Kind::kPasses;
  int x = 0;  // kPointer: where the pointer now stands
  int y = 0;
  int value = 0;              // kButton, kFocus: the new value, 0 or 1
  std::uint32_t count = 0;    // kPasses: how many ran
  std::uint32_t seconds = 0;  // kClock: what the last pass read of the calendar
  std::uint64_t digest = 0;   // kCheckpoint: StateDigest after the last pass
  RecordedSettings settings;  // kSettings: in use from now on
  RecordingEnd end;           // kEnd
};

class BitWriter;

// Writes a recording step by step; nothing touches a disk.
class RecordingWriter {
 public:
  explicit RecordingWriter(const RecordingStart& start);
  ~RecordingWriter();
  RecordingWriter(const RecordingWriter&) = delete;
  RecordingWriter& operator=(const RecordingWriter&) = delete;

  // Each stands for the step of the same name. A pointer, button or focus
  // as it was is no step, and passes one after another make one.
  void Pointer(int x, int y);
  void Button(int down);
  void Focus(int active);
  void Passes(std::uint32_t count);
  void Clock(std::uint32_t seconds);
  void Checkpoint(std::uint64_t digest);
  void Settings(const RecordedSettings& settings);
  // The whole file, ending with `end`. The writer is spent.
  std::vector<std::uint8_t> Finish(const RecordingEnd& end);

 private:
  // Passes run with nothing new are counted, and written as one step when
  // something new comes; a move waits for the pass it comes before, to be
  // written with it.
  void FlushRun();
  void PutPendingMove(int code);
  // A button or the focus, `was`, changed to `now`: its step, with `code`.
  void Toggle(int now, int& was, int code);

  BitWriter* bits_;
  RecordedInput at_;
  int stepX_ = 0;  // the last move's step, while it may predict the next
  int stepY_ = 0;
  bool predicts_ = false;
  std::uint64_t run_ = 0;
  bool movePending_ = false;
  int pendingX_ = 0;
  int pendingY_ = 0;
  std::uint32_t clock_ = 0;
};

// A recording read and checked whole.
struct Recording {
  RecordingStart start;
  RecordingEnd end;
  std::vector<std::uint8_t> bytes;
  std::size_t firstStep = 0;  // in bits from the start of `bytes`
};

// Reads `bytes` as a recording, steps included. False, with `why` saying
// in one line what is wrong (cut short, damaged, not a recording, a later
// version), when it cannot be played; nothing larger than the file is
// allocated.
bool ReadRecording(std::vector<std::uint8_t> bytes, Recording& out, std::string& why);

// The CRC-32 a recording ends with (the one of zlib and PNG), over `n` bytes.
std::uint32_t RecordingChecksum(const std::uint8_t* bytes, std::size_t n);

// The steps of a recording that ReadRecording took, in order.
class RecordingSteps {
 public:
  explicit RecordingSteps(const Recording& recording);
  // The next step; false after the end.
  bool Next(RecordingStep& step);
  // The step Next would give, left in place.
  bool Peek(RecordingStep& step);

 private:
  const Recording* recording_;
  std::size_t at_;
  RecordedInput input_;
  int stepX_ = 0;
  int stepY_ = 0;
  bool predicts_ = false;
  bool passAfterMove_ = false;
  std::uint32_t lastClock_;
  bool ended_ = false;
};
