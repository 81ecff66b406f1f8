#include "content/synth.h"

#include <algorithm>

namespace datakit {

void MixInto(Wave& dst, const Wave& src, int at, float gain) {
  if (at < 0) return;
  if (dst.size() < static_cast<std::size_t>(at) + src.size()) dst.resize(at + src.size(), 0.0f);
  for (std::size_t i = 0; i < src.size(); ++i) dst[at + i] += src[i] * gain;
}

void Normalise(Wave& w, float peak) {
  float m = 0;
  for (float s : w) m = std::max(m, std::abs(s));
  if (m <= 0) return;
  for (float& s : w) s *= peak / m;
}

void Fade(Wave& w, float inSeconds, float outSeconds) {
  const int in = std::min<int>(Samples(inSeconds), static_cast<int>(w.size()));
  const int out = std::min<int>(Samples(outSeconds), static_cast<int>(w.size()));
  for (int i = 0; i < in; ++i) w[i] *= static_cast<float>(i) / in;
  for (int i = 0; i < out; ++i) w[w.size() - 1 - i] *= static_cast<float>(i) / out;
}

void Drive(Wave& w, float amount) {
  for (float& s : w) s = std::tanh(s * amount) / std::tanh(amount);
}

void Reverb(Wave& w, float roomSeconds, float wet, float tailSeconds) {
  const std::size_t dry = w.size();
  w.resize(dry + Samples(tailSeconds), 0.0f);
  Wave out(w.size(), 0.0f);
  // Four combs of slightly different lengths, in parallel.
  const float lengths[4] = {1.0f, 1.13f, 1.27f, 1.41f};
  for (float k : lengths) {
    const int d = std::max(1, Samples(roomSeconds * k * 0.05f));
    const float feedback = std::pow(0.001f, (d / static_cast<float>(kSampleRate)) / roomSeconds);
    Wave buf(d, 0.0f);
    float damp = 0;
    for (std::size_t i = 0; i < w.size(); ++i) {
      const float y = buf[i % d];
      damp = y * 0.6f + damp * 0.4f;
      buf[i % d] = w[i] + damp * feedback;
      out[i] += y * 0.25f;
    }
  }
  // Two allpasses smear the echoes.
  for (int d : {Samples(0.005f), Samples(0.0017f)}) {
    Wave buf(std::max(d, 1), 0.0f);
    const int n = static_cast<int>(buf.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
      const float delayed = buf[i % n];
      const float x = out[i];
      const float y = -0.5f * x + delayed;
      buf[i % n] = x + 0.5f * y;
      out[i] = y;
    }
  }
  for (std::size_t i = 0; i < w.size(); ++i) w[i] += out[i] * wet;
}

std::vector<std::int16_t> ToPcm16(const Wave& w) {
  std::vector<std::int16_t> pcm(w.size());
  for (std::size_t i = 0; i < w.size(); ++i) {
    const float s = std::clamp(w[i], -1.0f, 1.0f);
    pcm[i] = static_cast<std::int16_t>(std::lround(s * 32767.0f));
  }
  return pcm;
}

Biquad Biquad::Normalised(float b0, float b1, float b2, float a0, float a1, float a2) {
  Biquad f;
  f.b0_ = b0 / a0;
  f.b1_ = b1 / a0;
  f.b2_ = b2 / a0;
  f.a1_ = a1 / a0;
  f.a2_ = a2 / a0;
  return f;
}

Biquad Biquad::LowPass(float hz, float q) {
  const float w0 = kTau * std::min(hz, kSampleRate * 0.45f) / kSampleRate;
  const float alpha = std::sin(w0) / (2 * q), c = std::cos(w0);
  return Normalised((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::HighPass(float hz, float q) {
  const float w0 = kTau * std::min(hz, kSampleRate * 0.45f) / kSampleRate;
  const float alpha = std::sin(w0) / (2 * q), c = std::cos(w0);
  return Normalised((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::BandPass(float hz, float q) {
  const float w0 = kTau * std::min(hz, kSampleRate * 0.45f) / kSampleRate;
  const float alpha = std::sin(w0) / (2 * q), c = std::cos(w0);
  return Normalised(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

void Filter(Wave& w, Biquad f) {
  for (float& s : w) s = f.Run(s);
}

float Envelope(float t, float attack, float hold, float release) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  if (t < attack + hold) return 1;
  return Decay(t - attack - hold, release);
}

Wave Voice(const VoiceSpec& v) {
  const int n = Samples(v.seconds);
  Wave w(n, 0.0f);
  Rng rng(v.seed);
  Biquad f1 = Biquad::BandPass(v.formant1Start, 5);
  Biquad f2 = Biquad::BandPass(v.formant2Start, 6);
  Biquad breathFilter = Biquad::BandPass(1400, 1.2f);
  float phase = 0;
  float jitter = 0;
  for (int i = 0; i < n; ++i) {
    const float t = TimeOf(i), u = t / v.seconds;
    // Pitch glides, wobbles and jitters like a ruined throat.
    jitter = jitter * 0.995f + Noise(rng) * 0.005f;
    const float pitch = (v.pitchStart + (v.pitchEnd - v.pitchStart) * u) *
                        (1 + v.vibratoDepth * std::sin(kTau * v.vibratoHz * t) + jitter * 2);
    phase += pitch / kSampleRate;
    const float source = Saw(phase) * 0.8f + Noise(rng) * v.breath;
    if (i % 64 == 0) {
      f1.Retune(Biquad::BandPass(v.formant1Start + (v.formant1End - v.formant1Start) * u, 5));
      f2.Retune(Biquad::BandPass(v.formant2Start + (v.formant2End - v.formant2Start) * u, 6));
    }
    const float voiced = f1.Run(source) * 1.0f + f2.Run(source) * 0.6f + source * 0.08f;
    const float breathy = breathFilter.Run(Noise(rng)) * v.breath;
    const float env =
        std::min(1.0f, t / v.attack) * std::min(1.0f, std::max(0.0f, (v.seconds - t) / v.release));
    w[i] = (voiced + breathy) * env;
  }
  return w;
}

}  // namespace datakit
