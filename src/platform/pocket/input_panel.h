#pragma once

#include "platform/pocket/shell_layout.h"
#include "platform/user/records/user_types.h"

namespace qv {

// The input panel's state as the shell reports it. The record is 48 bytes, as on the device;
// there is no input method data, so its two fields stay zero.
struct SIPINFO {
    DWORD cbSize = 0;
    DWORD fdwFlags = 0;
    RECT rcVisibleDesktop{};  // the work area that the panel leaves visible
    RECT rcSipRect{};         // where the panel lies when it is up
    DWORD dwImDataSize = 0;
    DWORD pvImData = 0;
};
static_assert(sizeof(SIPINFO) == 48);

// SIPINFO.fdwFlags: the panel is up.
inline constexpr DWORD SIPF_ON = 0x00000001;
// WM_SETTINGCHANGE's first parameter when the panel went up or down.
inline constexpr WPARAM SPI_SETSIPINFO = 224;

// Fills the record; fails without a window system or when cbSize is not 48.
BOOL SipGetInfo(SIPINFO* info);
// Raises the panel when SIPF_ON is set, else lowers it; the other fields are not looked at.
// Fails without a window system or when cbSize is not 48.
BOOL SipSetInfo(SIPINFO* info);

// For the shell's own use, the menu bar's keyboard button among them.
InputPanelState CurrentInputPanel();
// The keyboard's window, or null before the panel was first raised. Lowering only hides it, so
// the panel is up exactly while it is visible.
HWND InputPanelKeyboard();
// Raises or lowers the on-screen keyboard. When the state changes, the pages the shell sized
// (shell_pages) follow it, and then every top-level window is sent WM_SETTINGCHANGE with
// SPI_SETSIPINFO. False without a window system or when the keyboard cannot be made.
bool SetInputPanel(InputPanelState wanted);
bool ToggleInputPanel();
// Destroys the keyboard, which lives until then: a window system that ends with windows left
// takes them without messages, and their state with them.
void DestroyInputPanel();

}  // namespace qv
