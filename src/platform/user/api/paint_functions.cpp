#include "platform/user/api/paint_functions.h"

#include <iterator>
#include <vector>

#include "platform/gdi/system_metrics.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"

namespace qv {

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return 0;
    }
    if (!window) {
        system->InvalidateAll(erase != 0);
        return 1;
    }
    Window* found = system->Find(window);
    if (!found || found->IsDesktop()) {
        return 0;
    }
    system->Invalidate(*found, rect, erase != 0);
    return 1;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
    WindowSystem* system = WindowSystem::Current();
    Window* found = system ? system->Find(window) : nullptr;
    if (!found) {
        return 0;
    }
    system->Validate(*found, rect);
    return 1;
}

BOOL UpdateWindow(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    const Window* found = system ? system->Find(window) : nullptr;
    if (!found) {
        return 0;
    }
    if (!found->Invalid().Empty() && found->IsShown()) {
        system->Dispatch({window, WM_PAINT, 0, 0, static_cast<DWORD>(system->Now().count()), {}});
    }
    return 1;
}

BOOL GetUpdateRect(HWND window, RECT* rect, BOOL /*erase*/) {
    WindowSystem* system = WindowSystem::Current();
    const Window* found = system ? system->Find(window) : nullptr;
    if (!found || found->Invalid().Empty()) {
        if (rect) {
            *rect = {};
        }
        return 0;
    }
    if (rect) {
        *rect = found->Invalid().Bounds();
    }
    return 1;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    WindowSystem* system = WindowSystem::Current();
    Window* found = system ? system->Find(window) : nullptr;
    if (!found || !paint) {
        return nullptr;
    }
    const auto pin = system->Pin(*found);
    // Valid from here on: what the handler invalidates while painting is painted next time.
    const Window::PaintArea area = found->TakePaintArea();
    const HDC dc = found->Surface().LendForPaint(found->ClientOriginInSurface(), area.rectangles);
    paint->hdc = dc;
    paint->rcPaint = area.bounds;
    paint->fErase = 0;
    if (area.erase) {
        const LRESULT erased = system->Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        paint->fErase = erased ? 0 : 1;
    }
    return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    WindowSystem* system = WindowSystem::Current();
    Window* found = system ? system->Find(window) : nullptr;
    if (!found || !paint || !found->Surface().Return(paint->hdc)) {
        return 0;
    }
    system->MarkScreenDirty();
    return 1;
}

HDC GetDC(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    Window* found = system ? system->Find(window) : nullptr;
    if (!found || found->IsDesktop()) {
        return nullptr;
    }
    return found->Surface().Lend(found->ClientOriginInSurface(), found->ClientRect());
}

int ReleaseDC(HWND window, HDC dc) {
    WindowSystem* system = WindowSystem::Current();
    Window* found = system ? system->Find(window) : nullptr;
    if (!found || !found->Surface().Return(dc)) {
        return 0;
    }
    system->MarkScreenDirty();
    return 1;
}

HBRUSH GetSysColorBrush(int index) {
    // Shared for the whole run, like the stock objects: DeleteObject leaves them.
    static HBRUSH brushes[32] = {};
    if (index < 0 || index >= static_cast<int>(std::size(brushes))) {
        return nullptr;
    }
    HBRUSH& brush = brushes[index];
    if (!brush) {
        brush = new Brush(GetSysColor(index));
        brush->isStock = true;
    }
    return brush;
}

}  // namespace qv
