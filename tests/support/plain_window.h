#pragma once

#include <string_view>

#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"

namespace qv::testing {

// A top-level window of a class that does only the default processing.
inline HWND MakePlainWindow(DWORD style, RECT rect, std::u16string_view title = u"") {
    WNDCLASSW attributes;
    attributes.lpfnWndProc = DefWindowProcW;
    attributes.lpszClassName = u"Plain";
    RegisterClassW(&attributes);  // fails once the class is there, which keeps it
    return CreateWindowExW(0, u"Plain", title, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, 0, nullptr, nullptr);
}

}  // namespace qv::testing
