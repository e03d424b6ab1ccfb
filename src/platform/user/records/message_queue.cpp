#include "platform/user/records/message_queue.h"

#include <algorithm>

namespace qv {

std::optional<MSG> MessageQueue::Take(const std::function<bool(const MSG&)>& wanted, bool remove) {
    const auto found = std::find_if(posted_.begin(), posted_.end(), wanted);
    if (found == posted_.end()) {
        return std::nullopt;
    }
    const MSG message = *found;
    if (remove) {
        posted_.erase(found);
    }
    return message;
}

}  // namespace qv
