#include "window_test.h"

namespace qv::testing {

constexpr const char16_t* kClass = u"Recorder";

WindowTest* WindowTest::current_ = nullptr;

WindowTest::WindowTest(int scale) : host(scale) {
    current_ = this;
    const WNDCLASSW attributes{.lpfnWndProc = Procedure,
                               .cbWndExtra = 16,
                               .hbrBackground = GetSysColorBrush(COLOR_WINDOW),
                               .lpszClassName = kClass};
    RegisterClassW(&attributes);
}

WindowTest::~WindowTest() {
    current_ = nullptr;
}

HWND WindowTest::Make(const std::string& name, DWORD style, RECT rect, HWND parent, Handler handler,
                      DWORD exStyle) {
    Behaviour pending{name, std::move(handler)};
    return CreateWindowExW(exStyle, kClass, u"", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, 0, nullptr, &pending);
}

std::vector<std::string> WindowTest::Log(std::vector<UINT> only) const {
    std::vector<std::string> lines;
    for (const Entry& entry : log_) {
        if (!only.empty() && std::find(only.begin(), only.end(), entry.message) == only.end()) {
            continue;
        }
        const auto found = windows_.find(entry.window);
        lines.push_back((found == windows_.end() ? "?" : found->second.name) + ":" +
                        MessageName(entry.message));
    }
    return lines;
}

LRESULT WindowTest::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The windows left when the test ends are destroyed after its log is gone.
    if (!current_) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    WindowTest& test = *current_;
    if (message == WM_NCCREATE) {
        const auto* creation = PointerFromParam<const CREATESTRUCTW>(lParam);
        test.windows_[window] = *static_cast<const Behaviour*>(creation->lpCreateParams);
    }
    test.log_.push_back({window, message, wParam, lParam});
    // A copy: the handler may replace itself.
    const Handler handler = test.windows_[window].handler;
    if (handler) {
        if (const std::optional<LRESULT> answer = handler(window, message, wParam, lParam)) {
            return *answer;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::string MessageName(UINT message) {
    static const std::map<UINT, std::string> names{
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_PAINT, "WM_PAINT"},
        {WM_QUIT, "WM_QUIT"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
        {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_TIMER, "WM_TIMER"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_USER, "WM_USER"},
    };
    const auto found = names.find(message);
    return found == names.end() ? std::to_string(message) : found->second;
}

}  // namespace qv::testing
