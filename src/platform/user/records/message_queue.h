#pragma once

#include <deque>
#include <functional>
#include <optional>

#include "platform/user/records/user_types.h"

namespace qv {

// The posted messages of the program's one thread, and the quit request that comes after them.
class MessageQueue {
  public:
    void Post(const MSG& message) { posted_.push_back(message); }
    // A message that must be the next one, as a character made from a key is.
    void PostNext(const MSG& message) { posted_.push_front(message); }
    // The first posted message that `wanted` accepts, taken out of the queue when `remove`.
    std::optional<MSG> Take(const std::function<bool(const MSG&)>& wanted, bool remove);

    void PostQuit(int exitCode) {
        quitPending_ = true;
        quitCode_ = exitCode;
    }
    bool QuitPending() const { return quitPending_; }
    int QuitCode() const { return quitCode_; }
    void ClearQuit() { quitPending_ = false; }

  private:
    std::deque<MSG> posted_;
    bool quitPending_ = false;
    int quitCode_ = 0;
};

}  // namespace qv
