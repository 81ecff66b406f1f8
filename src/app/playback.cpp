// Playing a recording back (recordings.h).
#include <cinttypes>
#include <cstdio>
#include <optional>

#include "app/player_settings.h"
#include "app/program.h"
#include "app/recordings.h"
#include "formats/file_bytes.h"
#include "platform/platform.h"
#include "state/random.h"

namespace {

struct Player {
  std::optional<Recording> recording;
  std::optional<RecordingSteps> steps;
  std::uint32_t passesLeft = 0;  // of the current run of passes
  std::uint64_t passes = 0;
  std::string astray;  // why the game left the recording's way, once it has
  bool concluded = false;
  std::function<void(std::uint64_t, bool)> observer;
  PlaybackOutcome outcome;
};
Player gPlayer;

std::string Hex(std::uint64_t v) {
  char text[20];
  std::snprintf(text, sizeof text, "%016" PRIx64, v);
  return text;
}

// The game's reads of the calendar, answered from the recording: each
// belongs to the last pass of a run, where the recording noted it.
std::uint32_t PlayedCalendar() {
  Player& p = gPlayer;
  RecordingStep next;
  if (p.passesLeft == 0 && p.steps->Peek(next) && next.kind == RecordingStep::Kind::kClock) {
    p.steps->Next(next);
    return next.seconds;
  }
  if (p.astray.empty()) {
    p.astray = "the game read the clock in pass " + std::to_string(p.passes + 1) +
               ", where the recorded game did not";
  }
  return p.recording->start.clock;
}

// The recorded settings over the player's, for the playback only: the
// window stays the player's.
void PlayRecorded(const RecordedSettings& recorded) {
  Settings s = PlayerSettings();
  s.effectsVolume = recorded.effectsVolume;
  s.musicVolume = recorded.musicVolume;
  s.mute = recorded.mute;
  s.language = recorded.language;
  PlaySettings(s);
}

// Takes the step: true when a pass is to run next.
bool Take(const RecordingStep& step) {
  Player& p = gPlayer;
  using Kind = RecordingStep::Kind;
  switch (step.kind) {
    case Kind::kPointer:
      gMouseX = step.x;
      gMouseY = step.y;
      return false;
    case Kind::kButton:
      gLeftButton = step.value;
      return false;
    case Kind::kFocus:
      gAppActive = step.value;
      return false;
    case Kind::kSettings:
      PlayRecorded(step.settings);
      return false;
    case Kind::kPasses:
      p.passesLeft = step.count;
      return true;
    case Kind::kClock:
      p.astray = "the recorded game read the clock in pass " + std::to_string(p.passes) +
                 ", where this one did not";
      return false;
    case Kind::kCheckpoint:
      if (StateDigest() != step.digest) {
        p.astray = "the game state after pass " + std::to_string(p.passes) +
                   " differs from the recorded game's";
      } else if (p.observer) {
        p.observer(p.passes, false);
      }
      return false;
    case Kind::kEnd: {
      const RecordedInput& in = step.end.input;
      gMouseX = in.x;
      gMouseY = in.y;
      if ((gLeftButton != 0) != (in.button != 0)) gLeftButton = in.button;
      if ((gAppActive != 0) != (in.active != 0)) gAppActive = in.active;
      const std::uint64_t digest = StateDigest();
      if (digest != step.end.digest) {
        p.astray = "the game state at the end (digest " + Hex(digest) +
                   ") differs from the recorded game's (" + Hex(step.end.digest) + ")";
      } else {
        p.outcome = {PlaybackOutcome::Result::kMatched, p.passes,
                     "the recording played to its end, " + std::to_string(p.passes) +
                         " passes, and the game came out as recorded (digest " + Hex(digest) + ")"};
      }
      return false;
    }
  }
  return false;
}

// Whether the playback has come to its end or left the recording's way;
// the first time, the outcome is settled and the observer told.
bool Finished() {
  Player& p = gPlayer;
  if (p.astray.empty() && p.outcome.result == PlaybackOutcome::Result::kNone) return false;
  if (!p.concluded) {
    p.concluded = true;
    if (!p.astray.empty()) {
      p.outcome = {PlaybackOutcome::Result::kWentAstray, p.passes,
                   "the game went its own way: " + p.astray + " (recorded by vedo-zeza1 " +
                       p.recording->start.program + ")"};
    }
    if (p.observer) p.observer(p.passes, true);
  }
  return true;
}

// The player's own input: only Escape and the window's closing count, and
// stop the playback.
bool StoppedByThePlayer() {
  platform::Event event;
  while (platform::PeekEvent(event)) {
    if (event.type == platform::EventType::kWindowClosed ||
        (event.type == platform::EventType::kKeyDown && event.key == platform::Key::kEscape)) {
      return true;
    }
  }
  return false;
}

}  // namespace

