#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <string>

namespace qv::tools {

// Random use of the program as lines of the headless script language, one user action a line,
// the same lines for the same seed. Taps lean toward the menu bar row, the navigation bar's "ok"
// and the work area. The exit commands are rare, so that a run mostly stays within one start of
// the program.
class MonkeyEvents {
  public:
    explicit MonkeyEvents(std::uint32_t seed) : random_(seed) {}

    std::string Next();

  private:
    // A whole number from low to high, both included. The generator's own output is used, not a
    // distribution, whose results the standard leaves to each library.
    int Between(int low, int high);
    bool Percent(int chance) { return Between(1, 100) <= chance; }
    std::string Place();
    std::string ScreenPoint();
    std::string Tap();
    std::string Drag();
    std::string Hold();
    std::string Key();
    std::string Typed();
    std::string Wait();
    std::string MenuChoice();
    std::string PressAcross();

    std::mt19937 random_;
    std::deque<std::string> pending_;  // the rest of an action of several lines
};

}  // namespace qv::tools
