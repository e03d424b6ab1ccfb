#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/gdi/gdi_objects.h"

namespace qv {

struct KeyModifiers {
    bool control = false;
    bool alt = false;
    bool shift = false;
    bool operator==(const KeyModifiers&) const = default;
};

// What the user did, in the device screen's logical coordinates.
struct InputEvent {
    enum class Kind {
        PenDown,
        PenMove,
        PenUp,
        KeyDown,
        KeyUp,
        Character,
        ScaleChanged,
        Close,
        Wheel,
        Drop
    };

    Kind kind = Kind::Close;
    POINT position{};          // pen events
    int virtualKey = 0;        // key events
    KeyModifiers modifiers{};  // key and wheel events
    char16_t character = 0;    // character events
    POINT notches{};           // wheel events: to the right and away from the user
    std::u16string path{};     // drop events: the file dropped on the window
    bool operator==(const InputEvent&) const = default;
};

using HostTime = std::chrono::milliseconds;  // since the host started

// Where the program runs: a real window or the headless host of tests and scripts. The program
// above cannot tell which.
class Host {
  public:
    enum class WaitResult { Input, Deadline, Idle };

    virtual ~Host() = default;

    // Device pixels per logical pixel of the screen the host shows.
    virtual int DeviceScale() const = 0;
    // Shows the device screen.
    virtual void Present(const Bitmap& screen) = 0;
    // The next input, if any has arrived; never blocks.
    virtual std::optional<InputEvent> NextInput() = 0;
    virtual HostTime Now() const = 0;
    // Returns when input has arrived (Input), when `deadline` has come (Deadline), or when
    // neither will happen (Idle: the headless host has run out of script and of time).
    virtual WaitResult Wait(std::optional<HostTime> deadline) = 0;
    virtual void SetTitle(std::u16string_view title) = 0;
    virtual void Raise() = 0;
    virtual void SetBusy(bool busy) = 0;
};

}  // namespace qv