void PlayRecording(Recording recording) {
  const auto observer = gPlayer.observer;
  gPlayer = Player{};
  gPlayer.observer = observer;
  gPlayer.recording = std::move(recording);
}

bool PlayingRecording() { return gPlayer.recording.has_value(); }

const PlaybackOutcome& LastPlayback() { return gPlayer.outcome; }

void ObservePlayback(std::function<void(std::uint64_t, bool)> observer) {
  gPlayer.observer = std::move(observer);
}

int RunPlayback() {
  Player& p = gPlayer;
  const Recording& r = *p.recording;
  using Result = PlaybackOutcome::Result;
  const std::uint64_t data = LoadedDataDigest();
  if (data != r.start.data) {
    p.outcome = {Result::kOtherData, 0,
                 "it was recorded with another data kit: the data of vedo-zeza1 " +
                     r.start.program + " (kit " + Hex(r.start.data) + "); this data folder's is " +
                     Hex(data) + ". Give that kit's folder with --data DIR."};
    p.recording.reset();
    return 1;
  }
  RestoreSnapshot(r.start.state);
  PlayRecorded(r.start.settings);
  p.steps.emplace(r);
  SetCalendarReader(&PlayedCalendar);
  while (!StoppedByThePlayer()) {
    if (Finished()) {
      // The last frame stays until the player closes it.
      platform::WaitEvent();
      continue;
    }
    if (p.passesLeft == 0) {
      RecordingStep step;
      if (!p.steps->Next(step)) {
        if (p.astray.empty()) p.astray = "the recording ends before its end";
        continue;
      }
      if (!Take(step)) continue;
    }
    --p.passesLeft;
    DispatchScene();
    platform::PassCompleted();
    ++p.passes;
    // A reading the recorded pass made and this one did not.
    RecordingStep next;
    if (p.passesLeft == 0 && p.steps->Peek(next) && next.kind == RecordingStep::Kind::kClock &&
        p.astray.empty()) {
      p.astray = "the recorded game read the clock in pass " + std::to_string(p.passes) +
                 ", where this one did not";
    }
  }
  SetCalendarReader(nullptr);
  if (!Finished()) {
    p.outcome = {Result::kStopped, p.passes,
                 "stopped after " + std::to_string(p.passes) + " passes of the recording"};
  }
  p.recording.reset();
  p.steps.reset();
  return p.outcome.result == Result::kWentAstray ? 1 : 0;
}

bool LoadRecording(const std::string& path, Recording& out, std::string& why) {
  std::vector<std::uint8_t> bytes;
  switch (platform::ReadFileBytes(path.c_str(), bytes, kMaxRecordingBytes + 1)) {
    case platform::FileRead::kMissing:
      why = path + ": the recording cannot be opened";
      return false;
    case platform::FileRead::kTooLarge:
      why = path + ": it is larger than a recording can be (" + std::to_string(kMaxRecordingBytes) +
            " bytes)";
      return false;
    case platform::FileRead::kOk:
      break;
  }
  std::string problem;
  if (!ReadRecording(std::move(bytes), out, problem)) {
    why = path + ": " + problem;
    return false;
  }
  return true;
}
