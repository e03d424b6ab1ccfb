#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

// Shows a modal box centred in the work area (SPI_GETWORKAREA, which the device's shell sets to
// the room between its bars) with the caption, the text wrapped to the box, the stop
// (MB_ICONHAND) or information (MB_ICONASTERISK) icon and an "ok" default push button, and runs
// it as a dialog until Enter, Escape or a tap on "ok" closes it; returns IDOK. Without an owner
// every other window of the program waits for it. Only MB_OK boxes are offered: other button
// sets fail with 0. The box is a dialog of the controls layer, so it lives above the
// window layer; it registers the button class it needs.
int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type);

// What an open message box says, for those who look at the screen from outside (scripts).
struct MessageBoxContent {
    std::u16string text;
    UINT icon = 0;  // MB_ICONHAND, MB_ICONASTERISK or 0
};
// Null when the window is not a message box.
std::optional<MessageBoxContent> DescribeMessageBox(HWND window);

}  // namespace qv
