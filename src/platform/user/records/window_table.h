#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/user/records/window.h"

namespace qv {

// Owns every window and finds it by its handle. A destroyed window is gone from lookups at
// once, but its record stays until the last message being handled for it has returned.
class WindowTable {
  public:
    // Keeps a window's record alive while one of its messages is handled.
    class Pin {
      public:
        Pin(WindowTable& table, Window& window) : table_(table), window_(window) {
            ++window_.activeCalls;
        }
        ~Pin() { table_.Unpin(window_); }
        Pin(const Pin&) = delete;
        Pin& operator=(const Pin&) = delete;

      private:
        WindowTable& table_;
        Window& window_;
    };

    // A handle no window of this process has had before, in this window system or an earlier one.
    HWND NewHandle();
    Window& Add(std::unique_ptr<Window> window);
    Window* Find(HWND handle) const;
    void Retire(HWND handle);
    std::vector<Window*> All() const;

  private:
    void Unpin(Window& window);

    std::unordered_map<HWND, std::unique_ptr<Window>> live_;
    std::vector<std::unique_ptr<Window>> retired_;
};

}  // namespace qv
