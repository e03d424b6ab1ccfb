#pragma once

// Notifications and custom-draw records shared by the common controls, and the dialog codes they
// answer, as the pocket computer numbers them.

#include "platform/controls/control_codes.h"
#include "platform/gdi/gdi_types.h"
#include "platform/user/records/user_types.h"

namespace qv {

using DWORD_PTR = std::uintptr_t;

// Notification codes every common control may send.
inline constexpr UINT NM_FIRST = 0;
inline constexpr UINT NM_CLICK = NM_FIRST - 2;
inline constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
inline constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
inline constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;

// Custom draw: the stage being drawn.
inline constexpr DWORD CDDS_PREPAINT = 0x00000001;
inline constexpr DWORD CDDS_POSTPAINT = 0x00000002;
inline constexpr DWORD CDDS_ITEM = 0x00010000;
inline constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
inline constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;

// Custom draw: the parent's answers.
inline constexpr LRESULT CDRF_DODEFAULT = 0x00000000;
inline constexpr LRESULT CDRF_NEWFONT = 0x00000002;
inline constexpr LRESULT CDRF_SKIPDEFAULT = 0x00000004;
inline constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x00000010;
inline constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x00000020;

// Custom draw: the item's state.
inline constexpr UINT CDIS_SELECTED = 0x0001;
inline constexpr UINT CDIS_FOCUS = 0x0010;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    HDC hdc = nullptr;
    RECT rc{};
    DWORD_PTR dwItemSpec = 0;
    UINT uItemState = 0;
    LPARAM lItemlParam = 0;
};

// The control's NMHDR, ready to be sent to its parent.
NMHDR NotificationHeader(HWND control, UINT code);
// Sends WM_NOTIFY to the control's parent; 0 when it has none.
LRESULT NotifyParent(HWND control, NMHDR* header);

}  // namespace qv
