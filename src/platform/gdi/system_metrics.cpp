#include "platform/gdi/system_metrics.h"

namespace qv {

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return kScreenWidth;
        case SM_CYSCREEN:
            return kScreenHeight;
        default:
            return 0;
    }
}

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW:
            return RGB(255, 255, 255);
        case COLOR_WINDOWTEXT:
            return RGB(0, 0, 0);
        case COLOR_HIGHLIGHT:
            return RGB(0, 0, 128);
        case COLOR_HIGHLIGHTTEXT:
            return RGB(255, 255, 255);
        case COLOR_BTNFACE:
            return RGB(192, 192, 192);
        case COLOR_BTNSHADOW:
            return RGB(128, 128, 128);
        case COLOR_GRAYTEXT:
            return RGB(128, 128, 128);
        case COLOR_BTNTEXT:
            return RGB(0, 0, 0);
        case COLOR_BTNHIGHLIGHT:
            return RGB(255, 255, 255);
        case COLOR_3DDKSHADOW:
            return RGB(0, 0, 0);
        case COLOR_3DLIGHT:
            return RGB(223, 223, 223);
        default:
            return RGB(0, 0, 0);
    }
}

}  // namespace qv
