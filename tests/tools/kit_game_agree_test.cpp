// The kit never refuses as broken a file that the game loads. Every file of
// the fuzz corpora, the fuzz regressions and the tests' data is offered to
// the game's own loader of each kind; whatever it loads, `vedo-kit check`
// and `vedo-kit info` must take as that kind.
#include <gtest/gtest.h>

#include "audio/sound.h"
#include "formats/bmp_file.h"
#include "formats/midi_file.h"
#include "gfx/map_file.h"
#include "gfx/sprite_file.h"
#include "kit/check.h"
#include "kit/info.h"
#include "kit_test_support.h"
#include "platform/platform.h"
#include "state/game_state.h"
#include "support/audio_files.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;
using audiofiles::Chunk;
using audiofiles::FmtBody;
using audiofiles::Riff;
using kit::FileKind;

bool GameLoads(FileKind kind, const std::string& path) {
  switch (kind) {
    case FileKind::kMap: {
      const bool loaded = LoadMap(path.c_str()) == 1;
      ReleaseGroundLayer();
      ReleaseTileData();
      return loaded;
    }
    case FileKind::kSprites: {
      // As start-up does: count, make the frame table, load.
      const int count = GetNumSprite(path.c_str());
      gSpriteFrames.assign(static_cast<std::size_t>(std::max(count, 0)), SpriteFrame{0, 0});
      const bool loaded = count > 0 && LoadSprite(path.c_str()) == 1;
      gSpriteSurfaces.clear();
      gSpriteFrames.clear();
      return loaded;
    }
    case FileKind::kPicture: {
      platform::Image image;
      return platform::LoadBmpFile(path.c_str(), image);
    }
    case FileKind::kSound: {
      WaveSound* sound = LoadWave(path.c_str());
      FreeWave(sound);
      return sound != nullptr;
    }
    case FileKind::kMusic: {
      platform::MidiFile midi;
      return platform::LoadMidiFile(path.c_str(), midi);
    }
  }
  return false;
}

// Sounds the game plays in layouts the data kit does not use, among them
// the chunked ones of the sound reader's tests.
void WriteSounds(const fs::path& dir) {
  const audiofiles::Bytes samples(4000, 0x40);
  const audiofiles::Bytes list = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 1, 0, 0, 0, 'x', 0};
  const audiofiles::Bytes fmt = Chunk("fmt ", FmtBody(1, 2, 44100, 16));
  kittest::Write(dir / "rate-22050.wav", audiofiles::Wav44(1, 22050, 8, samples));
  kittest::Write(dir / "rate-192000.wav", audiofiles::Wav44(2, 192000, 16, samples));
  kittest::Write(
      dir / "list-fact.wav",
      Riff({Chunk("LIST", list), fmt, Chunk("fact", {0x10, 0, 0, 0}), Chunk("data", samples)}));
  kittest::Write(dir / "data-first.wav", Riff({Chunk("data", samples), fmt}));
  audiofiles::Bytes placeholder = audiofiles::Wav44(2, 11025, 16, samples);
  placeholder[40] = 0x01;  // a data size past the file, as some writers leave
  placeholder[43] = 0x7F;
  kittest::Write(dir / "placeholder-size.wav", placeholder);
}

TEST(KitAndGame, TheKitTakesEveryFileTheGameLoads) {
  const fs::path source(VEDO_SOURCE_DIR);
  const fs::path made = testdata::MakeTempDir("vedo-agree");
  testdata::WriteStandardData(made / "standard");
  fs::create_directories(made / "sounds");
  WriteSounds(made / "sounds");
  std::vector<fs::path> files;
  for (const fs::path& root : {source / "fuzz" / "corpus", source / "fuzz" / "regressions", made,
                               kittest::GeneratedFolder()}) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }

  platform::UseHeadlessBackend(nullptr);
  ASSERT_EQ(InitDirectSound(gWindow), 1);
  int loaded = 0;
  ::testing::internal::CaptureStderr();  // the loaders' refusals
  for (const fs::path& file : files) {
    for (FileKind kind : {FileKind::kMap, FileKind::kSprites, FileKind::kPicture, FileKind::kSound,
                          FileKind::kMusic}) {
      if (!GameLoads(kind, file.string())) continue;
      ++loaded;
      std::vector<std::string> problems;
      EXPECT_TRUE(kit::CheckFile(kind, file.string(), problems))
          << file << ": " << (problems.empty() ? "" : problems.front());
      std::string text;
      std::string error;
      EXPECT_TRUE(kit::DescribeFile(file.string(), text, &error)) << error;
    }
  }
  ::testing::internal::GetCapturedStderr();
  ReleaseDirectSound();
  EXPECT_GE(loaded, 40) << "of " << files.size() << " files";
  fs::remove_all(made);
}

}  // namespace
