// vedo-soak [--data DIR] [--passes N] [--seed S] [--careful] [--record FILE]:
// plays random but plausible input headless for N scene passes across as
// many games as fit, in both modes, and checks the game state's invariants
// after every pass. Exit code 0 when every pass kept them, 1 on the first
// broken invariant (named on stderr), 2 when the game could not start.
//
// --careful plays as someone out to last: in the field it attacks seldom
// and only in good health, heals with a spray when hurt, closes every event
// window and steps out of the rocket's way, so that one game lasts. --record
// writes the games played as recordings, as the game's own option does.
//
// The input moves over cells, the panel buttons, the event window's button
// and the title, warning and prologue buttons; it presses and releases the
// left button, sometimes holds it for many passes, and now and then takes
// the focus away and gives it back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "app/program.h"
#include "app/recordings.h"
#include "field/rocket.h"
#include "platform/platform.h"
#include "platform/replay_clock.h"
#include "state/data_contract.h"
#include "state/game_state.h"

namespace {

// A small generator of our own, independent of the game's.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint32_t Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return static_cast<std::uint32_t>(s_ >> 11);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }

 private:
  std::uint64_t s_;
};

struct Point {
  int x;
  int y;
};

struct Counts {
  unsigned long long passes = 0;
  unsigned long long games = 0;
  unsigned long long hardGames = 0;
  unsigned long long wins = 0;
  unsigned long long deaths = 0;
};

class SoakHost final : public platform::HeadlessHost {
 public:
  SoakHost(std::uint64_t seed, std::uint64_t passes, bool careful)
      : rng_(seed), passesLeft_(passes), careful_(careful) {
    Push(platform::EventType::kActivate, 0, 0, true);
  }

  bool NextEvent(platform::Event& event, bool waiting) override {
    if (queue_.empty() && !done_) Plan(waiting);
    if (queue_.empty()) return false;
    event = queue_.front();
    queue_.pop_front();
    return true;
  }

  void OnPass() override {
    ++counts_.passes;
    clock_.Tick();
    if (idle_ > 0) --idle_;
    // Someone out to last looks up when the rocket's lane is set.
    if (careful_ && gRocketActive == 1 && gRocketFrame == 16) idle_ = 0;
    const std::string broken = CheckStateInvariants();
    if (!broken.empty() && failure_.empty()) {
      failure_ = broken;
      Finish();
    }
    if (counts_.passes % 50000 == 0) {
      std::fprintf(stderr, "vedo-soak: %llu passes, %llu games, %llu wins, %llu deaths\n",
                   counts_.passes, counts_.games, counts_.wins, counts_.deaths);
    }
    CountGames();
    if (counts_.passes >= passesLeft_) Finish();
  }

  std::int64_t Now() override { return clock_.Now(); }

  const std::string& Failure() const { return failure_; }
  const Counts& Counted() const { return counts_; }

 private:
  void Push(platform::EventType type, int x, int y, bool active = false) {
    queue_.push_back({.type = type, .x = x, .y = y, .active = active});
  }

  void Finish() {
    if (done_) return;
    done_ = true;
    queue_.clear();
    Push(platform::EventType::kWindowClosed, 0, 0);
  }

  void CountGames() {
    if (gFieldReady == 1 && !inGame_) {
      inGame_ = true;
      seeker_ = !careful_ && rng_.Below(2) == 0;
      ++counts_.games;
      if (gHardMode) ++counts_.hardGames;
    }
    if (inGame_ && gFieldReady == 0) {
      inGame_ = false;
      ++(lastEnding_ ? counts_.wins : counts_.deaths);
    }
    lastEnding_ = gEnding == 1;
  }

  bool InField() const {
    return gInTitle == 0 && gAlive == 1 && gEnding == 0 && gProloguePending == 0;
  }

  // Where the careful player must point now, if anywhere: clear of the
  // rocket once its lane is set, on the event window's button, on the spray
  // button when hurt.
  bool CarefulTarget(Point& p, bool& press) {
    if (!careful_ || !InField()) return false;
    press = false;
    if (gRocketActive == 1 && gRocketFrame > 15) {
      for (int x : {20, 100, 200, 400, 520, 620}) {
        if (!RocketHits(gRocketColumn, RocketPlayerOffset(x))) {
          p = {x, rng_.Range(20, 340)};
          return true;
        }
      }
    }
    press = true;
    if (gEventOpen == 1) {
      p = {rng_.Range(440, 470), rng_.Range(218, 294)};
      return true;
    }
    if (gHealth < 60 && gSprays > 0) {
      p = {rng_.Range(524, 569), rng_.Range(417, 448)};
      return true;
    }
    return false;
  }

