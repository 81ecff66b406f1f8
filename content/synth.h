// A small sound synthesiser for the effects: oscillators, noise, filters,
// envelopes and a room reverb, all on float samples at 22050 Hz.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/rng.h"

namespace datakit {

inline constexpr int kSampleRate = 22050;
inline constexpr float kTau = 6.28318531f;

using Wave = std::vector<float>;

inline int Samples(float seconds) { return static_cast<int>(seconds * kSampleRate); }
inline float TimeOf(int i) { return static_cast<float>(i) / kSampleRate; }

// Adds src into dst from sample `at` on, scaled by gain; dst grows to fit.
void MixInto(Wave& dst, const Wave& src, int at, float gain = 1.0f);
// Scales to the given peak; silent waves stay silent.
void Normalise(Wave& w, float peak);
// Short fades at both ends against clicks.
void Fade(Wave& w, float inSeconds, float outSeconds);
// Soft clipping for grit.
void Drive(Wave& w, float amount);
// A room: a few combs and allpasses, wet added to the dry sound.
void Reverb(Wave& w, float roomSeconds, float wet, float tailSeconds);
std::vector<std::int16_t> ToPcm16(const Wave& w);

// Second-order filter (the usual audio-cookbook forms).
class Biquad {
 public:
  static Biquad LowPass(float hz, float q = 0.707f);
  static Biquad HighPass(float hz, float q = 0.707f);
  static Biquad BandPass(float hz, float q);
  float Run(float x) {
    const float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }
  // Changes the cut-off of a filter of the same kind in place.
  void Retune(const Biquad& other) {
    b0_ = other.b0_;
    b1_ = other.b1_;
    b2_ = other.b2_;
    a1_ = other.a1_;
    a2_ = other.a2_;
  }

 private:
  // The filter with its coefficients divided by a0.
  static Biquad Normalised(float b0, float b1, float b2, float a0, float a1, float a2);

  float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Sets every sample of `w` to sample(i, t), t being sample i's time in
// seconds.
template <typename Sample>
void Render(Wave& w, Sample sample) {
  for (std::size_t i = 0; i < w.size(); ++i) w[i] = sample(i, TimeOf(static_cast<int>(i)));
}

// Runs a filter over a whole wave.
void Filter(Wave& w, Biquad f);

// A sawtooth with no harsh aliasing at the low pitches used here.
inline float Saw(float phase) { return 2.0f * (phase - std::floor(phase)) - 1.0f; }
inline float Square(float phase) { return (phase - std::floor(phase)) < 0.5f ? 1.0f : -1.0f; }
inline float Tri(float phase) {
  const float p = phase - std::floor(phase);
  return p < 0.5f ? 4 * p - 1 : 3 - 4 * p;
}

// White noise in [-1, 1).
inline float Noise(Rng& rng) { return rng.Unit() * 2 - 1; }

// Exponential decay with time constant tau (seconds).
inline float Decay(float t, float tau) { return std::exp(-t / tau); }
// Linear attack, hold, then exponential release.
float Envelope(float t, float attack, float hold, float release);

// A vowel-like voice: a sawtooth at a gliding pitch through two formants.
// pitch(t) and the formants are in Hz.
struct VoiceSpec {
  float seconds;
  float pitchStart, pitchEnd;
  float vibratoHz, vibratoDepth;  // depth as a fraction of the pitch
  float formant1Start, formant1End, formant2Start, formant2End;
  float breath;  // noise mixed in, 0 to 1
  float attack, release;
  std::uint32_t seed;
};
Wave Voice(const VoiceSpec& v);

}  // namespace datakit
