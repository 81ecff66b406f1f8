// The page's synthesizer as the output's music synthesizer (synth_bridge.cpp).
#pragma once

#include "platform/sound/audio_output.h"

namespace platform {

// A synthesizer that sends to the page's js-synthesizer in its audio
// worklet; call only once the page has one.
MusicSynth* NewPageSynth();

// Around one mix for the page: its messages are stamped with their frames
// in it. EndPageMix tells how many frames of it have music (all or none).
void BeginPageMix();
int EndPageMix();

}  // namespace platform
