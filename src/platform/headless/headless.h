// What a host of the headless backend (a test, the replay tool) may ask of it
// beyond the platform interface: set-up steps made to fail, busy answers from
// the display, the last frame shown, a recorder that hears which sounds,
// texts and music calls the game asked the platform for, and music through
// the platform's own synthesizer.
//
// None of this exists on the native backends; each call here does nothing
// (or answers null) while the native backend is in use.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/sound/audio.h"

namespace platform {

// Makes one display set-up step of the headless backend fail, so that tests
// can see each failure's messages: 1 opening the device, 2 taking the
// screen, 3 setting the mode, 4 creating the primary chain, 5 restoring a
// lost display; 0 fails none. Holds until changed.
void HeadlessFailVideoStep(int step);

// The next `count` copies or flips that touch the display chain answer
// DDERR_WASSTILLDRAWING, as a display that has not finished the last flip
// would; 0 takes back any still pending.
void HeadlessInjectStillDrawing(int count);

// The last frame shown by the headless backend (null before the first flip).
const Surface* HeadlessShownFrame();

// Starts (or, with null, stops) reporting the game's sound, text and music
// calls to `recorder` (CallRecorder, platform.h) while the headless backend
// runs. It must outlive its use.
void HeadlessSetRecorder(CallRecorder* recorder);

// The headless backend has no music: the sequencer runs, and nothing sounds.
// On, the music plays through the platform's own synthesizer instead
// (FluidSynth on Linux), heard through the host's pulls, for the tests of
// that synthesizer and vedo-replay's --soundfont. Holds until changed; an
// output that is open keeps what it had.
void HeadlessUseNativeMusic(bool on);

}  // namespace platform
