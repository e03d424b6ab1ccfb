#pragma once

#include <functional>
#include <vector>

#include "platform/user/records/user_types.h"

namespace qv {

// One level of modal message loop: it runs for one window, keeps input to it by disabling the
// program's other top-level windows (not the shell's, WS_EX_SHELLWINDOW), and ends only when its
// own window is ended or gone. The
// quit message ends it too and is posted again for the loop below.
class ModalLoop {
  public:
    // Sees each message before it is translated and dispatched; true when it has handled it.
    // The loop knows no dialogs: the dialog manager hands it IsDialogMessageW here.
    using PreTranslate = std::function<bool(const MSG&)>;

    ModalLoop(HWND window, INT_PTR resultIfGone);
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // Shows and activates the window and handles messages until the level ends.
    INT_PTR Run(const PreTranslate& preTranslate = {});
    void End(INT_PTR result);
    HWND Handle() const { return window_; }
    bool Ended() const { return ended_; }

  private:
    void DisableOthers();
    void EnableOthers();

    HWND window_;
    INT_PTR result_;
    bool ended_ = false;
    std::vector<HWND> disabled_;
};

}  // namespace qv
