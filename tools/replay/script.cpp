#include "replay/script.h"

#include <charconv>
#include <sstream>

#include "state/game_state.h"

namespace replay {
namespace {

bool ParseInt(const std::string& s, std::int64_t lo, std::int64_t hi, std::int64_t& out) {
  if (s.empty()) return false;
  const char* first = s.data();
  const char* last = s.data() + s.size();
  if (*first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, out);
  return ec == std::errc() && ptr == last && out >= lo && out <= hi;
}

// "gObjectLayer[r][c]" with r in 0..17 and c in 0..24.
int* ResolveLayerCell(const std::string& name) {
  for (auto [prefix, layer] :
       {std::pair{"gObjectLayer[", &gObjectLayer}, std::pair{"gCountLayer[", &gCountLayer}}) {
    const std::string p = prefix;
    if (name.rfind(p, 0) != 0) continue;
    const std::size_t close1 = name.find(']', p.size());
    if (close1 == std::string::npos || close1 + 1 >= name.size() || name[close1 + 1] != '[' ||
        name.back() != ']') {
      return nullptr;
    }
    std::int64_t r = 0;
    std::int64_t c = 0;
    if (!ParseInt(name.substr(p.size(), close1 - p.size()), 0, kFieldRows - 1, r) ||
        !ParseInt(name.substr(close1 + 2, name.size() - close1 - 3), 0, kFieldCols - 1, c)) {
      return nullptr;
    }
    return &(*layer)[r][c];
  }
  return nullptr;
}

}  // namespace

int* ResolveStateName(const std::string& name) {
  if (int* v = FindStateInt(name.c_str())) return v;
  return ResolveLayerCell(name);
}

bool ParseScript(const std::string& text, std::vector<Command>& commands, std::string* error) {
  if (text.size() > kMaxScriptBytes) {
    if (error != nullptr) *error = "longer than " + std::to_string(kMaxScriptBytes) + " bytes";
    return false;
  }
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = "line " + std::to_string(lineNo) + ": " + why;
    return false;
  };
  constexpr std::int64_t kMaxInt = 2147483647;
  constexpr std::int64_t kMinInt = -2147483647 - 1;
  while (std::getline(in, raw)) {
    ++lineNo;
    const std::size_t hash = raw.find('#');
    if (hash != std::string::npos) raw.resize(hash);
    std::istringstream words(raw);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;
    Command c;
    c.line = lineNo;
    const std::string& verb = w[0];
    auto want = [&](std::size_t n) { return w.size() == n + 1; };
    if (verb == "time") {
      c.op = Op::kTime;
      if (!want(1) || !ParseInt(w[1], 0, 4102444800LL, c.a)) return fail("time needs seconds");
    } else if (verb == "move") {
      c.op = Op::kMove;
      if (!want(2) || !ParseInt(w[1], -32768, 32767, c.a) || !ParseInt(w[2], -32768, 32767, c.b)) {
        return fail("move needs X and Y");
      }
    } else if (verb == "down" || verb == "up") {
      c.op = verb == "down" ? Op::kDown : Op::kUp;
      if (!want(0)) return fail(verb + " takes nothing");
    } else if (verb == "key") {
      c.op = Op::kKey;
      if (!want(1)) return fail("key needs a name");
      c.name = w[1];
    } else if (verb == "focus") {
      c.op = Op::kFocus;
      if (!want(1) || (w[1] != "on" && w[1] != "off")) return fail("focus needs on or off");
      c.a = w[1] == "on" ? 1 : 0;
    } else if (verb == "frames") {
      c.op = Op::kFrames;
      if (!want(1) || !ParseInt(w[1], 0, 1000000000LL, c.a)) return fail("frames needs a count");
    } else if (verb == "lose-display") {
      c.op = Op::kLoseDisplay;
      if (!want(0)) return fail("lose-display takes nothing");
    } else if (verb == "set" || verb == "expect") {
      c.op = verb == "set" ? Op::kSet : Op::kExpect;
      if (!want(2)) return fail(verb + " needs a name and a value");
      c.name = w[1];
      c.target = ResolveStateName(w[1]);
      if (c.target == nullptr) return fail("unknown game-state name " + w[1]);
      if (!ParseInt(w[2], kMinInt, kMaxInt, c.a)) return fail("bad value " + w[2]);
    } else if (verb == "dump" || verb == "shot") {
      c.op = verb == "dump" ? Op::kDump : Op::kShot;
      if (!want(1)) return fail(verb + " needs a path");
      c.name = w[1];
    } else {
      return fail("unknown command " + verb);
    }
    commands.push_back(c);
  }
  return true;
}

}  // namespace replay
