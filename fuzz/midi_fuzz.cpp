// The MIDI reader and the sequencer on arbitrary bytes: read the file, turn
// times both ways, then play it from a point and mix some of the music.
#include <cstdint>
#include <vector>

#include "formats/midi_file.h"
#include "fuzz_file.h"
#include "platform/platform.h"
#include "platform/sound/audio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static platform::SoundDevice* device = [] {
    platform::UseHeadlessBackend(nullptr);
    return platform::OpenSoundDevice();
  }();
  platform::MidiFile midi;
  if (!platform::ParseMidiFile(data, size, midi)) return 0;
  midi.TicksToUs(midi.lengthTicks / 2);
  midi.UsToTicks(midi.lengthUs / 3);
  midi.TempoAt(midi.lengthUs);
  if (device == nullptr) return 0;
  const char* path = fuzz::WriteScratch(data, size);
  if (path == nullptr) return 0;
  const platform::SequencerId id = platform::OpenSequencer(path);
  if (id == 0) return 0;
  std::uint32_t length = 0;
  platform::SequencerLength(id, length);
  platform::SequencerPlay(id, length / 2);
  std::vector<std::int16_t> out(2 * 1024);
  platform::PullAudio(out.data(), 1024);
  platform::SequencerSeek(id, 0);
  platform::CloseSequencer(id);
  return 0;
}
