// Finds a WAV file's sound in a capture of what a program played (the WAV
// that ALSA's file plugin writes), whatever rate, sample format and channel
// count the capture has: the reference's left channel is resampled to the
// capture's rate, then a window from its loudest part is slid along the
// capture's first channel; the best normalised correlation is printed, and
// the exit status says whether it reaches the threshold.
//
//   capture_match REFERENCE.wav CAPTURE.wav [THRESHOLD=0.9]
//   capture_match --peak CAPTURE.wav [FROM_BYTE=0]
//
// The second form prints the loudest sample of the first channel (0 to 1)
// from the given byte of the file on, and exits 0 when it is silent there.
//
// Correlation, not equality: on its way out the sound is converted by our
// mixer, by Wine's mixer to the device's format and rate, and may be scaled;
// none of that changes the shape of the wave.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct Wave {
  int format = 0;  // 1 PCM, 3 float
  int channels = 0;
  int rate = 0;
  int bits = 0;
  std::vector<double> first;  // the first channel, in -1 .. 1
  std::size_t dataAt = 0;     // the file's byte of the first frame
  std::size_t frameBytes = 0;
};

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

bool Read(const char* path, Wave& w) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), {}};
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    std::size_t length = Le(b, at + 4, 4);
    if (std::memcmp(&b[at], "fmt ", 4) == 0 && at + 24 <= b.size()) {
      w.format = static_cast<int>(Le(b, at + 8, 2));
      w.channels = static_cast<int>(Le(b, at + 10, 2));
      w.rate = static_cast<int>(Le(b, at + 12, 4));
      w.bits = static_cast<int>(Le(b, at + 22, 2));
      if (w.format == 0xFFFE && at + 34 <= b.size()) w.format = static_cast<int>(Le(b, at + 32, 2));
    } else if (std::memcmp(&b[at], "data", 4) == 0) {
      // A capture still being written may say 0 or too much: take the rest.
      if (length == 0 || length > b.size() - at - 8) length = b.size() - at - 8;
      const std::size_t bytes = static_cast<std::size_t>(w.bits / 8);
      const std::size_t frame = bytes * static_cast<std::size_t>(w.channels);
      if (frame == 0) return false;
      w.dataAt = at + 8;
      w.frameBytes = frame;
      for (std::size_t p = at + 8; p + frame <= at + 8 + length; p += frame) {
        const std::uint32_t raw = Le(b, p, static_cast<int>(bytes));
        double v = 0;
        if (w.format == 3 && w.bits == 32) {
          float f;
          std::memcpy(&f, &raw, 4);
          v = f;
        } else if (w.bits == 8) {
          v = (static_cast<int>(raw) - 128) / 128.0;
        } else {
          const int shift = 32 - w.bits;
          v = static_cast<std::int32_t>(raw << shift) / 2147483648.0;
        }
        w.first.push_back(v);
      }
      return !w.first.empty();
    }
    at += 8 + length + (length & 1);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--peak") == 0) {
    Wave cap;
    if (!Read(argv[2], cap)) return 2;
    const std::size_t from = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 0;
    double peak = 0;
    for (std::size_t i = from > cap.dataAt ? (from - cap.dataAt) / cap.frameBytes : 0;
         i < cap.first.size(); ++i) {
      peak = std::max(peak, std::abs(cap.first[i]));
    }
    std::printf("peak from byte %zu: %.6f\n", from, peak);
    return peak == 0 ? 0 : 1;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: capture_match REFERENCE.wav CAPTURE.wav [THRESHOLD]\n");
    return 2;
  }
  const double threshold = argc > 3 ? std::atof(argv[3]) : 0.9;
  Wave ref;
  Wave cap;
  if (!Read(argv[1], ref) || !Read(argv[2], cap)) {
    std::fprintf(stderr, "capture_match: cannot read the files\n");
    return 2;
  }
  // The reference at the capture's rate.
  std::vector<double> r;
  const double step = static_cast<double>(ref.rate) / cap.rate;
  for (double t = 0; t + 1 < static_cast<double>(ref.first.size()); t += step) {
    const std::size_t i = static_cast<std::size_t>(t);
    r.push_back(ref.first[i] + (ref.first[i + 1] - ref.first[i]) * (t - static_cast<double>(i)));
  }
  // Its loudest window of about 0.1 s.
  const std::size_t n = std::min<std::size_t>(r.size(), static_cast<std::size_t>(cap.rate / 10));
  std::size_t from = 0;
  double loudest = -1;
  for (std::size_t s = 0; s + n <= r.size(); s += n / 4 + 1) {
    double e = 0;
    for (std::size_t k = 0; k < n; ++k) e += r[s + k] * r[s + k];
    if (e > loudest) {
      loudest = e;
      from = s;
    }
  }
  double best = 0;
  std::size_t bestAt = 0;
  for (std::size_t lag = 0; lag + n <= cap.first.size(); ++lag) {
    double xy = 0;
    double yy = 0;
    for (std::size_t k = 0; k < n; ++k) {
      xy += r[from + k] * cap.first[lag + k];
      yy += cap.first[lag + k] * cap.first[lag + k];
    }
    const double c = yy > 0 ? xy / std::sqrt(loudest * yy) : 0;
    if (c > best) {
      best = c;
      bestAt = lag;
    }
  }
  std::printf(
      "capture: %d Hz, %d channels, %d bits (format %d), %zu frames; "
      "best correlation %.3f at %.3f s\n",
      cap.rate, cap.channels, cap.bits, cap.format, cap.first.size(), best,
      static_cast<double>(bestAt) / cap.rate);
  return best >= threshold ? 0 : 1;
}
