#include "dialogs/route_details_dialog.h"

#include <cmath>

#include "framework/modal_dialog.h"
#include "platform/controls/list_view_messages.h"
#include "platform/gdi/image_list.h"
#include "platform/gdi/resource_module.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "route/route_measures.h"

namespace qv {

namespace {

constexpr int kColumnWidth = 218;
constexpr int kTextCapacity = 150;
constexpr COLORREF kWhite = 0xFFFFFF;

// Image-list positions of the row pictures.
enum RowImage : int { kDepartureImage, kDestinationImage, kSummaryImage, kTrainImage, kWalkImage };
constexpr int kRowBitmaps[] = {IDB_ROUTE_DEPARTURE, IDB_ROUTE_DESTINATION, IDB_ROUTE_SUMMARY,
                               IDB_ROUTE_TRAIN, IDB_ROUTE_TRANSFER};

using Map = MessageMapEntry<RouteDetailsDialog>;
using Role = RouteListRow::Role;

int ImageOf(Role role) {
    switch (role) {
        case Role::Departure:
            return kDepartureImage;
        case Role::Destination:
            return kDestinationImage;
        case Role::Summary:
            return kSummaryImage;
        case Role::Station:
            return kTrainImage;
        case Role::Transfer:
            return kWalkImage;
        case Role::Time:
        case Role::LineName:
            break;
    }
    return I_IMAGENONE;
}

// The relative luminance of a colour, from its linearised sRGB channels.
double Luminance(COLORREF colour) {
    const auto channel = [](unsigned value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(colour)) + 0.7152 * channel(GetGValue(colour)) +
           0.0722 * channel(GetBValue(colour));
}

// White on a background it contrasts with more than black does, else black.
COLORREF ReadableTextColour(COLORREF background) {
    const double l = Luminance(background) + 0.05;
    return 1.05 / l > l / 0.05 ? kWhite : COLORREF{0};
}

}  // namespace

bool RouteDetailsDialog::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result, int mapId) {
    static constexpr Map kMap[] = {
        OnMessage(WM_INITDIALOG, &RouteDetailsDialog::OnInitDialog),
        OnNotify(IDC_LIST, LVN_GETDISPINFOW, &RouteDetailsDialog::OnGetDisplayInfo),
        OnNotify(IDC_LIST, NM_CUSTOMDRAW, &RouteDetailsDialog::OnCustomDraw),
        OnCommand(IDOK, &RouteDetailsDialog::OnClose),
        OnCommand(IDCANCEL, &RouteDetailsDialog::OnClose),
    };
    return DispatchMessageMap<RouteDetailsDialog>(*this, kMap, {hwnd, message, wParam, lParam},
                                                  result, mapId);
}

LRESULT RouteDetailsDialog::OnInitDialog(const Message&, bool& handled) {
    SHINITDLGINFO setUp{SHIDIM_FLAGS, hwnd,
                        SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR};
    SHInitDialog(&setUp);
    // Unhandled, so that the framework does not set the page up a second time.
    handled = false;

    listView = GetDlgItem(hwnd, IDC_LIST);
    SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    LVCOLUMNW column;
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumnWidth;
    SendMessageW(listView, LVM_INSERTCOLUMNW, 0, PointerParam(&column));

    // The list owns the image list from here on.
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLORDDB, 4, 1);
    for (const int id : kRowBitmaps) {
        const UniqueBitmap bitmap(LoadBitmapW(ProgramModule(), id));
        ImageList_Add(images, bitmap.get(), nullptr);
    }
    SendMessageW(listView, LVM_SETIMAGELIST, LVSIL_SMALL, PointerParam(images));

    routeStationCount = RouteStationCount(*model);
    routeTransferCount = CountTransfers(model->route);
    routeMinutes = RouteTravelTime(*model);
    FillRouteList();
    return 0;
}

void RouteDetailsDialog::FillRouteList() {
    SendMessageW(listView, LVM_DELETEALLITEMS, 0, 0);
    rows_ = BuildRouteList(*model);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        LVITEMW item;
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = LPSTR_TEXTCALLBACKW;
        item.cchTextMax = kTextCapacity;
        item.iImage = ImageOf(rows_[i].role);
        item.lParam = static_cast<LPARAM>(i);
        SendMessageW(listView, LVM_INSERTITEMW, 0, PointerParam(&item));
    }
}

LRESULT RouteDetailsDialog::OnGetDisplayInfo(const Message& message, bool&) {
    auto* info = PointerFromParam<NMLVDISPINFOW>(message.lParam);
    const auto row = static_cast<std::size_t>(info->item.lParam);
    if (row < rows_.size() && (info->item.mask & LVIF_TEXT)) {
        info->item.pszText = const_cast<char16_t*>(rows_[row].text.c_str());
    }
    return 0;
}

LRESULT RouteDetailsDialog::OnCustomDraw(const Message& message, bool&) {
    auto* draw = PointerFromParam<NMLVCUSTOMDRAW>(message.lParam);
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) {
        return CDRF_DODEFAULT;
    }
    const auto row = static_cast<std::size_t>(draw->nmcd.lItemlParam);
    if (row >= rows_.size()) {
        return CDRF_DODEFAULT;
    }
    switch (rows_[row].role) {
        case Role::Departure:
        case Role::Destination:
        case Role::Station:
            draw->clrTextBk = rows_[row].station->line->colour;
            draw->clrText = ReadableTextColour(draw->clrTextBk);
            break;
        case Role::Summary:
        case Role::Time:
            draw->clrTextBk = kWhite;
            break;
        case Role::Transfer:
        case Role::LineName:
            break;
    }
    return CDRF_DODEFAULT;
}

LRESULT RouteDetailsDialog::OnClose(const Message& message, bool&) {
    const auto control = reinterpret_cast<HWND>(message.lParam);
    if (control && listView && GetParent(control) == listView) {
        return 0;
    }
    EndDialog(hwnd, 1);
    return 0;
}

void ShowRouteDetails(HWND owner, const NetworkModel& model) {
    if (model.route.empty()) {
        return;
    }
    RouteDetailsDialog dialog(model);
    RunModalDialog(dialog, IDD_ROUTE_DETAILS, owner);
}

}  // namespace qv
