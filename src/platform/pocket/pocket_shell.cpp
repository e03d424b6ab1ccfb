#include "platform/pocket/pocket_shell.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/pocket/full_screen.h"
#include "platform/pocket/keyboard_button.h"
#include "platform/pocket/navigation_bar.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/system_parameters.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

void ShowOrHide(HWND window, bool show) {
    if ((IsWindowVisible(window) != 0) != show) {
        ShowWindow(window, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
}

class PocketShell final : public ShellObserver {
  public:
    PocketShell() { MakeBars(); }

    void ActiveChanged(HWND) override { Refresh(); }
    void WindowChanged(HWND window, ShellChange) override {
        if (window && window == GetActiveWindow()) {
            Refresh();
        }
    }

    HWND Navigation() const { return navigation_; }
    HWND KeyboardButton() const { return keyboardButton_; }
    void AddMenuBar(HWND bar) { menuBars_.push_back(bar); }
    // A bar that someone destroyed is made again.
    void MakeBars() {
        if (!IsWindow(navigation_)) {
            navigation_ = CreateNavigationBar();
        }
        if (!IsWindow(keyboardButton_)) {
            keyboardButton_ = CreateKeyboardButton();
        }
    }

    void Refresh() {
        const HWND active = GetActiveWindow();
        if (IsWindow(navigation_)) {
            FollowWindow(navigation_, active);
            ShowOrHide(navigation_, !TaskBarHidden(active));
        }
        if (IsWindow(keyboardButton_)) {
            ShowOrHide(keyboardButton_, !SipButtonHidden(active));
        }
        std::erase_if(menuBars_, [](HWND bar) { return !IsWindow(bar); });
        // Newest first, as they lie on the screen; a copy, as showing and hiding may reach code
        // that adds a bar.
        const std::vector<HWND> bars(menuBars_.rbegin(), menuBars_.rend());
        for (const HWND bar : bars) {
            ShowOrHide(bar, active && GetWindow(bar, GW_OWNER) == active);
        }
    }

  private:
    HWND navigation_ = nullptr;
    HWND keyboardButton_ = nullptr;
    // Oldest first; a destroyed one is dropped at the next refresh.
    std::vector<HWND> menuBars_;
};

PocketShell* CurrentShell() {
    WindowSystem* system = WindowSystem::Current();
    return system ? dynamic_cast<PocketShell*>(system->Shell()) : nullptr;
}

}  // namespace

void InstallPocketShell() {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return;
    }
    if (PocketShell* shell = CurrentShell()) {
        shell->MakeBars();
    } else {
        system->SetShell(std::make_unique<PocketShell>());
    }
    RECT work = WorkArea();
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    RefreshPocketShell();
}

void AddShellMenuBar(HWND bar) {
    if (PocketShell* shell = CurrentShell()) {
        shell->AddMenuBar(bar);
    }
}

void RefreshPocketShell() {
    if (PocketShell* shell = CurrentShell()) {
        shell->Refresh();
    }
}

HWND ShellNavigationBar() {
    const PocketShell* shell = CurrentShell();
    return shell ? shell->Navigation() : nullptr;
}

HWND ShellKeyboardButton() {
    const PocketShell* shell = CurrentShell();
    return shell ? shell->KeyboardButton() : nullptr;
}

bool ShellSipButtonHidden() {
    return SipButtonHidden(GetActiveWindow());
}

}  // namespace qv
