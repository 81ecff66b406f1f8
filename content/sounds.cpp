// The sixteen sound effects, 22050 Hz mono 16-bit PCM, each built from
// oscillators, noise, filters and envelopes to sound like its use.
#include "content/datakit.h"
#include "content/synth.h"
#include "kit/game_needs.h"

namespace datakit {
namespace {

// A short percussive body: a sine thump gliding down.
Wave Thump(float seconds, float hzStart, float hzEnd, float tau) {
  Wave w(Samples(seconds));
  float phase = 0;
  Render(w, [&](std::size_t, float t) {
    const float hz = hzEnd + (hzStart - hzEnd) * Decay(t, tau * 0.5f);
    phase += hz / kSampleRate;
    return std::sin(kTau * phase) * Decay(t, tau);
  });
  return w;
}

// Filtered noise under an exponential decay.
Wave Burst(float seconds, float tau, Biquad filter, std::uint32_t seed, float attack = 0.001f) {
  Wave w(Samples(seconds));
  Rng rng(seed);
  Render(w, [&](std::size_t, float t) {
    return filter.Run(Noise(rng)) * std::min(1.0f, t / attack) * Decay(t, tau);
  });
  return w;
}

// A mechanical click.
Wave Click(float hz, std::uint32_t seed) {
  Wave w = Burst(0.03f, 0.004f, Biquad::BandPass(hz, 3), seed);
  MixInto(w, Thump(0.03f, hz * 0.5f, hz * 0.4f, 0.005f), 0, 0.4f);
  return w;
}

Wave Gunshot(float crackTau, float bodyTau, float thumpHz, float tail, float room,
             std::uint32_t seed) {
  Wave w = Burst(0.05f, crackTau, Biquad::HighPass(2500), seed);
  MixInto(w, Burst(bodyTau * 6, bodyTau, Biquad::LowPass(3200), seed + 1), 0, 1.2f);
  MixInto(w, Thump(bodyTau * 6, thumpHz * 2.5f, thumpHz, bodyTau * 1.4f), 0, 1.1f);
  Drive(w, 2.5f);
  Reverb(w, room, 0.35f, tail);
  return w;
}

Wave Knife() {
  // A blade through the air, then a wet cut.
  Wave w(Samples(0.32f));
  Rng rng(4001);
  Biquad bp = Biquad::BandPass(1500, 2.5f);
  Render(w, [&](std::size_t i, float t) {
    if (i % 32 == 0) bp.Retune(Biquad::BandPass(1500 + 5000 * std::min(1.0f, t / 0.16f), 2.5f));
    const float env = std::sin(3.14159f * std::min(1.0f, t / 0.2f));
    return bp.Run(Noise(rng)) * env * env;
  });
  MixInto(w, Burst(0.12f, 0.03f, Biquad::BandPass(700, 1.5f), 4002), Samples(0.16f), 0.8f);
  MixInto(w, Thump(0.1f, 260, 140, 0.03f), Samples(0.16f), 0.5f);
  return w;
}

Wave Handgun() { return Gunshot(0.006f, 0.025f, 110, 0.35f, 0.5f, 4101); }

Wave Shotgun() {
  Wave w = Gunshot(0.01f, 0.06f, 70, 0.5f, 0.8f, 4201);
  // The pump: back, then forward.
  MixInto(w, Click(1800, 4202), Samples(0.55f), 0.5f);
  MixInto(w, Click(2400, 4203), Samples(0.68f), 0.6f);
  return w;
}

Wave Magnum() {
  Wave w = Gunshot(0.008f, 0.09f, 55, 0.9f, 1.1f, 4301);
  // The frame rings after the blast.
  Wave ring(Samples(0.6f));
  Render(ring,
         [&](std::size_t, float t) { return std::sin(kTau * 2350 * t) * Decay(t, 0.12f) * 0.05f; });
  MixInto(w, ring, 0);
  return w;
}

Wave ZombieGroan() {
  Wave w = Voice({1.5f, 105, 82, 3.5f, 0.04f, 420, 650, 900, 1100, 0.35f, 0.2f, 0.5f, 4401});
  Drive(w, 2.0f);
  Filter(w, Biquad::LowPass(1900));
  Reverb(w, 0.6f, 0.25f, 0.3f);
  return w;
}

Wave CerberusBark() {
  Wave w;
  for (int b = 0; b < 2; ++b) {
    Wave bark = Voice({0.2f, 430.0f - b * 40, 240, 0, 0, 900, 700, 1700, 1500, 0.7f, 0.01f, 0.08f,
                       4501u + static_cast<std::uint32_t>(b)});
    Drive(bark, 3);
    MixInto(w, bark, Samples(0.05f + b * 0.28f));
  }
  // A growl after the barks: noise shaken at 28 Hz.
  Wave growl(Samples(0.8f));
  Rng rng(4503);
  Biquad lp = Biquad::LowPass(520, 1.2f);
  float phase = 0;
  Render(growl, [&](std::size_t, float t) {
    phase += (70 + 10 * std::sin(kTau * 3 * t)) / kSampleRate;
    const float am = 0.5f + 0.5f * std::sin(kTau * 28 * t);
    return lp.Run(Noise(rng) * 0.7f + Saw(phase) * 0.5f) * am * Envelope(t, 0.1f, 0.4f, 0.15f);
  });
  Drive(growl, 2);
  MixInto(w, growl, Samples(0.62f), 1.3f);
  Reverb(w, 0.4f, 0.2f, 0.2f);
  return w;
}

Wave HunterShriek() {
  // A reptile's screech: a high, fast-wavering voice, then the claws.
  Wave w(Samples(1.0f));
  Rng rng(4601);
  float phase = 0, mod = 0;
  Biquad hp = Biquad::HighPass(700);
  Render(w, [&](std::size_t, float t) {
    const float rise = t < 0.25f ? t / 0.25f : 1 - (t - 0.25f) * 0.5f;
    const float hz = 900 + 900 * rise + 120 * std::sin(kTau * 23 * t);
    mod += hz * 1.5f / kSampleRate;
    phase += (hz + 400 * std::sin(kTau * mod)) / kSampleRate;
    return hp.Run(std::sin(kTau * phase) + Noise(rng) * 0.35f) * Envelope(t, 0.04f, 0.35f, 0.2f);
  });
  Drive(w, 2.5f);
  for (int k = 0; k < 3; ++k) {
    Wave swipe(Samples(0.12f));
    Biquad bp = Biquad::BandPass(3000, 2);
    Rng r(4610u + static_cast<std::uint32_t>(k));
    Render(swipe, [&](std::size_t i, float t) {
      if (i % 32 == 0) bp.Retune(Biquad::BandPass(2500 + 30000 * t, 2));
      return bp.Run(Noise(r)) * std::sin(3.14159f * t / 0.12f);
    });
    MixInto(w, swipe, Samples(0.72f + k * 0.06f), 0.6f);
  }
  Reverb(w, 0.5f, 0.25f, 0.25f);
  return w;
}

Wave StalkerRoar() {
  Wave w = Voice({1.9f, 68, 52, 5, 0.05f, 440, 320, 900, 680, 0.45f, 0.25f, 0.7f, 4701});
  // A sub-octave under the roar.
  Wave sub(w.size());
  float phase = 0;
  Render(sub, [&](std::size_t, float t) {
    phase += (34 - 6 * t / 1.9f) / kSampleRate;
    return Saw(phase) * Envelope(t, 0.3f, 0.9f, 0.4f);
  });
  Filter(sub, Biquad::LowPass(300));
  MixInto(w, sub, 0, 0.8f);
  Drive(w, 2.8f);
  Filter(w, Biquad::LowPass(1300));
  // A heavy footfall before it.
  Wave step = Thump(0.4f, 90, 40, 0.09f);
  MixInto(step, Burst(0.2f, 0.04f, Biquad::LowPass(500), 4702), 0, 0.6f);
  Wave out;
  MixInto(out, step, 0, 1.2f);
  MixInto(out, w, Samples(0.18f));
  Reverb(out, 1.2f, 0.3f, 0.6f);
  return out;
}

Wave RocketWarning() {
  // Three alarm beeps, then the launch and the rocket's rush.
  Wave w;
  for (int b = 0; b < 3; ++b) {
    Wave beep(Samples(0.13f));
    const float hz = b % 2 == 0 ? 880 : 660;
    Render(beep, [&](std::size_t, float t) {
      return Square(hz * t) * 0.35f * std::min(1.0f, t / 0.005f) *
             std::min(1.0f, (0.13f - t) / 0.01f);
    });
    Filter(beep, Biquad::LowPass(4000));
    MixInto(w, beep, Samples(b * 0.18f));
  }
  const int launch = Samples(0.6f);
  Wave boom = Thump(0.5f, 120, 45, 0.12f);
  MixInto(boom, Burst(0.4f, 0.08f, Biquad::LowPass(1200), 4801), 0, 0.9f);
  MixInto(w, boom, launch, 1.0f);
  Wave rush(Samples(1.1f));
  Rng rng(4802);
  Biquad bp = Biquad::BandPass(2500, 1.5f);
  Render(rush, [&](std::size_t i, float t) {
    if (i % 32 == 0) bp.Retune(Biquad::BandPass(2600 - 1800 * (t / 1.1f), 1.5f));
    return bp.Run(Noise(rng)) * Envelope(t, 0.25f, 0.4f, 0.2f);
  });
  MixInto(w, rush, launch + Samples(0.05f), 1.4f);
  Drive(w, 1.5f);
  return w;
}

Wave TitleSting() {
  // A blow and a dark chord to start the game.
  Wave w = Gunshot(0.006f, 0.05f, 60, 0.2f, 0.6f, 4901);
  const float notes[] = {110.0f, 130.81f, 155.56f, 233.08f};  // A, C, D#, A#: unease
  for (float hz : notes) {
    Wave tone(Samples(1.6f));
    Render(tone, [&](std::size_t, float t) {
      return (std::sin(kTau * hz * t) + 0.4f * std::sin(kTau * 2 * hz * t) +
              0.2f * std::sin(kTau * 3.01f * hz * t)) *
             Decay(t, 0.5f) * std::min(1.0f, t / 0.004f);
    });
    MixInto(w, tone, Samples(0.01f), 0.22f);
  }
  Reverb(w, 1.2f, 0.3f, 0.6f);
  return w;
}

Wave SprayHiss() {
  // A shake (the ball in the can), then the hiss.
  Wave w;
  for (int k = 0; k < 3; ++k)
    MixInto(w, Click(3200, 5001u + static_cast<std::uint32_t>(k)), Samples(k * 0.09f), 2.0f);
  Wave hiss(Samples(0.9f));
  Rng rng(5004);
  Biquad hp = Biquad::HighPass(3000), bp = Biquad::BandPass(6500, 0.8f);
  Render(hiss, [&](std::size_t, float t) {
    return bp.Run(hp.Run(Noise(rng))) * Envelope(t, 0.02f, 0.6f, 0.1f) *
           (1 + 0.15f * std::sin(kTau * 9 * t));
  });
  MixInto(w, hiss, Samples(0.35f), 1.5f);
  return w;
}

Wave DeathCry() {
  Wave w = Voice({1.3f, 420, 150, 6, 0.03f, 900, 600, 1500, 1100, 0.3f, 0.05f, 0.4f, 5101});
  Drive(w, 2.2f);
  Wave out;
  MixInto(out, w, 0);
  Wave fall = Thump(0.5f, 80, 45, 0.1f);
  MixInto(fall, Burst(0.3f, 0.05f, Biquad::LowPass(800), 5102), 0, 0.7f);
  MixInto(out, fall, Samples(1.25f), 1.2f);
  Reverb(out, 0.9f, 0.3f, 0.5f);
  return out;
}

Wave FileJingle() {
  // Bells rising: C, E, G, C.
  Wave w;
  const float notes[] = {523.25f, 659.26f, 783.99f, 1046.5f};
  for (int n = 0; n < 4; ++n) {
    Wave bell(Samples(0.9f));
    Render(bell, [&](std::size_t, float t) {
      const float f = notes[n];
      return (std::sin(kTau * f * t) + 0.5f * std::sin(kTau * 2.0f * f * t) * Decay(t, 0.15f) +
              0.25f * std::sin(kTau * 3.0f * f * t) * Decay(t, 0.08f)) *
             Decay(t, 0.35f) * std::min(1.0f, t / 0.003f);
    });
    MixInto(w, bell, Samples(n * 0.11f), n == 3 ? 0.45f : 0.35f);
  }
  Reverb(w, 0.8f, 0.25f, 0.4f);
  return w;
}

Wave StreetsAmbience() {
  // Wind through empty streets, and the dead far off.
  Wave w(Samples(3.2f));
  Rng rng(5201);
  Biquad lp = Biquad::LowPass(500, 1.0f);
  Render(w, [&](std::size_t i, float t) {
    if (i % 64 == 0) lp.Retune(Biquad::LowPass(380 + 260 * std::sin(kTau * 0.35f * t), 1.4f));
    return lp.Run(Noise(rng)) * 0.9f * Envelope(t, 0.6f, 2.0f, 0.3f);
  });
  Wave far1 = Voice({1.4f, 92, 78, 3, 0.05f, 400, 600, 900, 1000, 0.4f, 0.3f, 0.6f, 5202});
  Wave far2 = Voice({1.2f, 120, 96, 4, 0.05f, 500, 380, 1000, 850, 0.4f, 0.3f, 0.5f, 5203});
  Filter(far1, Biquad::LowPass(1200));
  Filter(far2, Biquad::LowPass(1000));
  MixInto(w, far1, Samples(0.4f), 0.35f);
  MixInto(w, far2, Samples(1.6f), 0.28f);
  Reverb(w, 1.6f, 0.5f, 0.6f);
  return w;
}

Wave HeartAndHammer() {
  // A heartbeat, still going, then a gun made ready.
  Wave w;
  for (int beat = 0; beat < 3; ++beat) {
    const int at = Samples(beat * 0.72f);
    MixInto(w, Thump(0.25f, 70, 48, 0.06f), at, 1.0f);
    MixInto(w, Thump(0.25f, 62, 44, 0.05f), at + Samples(0.18f), 0.7f);
  }
  Filter(w, Biquad::LowPass(300));
  MixInto(w, Click(1500, 5301), Samples(2.2f), 2.5f);
  MixInto(w, Click(2600, 5302), Samples(2.33f), 2.8f);
  Reverb(w, 0.5f, 0.2f, 0.3f);
  return w;
}

Wave PowerOn() {
  Wave w(Samples(0.5f));
  float phase = 0;
  Render(w, [&](std::size_t, float t) {
    phase += (200 + 1200 * t) / kSampleRate;
    return (std::sin(kTau * phase) + 0.3f * Tri(phase * 2)) * Envelope(t, 0.05f, 0.25f, 0.08f);
  });
  return w;
}

OutputFile Finish(const std::string& name, Wave w, float peak) {
  Normalise(w, peak);
  // Drop the inaudible end of reverb tails.
  std::size_t end = w.size();
  while (end > 0 && std::abs(w[end - 1]) < 0.002f) --end;
  w.resize(std::min(w.size(), end + static_cast<std::size_t>(Samples(0.02f))));
  Fade(w, 0.002f, 0.02f);
  return {name, kit::MakeWav16Mono(kSampleRate, ToPcm16(w))};
}

}  // namespace

std::vector<OutputFile> MakeSounds() {
  const auto& n = kSoundFiles;
  std::vector<OutputFile> files;
  files.push_back(Finish(n[0], PowerOn(), 0.6f));
  files.push_back(Finish(n[1], ZombieGroan(), 0.85f));
  files.push_back(Finish(n[2], CerberusBark(), 0.85f));
  files.push_back(Finish(n[3], HunterShriek(), 0.75f));
  files.push_back(Finish(n[4], StalkerRoar(), 0.9f));
  files.push_back(Finish(n[5], RocketWarning(), 0.85f));
  files.push_back(Finish(n[6], Knife(), 0.7f));
  files.push_back(Finish(n[7], Handgun(), 0.85f));
  files.push_back(Finish(n[8], Shotgun(), 0.9f));
  files.push_back(Finish(n[9], Magnum(), 0.95f));
  files.push_back(Finish(n[10], TitleSting(), 0.85f));
  files.push_back(Finish(n[11], SprayHiss(), 0.6f));
  files.push_back(Finish(n[12], DeathCry(), 0.85f));
  files.push_back(Finish(n[13], FileJingle(), 0.7f));
  files.push_back(Finish(n[14], StreetsAmbience(), 0.6f));
  files.push_back(Finish(n[15], HeartAndHammer(), 0.8f));
  return files;
}

}  // namespace datakit
