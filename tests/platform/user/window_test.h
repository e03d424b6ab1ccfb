#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/shapes.h"
#include "platform/host/headless_host.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv::testing {

using Lines = std::vector<std::string>;
constexpr RECT kScreen{0, 0, 240, 320};

// Windows of one class whose procedure writes every message to a log (named "window:WM_..."),
// and answers what the test wants answered; everything else gets the default processing.
class WindowTest : public ::testing::Test {
  public:
    using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

  protected:
    explicit WindowTest(int scale = 1);
    ~WindowTest() override;

    HWND Make(const std::string& name, DWORD style, RECT rect, HWND parent = nullptr,
              Handler handler = {}, DWORD exStyle = 0);
    void On(HWND window, Handler handler) { windows_[window].handler = std::move(handler); }
    // The log, or only the entries of these messages.
    std::vector<std::string> Log(std::vector<UINT> only = {}) const;
    struct Entry {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const std::vector<Entry>& Entries() const { return log_; }
    enum class Param { W, L };
    // The wParam, or the lParam, of each logged message of the kind, in order.
    std::vector<LPARAM> Params(UINT message, Param which = Param::W) const {
        std::vector<LPARAM> found;
        for (const Entry& e : log_) {
            if (e.message == message) {
                found.push_back(which == Param::L ? e.lParam : static_cast<LPARAM>(e.wParam));
            }
        }
        return found;
    }
    void ClearLog() { log_.clear(); }
    WindowSystem::PumpResult Pump() { return system.Pump(); }
    COLORREF ScreenPixel(int x, int y) const {
        return host.LastFrame()->GetPixel(x * host.DeviceScale(), y * host.DeviceScale());
    }

    HeadlessHost host;
    WindowSystem system{host};

  private:
    struct Behaviour {
        std::string name;
        Handler handler;
    };
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    static WindowTest* current_;
    std::map<HWND, Behaviour> windows_;
    std::vector<Entry> log_;
};

std::string MessageName(UINT message);

// A handler that answers one message with a value.
inline WindowTest::Handler Answer(UINT message, LRESULT value) {
    return [=](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return m == message ? std::optional<LRESULT>(value) : std::nullopt;
    };
}

// A handler that paints its whole client area in one colour and remembers what it was asked.
struct Painter {
    explicit Painter(COLORREF fill) : colour(fill) {}
    COLORREF colour;
    std::vector<RECT> areas;

    WindowTest::Handler Handler() {
        return [this](HWND window, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m != WM_PAINT) {
                return std::nullopt;
            }
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            areas.push_back(paint.rcPaint);
            RECT box;
            GetClipBox(dc, &box);
            EXPECT_EQ(box, paint.rcPaint);
            UniqueBrush brush(CreateSolidBrush(colour));
            RECT everything{-1000, -1000, 1000, 1000};  // the clip keeps it to the area
            FillRect(dc, &everything, brush.get());
            EndPaint(window, &paint);
            return 0;
        };
    }
};

}  // namespace qv::testing
