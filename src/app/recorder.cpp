// Recording the games played (recordings.h).
#include <memory>

#include "app/player_settings.h"
#include "app/recordings.h"
#include "formats/file_bytes.h"
#include "lang/language.h"
#include "platform/platform.h"
#include "state/random.h"

namespace {

struct Recorder {
  bool on = false;
  KeepRecording keep = nullptr;
  std::string copyTo;
  int copies = 0;  // games copied so far
  std::string dumpTo;
  int games = 0;  // recordings begun
  std::unique_ptr<RecordingWriter> writer;
  std::uint64_t passes = 0;
  bool gameBegan = false;  // a start button was taken
  int inTitle = 1;         // gInTitle before the last pass
};
Recorder gRecorder;

RecordedInput InputNow() { return {gMouseX, gMouseY, gLeftButton, gAppActive}; }

// Every second the game reads, noted in the recording at its pass.
std::uint32_t RecordedCalendar() {
  const auto seconds = static_cast<std::uint32_t>(platform::CalendarTime());
  if (gRecorder.writer) gRecorder.writer->Clock(seconds);
  return seconds;
}

void Begin() {
  RecordingStart start;
  start.program = VEDO_VERSION;
  start.data = LoadedDataDigest();
  start.clock = static_cast<std::uint32_t>(platform::CalendarTime());
  start.settings = CurrentRecordedSettings();
  start.state = TakeSnapshot();
  gRecorder.writer = std::make_unique<RecordingWriter>(start);
  gRecorder.passes = 0;
  ++gRecorder.games;
  gRecorder.gameBegan = gInTitle == 0;
}

// "NAME.EXT" for the first game, "NAME-N.EXT" for the Nth.
std::string CopyName(const std::string& path, int n) {
  if (n <= 1) return path;
  const std::size_t slash = path.find_last_of("/\\");
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
      dot == (slash == std::string::npos ? 0 : slash + 1)) {
    dot = path.size();
  }
  return path.substr(0, dot) + "-" + std::to_string(n) + path.substr(dot);
}

void Dump() {
  const Recorder& r = gRecorder;
  if (r.dumpTo.empty()) return;
  const std::string json = StateJson(r.passes);
  const std::string path =
      r.dumpTo + "/game" + std::to_string(r.games) + "-" + std::to_string(r.passes) + ".json";
  std::string why;
  platform::WriteFileBytes(path.c_str(), {json.begin(), json.end()}, why);
}

void Finish() {
  Recorder& r = gRecorder;
  Dump();
  const std::vector<std::uint8_t> bytes = r.writer->Finish({InputNow(), r.passes, StateDigest()});
  r.writer.reset();
  if (r.keep != nullptr) r.keep(bytes);
  if (r.copyTo.empty()) return;
  const std::string path = CopyName(r.copyTo, ++r.copies);
  std::string why;
  if (!platform::WriteFileBytes(path.c_str(), bytes, why)) {
    platform::DebugOutput(
        ("Vedo Zeza1: the recording cannot be written to " + path + " (" + why + ")\n").c_str());
  }
}

// A change of what is seen or heard, noted before the next pass, which is
// the first to show it; the window is the player's machine's own.
void NoteSettings(const Settings& before, const Settings& after) {
  if (gRecorder.writer && RecordedPart(after) != RecordedPart(before)) {
    gRecorder.writer->Settings(RecordedPart(after));
  }
}

}  // namespace

RecordedSettings RecordedPart(const Settings& settings) {
  return {settings.effectsVolume, settings.musicVolume, settings.mute,
          settings.language.empty() ? kBuiltInLanguage : settings.language};
}

RecordedSettings CurrentRecordedSettings() { return RecordedPart(PlayerSettings()); }

void RecordGames(KeepRecording keep, const std::string& copyTo) {
  gRecorder = Recorder{};
  gRecorder.on = true;
  gRecorder.keep = keep;
  gRecorder.copyTo = copyTo;
  SetCalendarReader(&RecordedCalendar);
  ObservePlayerSettings(&NoteSettings);
}

void KeepForThePlayer(const std::vector<std::uint8_t>& bytes) {
  std::string why;
  if (!platform::KeepRecording(bytes, why)) {
    platform::DebugOutput(("Vedo Zeza1: the game's recording is not kept: " + why + "\n").c_str());
  }
}

void DumpRecordedStates(const std::string& folder) { gRecorder.dumpTo = folder; }

void StopRecording() {
  gRecorder = Recorder{};
  SetCalendarReader(nullptr);
  ObservePlayerSettings(nullptr);
}

void RecordBeforePass() {
  Recorder& r = gRecorder;
  if (!r.on) return;
  // The first pass of a recording starts from the state as it stands, the
  // input that came before it included.
  if (!r.writer) Begin();
  RecordingWriter& w = *r.writer;
  w.Pointer(gMouseX, gMouseY);
  w.Button(gLeftButton);
  w.Focus(gAppActive);
  w.Passes(1);
  ++r.passes;
  r.inTitle = gInTitle;
}

void RecordAfterPass() {
  Recorder& r = gRecorder;
  if (!r.writer) return;
  if (gInTitle == 0) r.gameBegan = true;
  if (r.passes % kCheckpointPasses == 0) {
    r.writer->Checkpoint(StateDigest());
    Dump();
  }
  // Back at the title after a death or the ending: the game is over, and
  // the next pass starts the next recording.
  if (r.inTitle == 0 && gInTitle == 1) Finish();
}

void RecordAtExit() {
  Recorder& r = gRecorder;
  if (r.writer && r.gameBegan) Finish();
  r.writer.reset();
}
