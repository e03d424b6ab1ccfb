#include "platform/user/defaults/dialog_state.h"

#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

constexpr int kSlot = static_cast<int>(sizeof(LONG_PTR));
constexpr int kDefaultIdSlot = DWL_USER + kSlot;
constexpr int kFocusSlot = kDefaultIdSlot + kSlot;
constexpr int kEndedSlot = kFocusSlot + kSlot;
constexpr int kEndResultSlot = kEndedSlot + kSlot;
static_assert(kEndResultSlot + kSlot <= DLGWINDOWEXTRA);

}  // namespace

WORD DialogState::DefaultId() const {
    return static_cast<WORD>(GetWindowLongW(dialog_, kDefaultIdSlot));
}

void DialogState::SetDefaultId(WORD id) {
    SetWindowLongW(dialog_, kDefaultIdSlot, id);
}

HWND DialogState::SavedFocus() const {
    return HandleFromParam(static_cast<std::uintptr_t>(GetWindowLongW(dialog_, kFocusSlot)));
}

void DialogState::SaveFocus(HWND control) {
    SetWindowLongW(dialog_, kFocusSlot, static_cast<LONG_PTR>(HandleParam(control)));
}

std::optional<INT_PTR> DialogState::EndResult() const {
    if (GetWindowLongW(dialog_, kEndedSlot) == 0) {
        return std::nullopt;
    }
    return GetWindowLongW(dialog_, kEndResultSlot);
}

void DialogState::SetEndResult(INT_PTR result) {
    SetWindowLongW(dialog_, kEndResultSlot, result);
    SetWindowLongW(dialog_, kEndedSlot, 1);
}

}  // namespace qv