  Point Target() {
    // Where a player would point, by scene.
    if (gInTitle == 1) {
      if (gWarningShown == 0) return {rng_.Below(kScreenWidth), rng_.Below(kScreenHeight)};
      // Both start buttons about equally, and sometimes their edges.
      if (rng_.Below(2) == 0) return {rng_.Range(55, 280), rng_.Range(105, 155)};
      return {rng_.Range(315, 545), rng_.Range(105, 155)};
    }
    if (gProloguePending == 1 && gEnding == 0 && gAlive == 1) {
      return {rng_.Range(430, 480), rng_.Range(270, 362)};
    }
    if (gEventOpen == 1 && rng_.Below(4) != 0) return {rng_.Range(438, 472), rng_.Range(214, 298)};
    // Half the games are played by someone who knows where the files lie,
    // so that wins and endings come up as well as deaths.
    if (seeker_ && rng_.Below(3) == 0) {
      if (gHealth < 40 && gSprays > 0) return {rng_.Range(522, 571), rng_.Range(415, 450)};
      for (int r = 0; r < kFieldRows; ++r) {
        for (int c = 0; c < kFieldCols; ++c) {
          const int code = gObjectLayer[r][c];
          if (code < CELL_FILE || code >= CELL_FILE + kFiles) continue;  // not a hidden file
          const int sx = c - gViewCol;
          const int sy = r - gViewRow;
          if (sx < 0) return {0, 100};
          if (sx >= kViewCols) return {kScreenWidth - 1, 100};
          if (sy < 0) return {100, 0};
          if (sy >= kViewRows) return {100, 400};
          return {sx * kCellPixels + rng_.Range(2, kCellPixels - 3),
                  sy * kCellPixels + rng_.Range(2, kCellPixels - 3)};
        }
      }
    }
    switch (rng_.Below(10)) {
      case 0:
        return {rng_.Range(465, 628), rng_.Range(372, 455)};  // the buttons
      case 1:
        return {rng_.Below(kScreenWidth),
                rng_.Range(kMapViewHeight, kScreenHeight - 1)};  // the panel
      case 2:
        return {rng_.Below(2) ? 0 : kScreenWidth - 1,
                rng_.Below(kScreenHeight)};  // scroll sideways
      case 3:
        return {rng_.Below(kScreenWidth), rng_.Below(2) ? 0 : kMapViewHeight - 1};  // up or down
      default:
        return {rng_.Below(kScreenWidth), rng_.Below(kMapViewHeight)};  // a cell
    }
  }

  void Plan(bool waiting) {
    if (idle_ > 0 && !waiting) return;
    if (waiting || rng_.Below(4000) == 0) {
      // Focus lost for a while, then back.
      Push(platform::EventType::kActivate, 0, 0, waiting);
      return;
    }
    bool carefulPress = false;
    Point p{};
    const bool careful = CarefulTarget(p, carefulPress);
    if (!careful) p = Target();
    Push(platform::EventType::kMouseMove, p.x, p.y);
    int action = rng_.Below(6);
    // The careful player attacks now and then (about every half minute),
    // only when well, and with a loaded gun.
    const bool armed = gWeapon != WEAPON_KNIFE && gAmmoShown > 0;
    if (careful_ && InField() && !careful && !(gHealth >= 70 && armed && rng_.Below(250) == 0)) {
      action = 3 + rng_.Below(3);
    }
    if (careful) action = carefulPress && !pendingUp_ ? 0 : 3;
    if (action <= 2) {
      Push(platform::EventType::kLeftDown, p.x, p.y);
      pendingUp_ = true;
    } else if (action == 3 && pendingUp_) {
      Push(platform::EventType::kLeftUp, p.x, p.y);
      pendingUp_ = false;
    }
    // (A careful player never holds the button while moving on.)
    if ((careful_ || rng_.Below(3) == 0) && pendingUp_) {
      Push(platform::EventType::kLeftUp, p.x, p.y);
      pendingUp_ = false;
    }
    // Wait a few passes, sometimes many (a held button repeats).
    idle_ = rng_.Below(8) == 0 ? rng_.Range(10, 60) : rng_.Range(0, 6);
  }

  Rng rng_;
  std::deque<platform::Event> queue_;
  std::uint64_t passesLeft_;
  platform::ReplayClock clock_;
  Counts counts_;
  int idle_ = 0;
  bool pendingUp_ = false;
  bool done_ = false;
  bool inGame_ = false;
  bool seeker_ = false;
  bool lastEnding_ = false;
  bool careful_;
  std::string failure_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string dataDir;
  std::uint64_t passes = 100000;
  std::uint64_t seed = 1;
  bool careful = false;
  std::string recordTo;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      dataDir = argv[++i];
    } else if (std::strcmp(argv[i], "--passes") == 0 && i + 1 < argc) {
      passes = std::strtoull(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--careful") == 0) {
      careful = true;
    } else if (std::strcmp(argv[i], "--record") == 0 && i + 1 < argc) {
      recordTo = argv[++i];
    } else {
      std::fprintf(stderr,
                   "usage: vedo-soak [--data DIR] [--passes N] [--seed S] [--careful] "
                   "[--record FILE]\n");
      return 2;
    }
  }
  if (!recordTo.empty()) {
    // Named from where the tool was started, not the data folder.
    char* here = getcwd(nullptr, 0);
    if (here != nullptr && recordTo[0] != '/') recordTo = std::string(here) + "/" + recordTo;
    std::free(here);
    RecordGames(nullptr, recordTo);
  }
  if (!dataDir.empty() && chdir(dataDir.c_str()) != 0) {
    std::fprintf(stderr, "vedo-soak: cannot enter %s\n", dataDir.c_str());
    return 2;
  }
  SoakHost host(seed, passes, careful);
  platform::UseHeadlessBackend(&host);
  const int code = WinMain();
  const Counts& n = host.Counted();
  if (code != 0 && n.passes == 0) {
    std::fprintf(stderr, "vedo-soak: the game could not start\n");
    return 2;
  }
  std::printf("passes %llu, games %llu (hard %llu), wins %llu, deaths %llu\n", n.passes, n.games,
              n.hardGames, n.wins, n.deaths);
  if (!host.Failure().empty()) {
    std::fprintf(stderr, "vedo-soak: invariant broken after pass %llu: %s\n", n.passes,
                 host.Failure().c_str());
    return 1;
  }
  return 0;
}
