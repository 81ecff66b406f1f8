// The page's synthesizer as the output's music synthesizer (synth_bridge.cpp).
#pragma once

#include "platform/sound/audio_output.h"

namespace platform {

// A synthesizer that sends to, and renders from, the page's js-synthesizer;
// call only once the page has one.
MusicSynth* NewPageSynth();

}  // namespace platform
