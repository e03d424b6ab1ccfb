#include "platform/pocket/input_panel.h"

#include "platform/pocket/on_screen_keyboard.h"
#include "platform/pocket/shell_pages.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

bool ValidRecord(const SIPINFO* info) {
    return info && info->cbSize == sizeof(SIPINFO) && GetDesktopWindow();
}

}  // namespace

HWND InputPanelKeyboard() {
    for (const HWND window : TopLevelWindows()) {
        if (IsOnScreenKeyboard(window)) {
            return window;
        }
    }
    return nullptr;
}

InputPanelState CurrentInputPanel() {
    const HWND keyboard = InputPanelKeyboard();
    return keyboard && IsWindowVisible(keyboard) ? InputPanelState::Up : InputPanelState::Down;
}

bool SetInputPanel(InputPanelState wanted) {
    if (!GetDesktopWindow()) {
        return false;
    }
    if (CurrentInputPanel() == wanted) {
        return true;
    }
    HWND keyboard = InputPanelKeyboard();
    if (wanted == InputPanelState::Up) {
        if (!keyboard) {
            keyboard = CreateOnScreenKeyboard();
        }
        if (!keyboard) {
            return false;
        }
        ShowWindow(keyboard, SW_SHOWNA);
    } else {
        // A key held down is let go without typing.
        SendMessageW(keyboard, WM_CANCELMODE, 0, 0);
        ShowWindow(keyboard, SW_HIDE);
    }
    FitShellPages(wanted);
    for (const HWND window : TopLevelWindows()) {
        if (IsWindow(window)) {
            SendMessageW(window, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
        }
    }
    return true;
}

bool ToggleInputPanel() {
    return SetInputPanel(CurrentInputPanel() == InputPanelState::Up ? InputPanelState::Down
                                                                    : InputPanelState::Up);
}

void DestroyInputPanel() {
    if (const HWND keyboard = InputPanelKeyboard()) {
        SetInputPanel(InputPanelState::Down);
        DestroyWindow(keyboard);
    }
}

BOOL SipGetInfo(SIPINFO* info) {
    if (!ValidRecord(info)) {
        return 0;
    }
    const InputPanelState panel = CurrentInputPanel();
    *info = SIPINFO{};
    info->cbSize = sizeof(SIPINFO);
    info->fdwFlags = panel == InputPanelState::Up ? SIPF_ON : 0;
    info->rcVisibleDesktop = VisibleWorkArea(panel);
    info->rcSipRect = InputPanelRect();
    return 1;
}

BOOL SipSetInfo(SIPINFO* info) {
    if (!ValidRecord(info)) {
        return 0;
    }
    return SetInputPanel((info->fdwFlags & SIPF_ON) != 0 ? InputPanelState::Up
                                                         : InputPanelState::Down)
               ? 1
               : 0;
}

}  // namespace qv
