// Recordings of the games played, and their playback.
//
// Recording: from its first pass the program notes what each pass read of
// the player's input (the pointer, the button, the focus), every second
// the game reads of the calendar (the only other thing a pass depends on),
// and the settings that change what is heard and shown. Each game, from the
// title to the return to it (or to the program's end), is one recording,
// which starts from a snapshot of the game state and ends with its digest.
// It is held in memory as it grows, a few bits a pass, and written out only
// when the game ends: kept in the platform's place for the player's last
// games, and copied to a file when asked. Recording changes no pass.
//
// Playback: the recording's snapshot, input and clock replace the player's
// and the calendar, pass for pass, so that the game goes as it went. The
// player's own input is ignored but for Escape and the window's closing,
// which stop it. Digests along the way and at the end show that it did.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/recording_file.h"
#include "app/settings.h"

// ---- Recording -----------------------------------------------------------------

// Records every game from the next pass on: each finished one is given to
// `keep` (the platform keeps the player's last games; null for none), and
// copied to `copyTo` unless it is empty (the second game to "NAME-2.EXT",
// and so on).
using KeepRecording = void (*)(const std::vector<std::uint8_t>& bytes);
void RecordGames(KeepRecording keep, const std::string& copyTo);
// The player's programs' `keep`: the game joins the player's last ones
// where the platform keeps them; one that cannot be kept costs the player
// nothing but a line for the debugger.
void KeepForThePlayer(const std::vector<std::uint8_t>& bytes);
// A diagnostic for the tests: the state as JSON at every checkpoint and at
// each recording's end, into `folder` as gameN-PASSES.json (N counting the
// games from 1), as `vedo-replay --play --dumps` writes them.
void DumpRecordedStates(const std::string& folder);
// Stops recording, dropping a game under way.
void StopRecording();
// The message loop's calls: before a pass, and after it.
void RecordBeforePass();
void RecordAfterPass();
// At the program's end: the game under way, if one began, is finished.
void RecordAtExit();
// The settings a playback repeats, of `settings` and as they are now; the
// recording notes a change of them before the pass that follows it.
RecordedSettings RecordedPart(const Settings& settings);
RecordedSettings CurrentRecordedSettings();

// ---- Playback ------------------------------------------------------------------

struct PlaybackOutcome {
  enum class Result {
    kNone,        // nothing played yet
    kMatched,     // played to its end, with every digest as recorded
    kStopped,     // stopped by Escape or the window before its end
    kOtherData,   // made with another data kit: not played
    kWentAstray,  // a digest or a clock reading differs from the recording's
  };
  Result result = Result::kNone;
  std::uint64_t passes = 0;  // passes played
  std::string message;       // one line for the player
};

// Plays `recording` in the next WinMain instead of the player's input. Its
// language must be in gLanguage before then.
void PlayRecording(Recording recording);
bool PlayingRecording();
// What the last playback came to.
const PlaybackOutcome& LastPlayback();
// Told after every checkpoint of the recording that matched, with the
// passes played, and once when the playback has come to its end or left
// the recording's way (`end`; LastPlayback says which).
void ObservePlayback(std::function<void(std::uint64_t passes, bool end)> observer);
// Runs the playback: WinMain's loop while a recording plays. Returns the
// exit code: 0 when it played to its end as recorded or was stopped, 1
// otherwise.
int RunPlayback();

// Reads the recording at `path` (UTF-8). False with one line for the player
// that names the file and what is wrong.
bool LoadRecording(const std::string& path, Recording& out, std::string& why);
