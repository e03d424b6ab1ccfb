#include "platform/pocket/pocket_shell.h"

#include <memory>

#include "platform/pocket/full_screen.h"
#include "platform/pocket/keyboard_button.h"
#include "platform/pocket/menu_bar.h"
#include "platform/pocket/navigation_bar.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

bool IsMenuBar(HWND window) {
    return IsWindowOfClass(window, kMenuBarClassName);
}

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
        // Collected first: showing and hiding must not disturb the walk.
        std::vector<HWND> bars;
        for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
             window = GetWindow(window, GW_HWNDNEXT)) {
            if (IsMenuBar(window)) {
                bars.push_back(window);
            }
        }
        for (const HWND bar : bars) {
            ShowOrHide(bar, active && GetWindow(bar, GW_OWNER) == active);
        }
    }

  private:
    HWND navigation_ = nullptr;
    HWND keyboardButton_ = nullptr;
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
    RefreshPocketShell();
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
