#include "dialogs/station_picker.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "framework/modal_dialog.h"
#include "model/station_name_order.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/list_view_messages.h"
#include "platform/controls/tab_control_messages.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/image_list.h"
#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/resource_module.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/pocket/input_panel.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "resources/program_resources.h"
#include "resources/program_texts.h"
#include "resources/resource_ids.h"
#include "text/utf.h"

namespace qv {

namespace {

constexpr BYTE kCyrillicCharSet = 204;
constexpr int kColumnWidth = 150;
constexpr int kTabRowWidth = 210;
constexpr int kTabsPerRow = 20;
constexpr int kTabHeight = 12;
constexpr int kLineImageSize = 16;
// The typed text is read into ten units, so at most nine are looked at.
constexpr int kTypedTextBuffer = 10;
constexpr int kButtonTextBuffer = 100;

using Map = MessageMapEntry<StationPicker>;

// The text formatted into a buffer of `capacity` units, cut to fit as the device's formatting
// cut it.
std::u16string Bounded(std::u16string text, std::size_t capacity) {
    if (text.size() >= capacity) {
        text.resize(capacity - 1);
    }
    return text;
}

UniqueFont FontLike(HFONT model, LONG height, LONG weight, bool cyrillic) {
    LOGFONTW attributes;
    if (model) {
        GetObjectW(model, sizeof(attributes), &attributes);
    }
    attributes.lfHeight = height;
    if (weight) {
        attributes.lfWeight = weight;
    }
    if (cyrillic) {
        attributes.lfCharSet = kCyrillicCharSet;
    }
    return UniqueFont(CreateFontIndirectW(&attributes));
}

}  // namespace

bool StationPicker::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                  int mapId) {
    static constexpr Map kMap[] = {
        OnMessage(WM_INITDIALOG, &StationPicker::OnInitDialog),
        OnMessage(WM_DRAWITEM, &StationPicker::OnDrawItem),
        OnNotify(IDC_LETTER_TABS, TCN_SELCHANGE, &StationPicker::OnLetterTabChanged),
        OnNotify(IDC_LIST, LVN_GETDISPINFOW, &StationPicker::OnGetDisplayInfo),
        OnCommand(IDOK, &StationPicker::OnClose),
        OnCommand(IDCANCEL, &StationPicker::OnClose),
        OnCommand(ID_DEPARTURE, &StationPicker::OnEndpointCommand),
        OnCommand(ID_DESTINATION, &StationPicker::OnEndpointCommand),
        OnCommand(IDC_NAME_EDIT, EN_CHANGE, &StationPicker::OnNameEditChanged),
        OnCommand(IDC_NAME_EDIT, EN_SETFOCUS, &StationPicker::OnNameEditFocus),
        OnCommand(IDC_NAME_EDIT, EN_KILLFOCUS, &StationPicker::OnNameEditFocus),
        OnMessage(WM_SIZE, &StationPicker::OnSize),
    };
    return DispatchMessageMap<StationPicker>(*this, kMap, {hwnd, message, wParam, lParam}, result,
                                             mapId);
}

LRESULT StationPicker::OnInitDialog(const Message&, bool&) {
    SetUpFonts();
    listView = GetDlgItem(hwnd, IDC_LIST);
    SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNW record;
        record.mask = LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        record.fmt = LVCFMT_LEFT;
        record.cx = kColumnWidth;
        record.iSubItem = column;
        SendMessageW(listView, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                     PointerParam(&record));
    }
    SetUpTabs();
    SetUpLineImages();
    if (const HWND tabs = GetDlgItem(hwnd, IDC_LETTER_TABS)) {
        SendMessageW(tabs, TCM_SETCURSEL, 0, 0);
    }
    nameEdit = GetDlgItem(hwnd, IDC_NAME_EDIT);
    FillStationList();
    RememberLayout();
    if (pickerMode != kKeyboardEntry) {
        DestroyWindow(nameEdit);
        nameEdit = nullptr;
        return 0;
    }
    // The edit, now the first tab stop, takes the focus after the page is set up, and its focus
    // raises the keyboard: a station is found by touch alone.
    return 1;
}

void StationPicker::SetUpFonts() {
    const bool cyrillic = model->settings.cyrillicFont;
    const HWND departure = GetDlgItem(hwnd, ID_DEPARTURE);
    const auto current = reinterpret_cast<HFONT>(SendMessageW(departure, WM_GETFONT, 0, 0));
    buttonFont_ = FontLike(current, -10, 0, cyrillic);
    for (const int id : {ID_DEPARTURE, ID_DESTINATION}) {
        SendMessageW(GetDlgItem(hwnd, id), WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.get()),
                     1);
    }
    tabFont_ = FontLike(current, -9, 700, cyrillic);
}

void StationPicker::SetUpTabs() {
    const HWND tabs = GetDlgItem(hwnd, IDC_LETTER_TABS);
    if (pickerMode == kKeyboardEntry) {
        DestroyWindow(tabs);
        return;
    }
    SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(tabFont_.get()), 1);
    const int count = static_cast<int>(model->tabLetters.size());
    if (count == 0) {
        return;
    }
    const int perRow = count <= kTabsPerRow ? count : count / 2;
    const int width = kTabRowWidth / perRow;
    SendMessageW(tabs, TCM_SETMINTABWIDTH, 0, width);
    SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(width, kTabHeight));
    SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(2, 2));
    tabLabels_.clear();
    for (const char16_t letter : model->tabLetters) {
        tabLabels_.emplace_back(1, letter);
    }
    for (int i = 0; i < count; ++i) {
        TCITEMW tab;
        tab.mask = TCIF_TEXT;
        tab.pszText = tabLabels_[static_cast<std::size_t>(i)].data();
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), PointerParam(&tab));
    }
}

void StationPicker::SetUpLineImages() {
    // The list owns the image list from here on.
    HIMAGELIST images =
        ImageList_Create(kLineImageSize, kLineImageSize, ILC_COLOR, model->LineCount(), 1);
    // Drawn at the screen's device scale, as the scheme image is, so that the discs stay round.
    const HDC screen = GetDC(listView);
    const UniqueDC dc(CreateCompatibleDC(screen));
    ReleaseDC(listView, screen);
    for (const auto& line : model->Lines()) {
        const UniqueBitmap image(CreateCompatibleBitmap(dc.get(), kLineImageSize, kLineImageSize));
        {
            const UniqueBrush colour(CreateSolidBrush(line->colour));
            SelectionScope bitmap(dc.get(), image.get());
            SelectionScope pen(dc.get(), GetStockObject(WHITE_PEN));
            {
                SelectionScope white(dc.get(), GetStockObject(WHITE_BRUSH));
                Rectangle(dc.get(), 0, 0, kLineImageSize, kLineImageSize);
            }
            SelectionScope brush(dc.get(), colour.get());
            Ellipse(dc.get(), 0, 0, kLineImageSize, kLineImageSize);
        }
        ImageList_Add(images, image.get(), nullptr);
    }
    SendMessageW(listView, LVM_SETIMAGELIST, LVSIL_SMALL, PointerParam(images));
}

void StationPicker::FillStationList() {
    SendMessageW(listView, LVM_DELETEALLITEMS, 0, 0);
    int lineIndex = 0;
    for (const auto& line : model->Lines()) {
        for (const auto& station : line->stations) {
            if (!station->IsStation()) {
                continue;
            }
            LVITEMW item;
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
            item.iItem = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
            item.pszText = LPSTR_TEXTCALLBACKW;
            item.iImage = lineIndex;
            item.lParam = PointerParam(station.get());
            const auto index =
                static_cast<int>(SendMessageW(listView, LVM_INSERTITEMW, 0, PointerParam(&item)));
            item.iSubItem = 1;
            SendMessageW(listView, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                         PointerParam(&item));
        }
        ++lineIndex;
    }
    const PFNLVCOMPARE byName = [](LPARAM a, LPARAM b, LPARAM) {
        return CompareStationNames(*PointerFromParam<const Station>(a),
                                   *PointerFromParam<const Station>(b));
    };
    SendMessageW(listView, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(byName));
    std::vector<std::u16string> names;
    const auto count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const Station* station = ItemStation(i);
        names.push_back(station ? station->name : std::u16string());
    }
    names_ = NameSearch(std::move(names));
}

Station* StationPicker::ItemStation(int index) const {
    LVITEMW item;
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageW(listView, LVM_GETITEMW, 0, PointerParam(&item))) {
        return nullptr;
    }
    return PointerFromParam<Station>(item.lParam);
}

LRESULT StationPicker::OnGetDisplayInfo(const Message& message, bool&) {
    auto* info = PointerFromParam<NMLVDISPINFOW>(message.lParam);
    const auto* station = PointerFromParam<const Station>(info->item.lParam);
    if (station && (info->item.mask & LVIF_TEXT)) {
        const std::u16string& text = info->item.iSubItem == 0 ? station->name : station->line->name;
        info->item.pszText = const_cast<char16_t*>(text.c_str());
    }
    return 0;
}

void StationPicker::ScrollItemToTop(int index) {
    const auto count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    SendMessageW(listView, LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), 1);
    SendMessageW(listView, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), 1);
}

LRESULT StationPicker::OnLetterTabChanged(const Message& message, bool&) {
    const HWND tabs = PointerFromParam<const NMHDR>(message.lParam)->hwndFrom;
    const auto selected = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    if (selected < 0 || selected >= static_cast<int>(model->tabLetters.size())) {
        return 1;
    }
    const char16_t letter = UpperCodeUnit(model->tabLetters[static_cast<std::size_t>(selected)]);
    const auto count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const Station* station = ItemStation(i);
        const char16_t first = station && !station->name.empty() ? station->name.front() : u'\0';
        if (UpperCodeUnit(first) >= letter) {
            ScrollItemToTop(i);
            break;
        }
    }
    return 1;
}

LRESULT StationPicker::OnNameEditChanged(const Message&, bool&) {
    std::array<char16_t, kTypedTextBuffer> buffer{};
    const int length = GetWindowTextW(nameEdit, buffer.data(), kTypedTextBuffer);
    const std::u16string_view text(buffer.data(), static_cast<std::size_t>(std::max(length, 0)));
    if (const std::optional<NameFound> found = names_.Find(text)) {
        // The first name in the list's order that the text begins, or the name it means.
        ScrollItemToTop(static_cast<int>(found->index));
        return 0;
    }
    // Nothing it could mean: on to the next name after it, as a tab without names does.
    const auto count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const Station* station = ItemStation(i);
        if (station &&
            CompareNames(std::u16string_view(station->name).substr(0, text.size()), text) >= 0) {
            ScrollItemToTop(i);
            break;
        }
    }
    return 0;
}

LRESULT StationPicker::OnNameEditFocus(const Message& message, bool&) {
    ShowInputPanel(NotificationCode(message) == EN_SETFOCUS);
    return 0;
}

void StationPicker::RememberLayout() {
    const auto placeOf = [this](int id) {
        RECT rect{};
        const HWND control = GetDlgItem(hwnd, id);
        GetWindowRect(control, &rect);
        POINT corners[] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
        for (POINT& corner : corners) {
            ScreenToClient(hwnd, &corner);
        }
        return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    };
    layout_ = {placeOf(IDC_LIST), placeOf(ID_DEPARTURE), placeOf(ID_DESTINATION)};
}

LRESULT StationPicker::OnSize(const Message& message, bool& handled) {
    handled = false;
    if (!layout_) {
        return 0;
    }
    // When the keyboard takes the lower part of the page, the buttons move up with the page's
    // bottom and the list gives up the room, so that a station found by typing can be chosen.
    const LONG height = HIWORD(message.lParam);
    const LONG shift = std::max<LONG>(0, layout_->destination.bottom - height);
    const auto place = [this](int id, const RECT& rect) {
        MoveWindow(GetDlgItem(hwnd, id), rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, 1);
    };
    RECT list = layout_->list;
    list.bottom = std::max(list.top, list.bottom - shift);
    place(IDC_LIST, list);
    for (const auto& [id, rect] : {std::pair{ID_DEPARTURE, layout_->departure},
                                   std::pair{ID_DESTINATION, layout_->destination}}) {
        place(id, rect::Offset(rect, 0, static_cast<int>(-shift)));
    }
    return 0;
}

void StationPicker::ShowInputPanel(bool raise) {
    SIPINFO info;
    info.cbSize = sizeof(SIPINFO);
    SipGetInfo(&info);
    if (((info.fdwFlags & SIPF_ON) != 0) != raise) {
        info.fdwFlags ^= SIPF_ON;
    }
    SipSetInfo(&info);
}

LRESULT StationPicker::OnClose(const Message& message, bool&) {
    const auto control = reinterpret_cast<HWND>(message.lParam);
    if (control && listView && GetParent(control) == listView) {
        return 0;
    }
    ShowInputPanel(false);
    EndDialog(hwnd, 1);
    return 0;
}

LRESULT StationPicker::OnEndpointCommand(const Message& message, bool&) {
    // The press is drawn only when a paint comes between pen-down and pen-up; a quick tap or the
    // Space key may end before that, and must choose the station all the same.
    if (NotificationCode(message) == BN_CLICKED) {
        AssignEndpoint(CommandId(message) == ID_DEPARTURE);
        InvalidateRect(reinterpret_cast<HWND>(message.lParam), nullptr, 0);
    }
    return 0;
}

void StationPicker::AssignEndpoint(bool departure) {
    const auto mark = static_cast<int>(SendMessageW(listView, LVM_GETSELECTIONMARK, 0, 0));
    Station* chosen = mark < 0 ? nullptr : ItemStation(mark);
    (departure ? model->departure : model->destination) = chosen;
}

LRESULT StationPicker::OnDrawItem(const Message& message, bool& handled) {
    const auto* item = PointerFromParam<const DRAWITEMSTRUCT>(message.lParam);
    if (!item || (item->CtlID != ID_DEPARTURE && item->CtlID != ID_DESTINATION)) {
        handled = false;
        return 0;
    }
    OnDrawEndpointButton(*item);
    return 0;
}

void StationPicker::OnDrawEndpointButton(const DRAWITEMSTRUCT& item) {
    const bool isDeparture = item.CtlID == ID_DEPARTURE;
    const HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    {
        const UniquePen frame(CreatePen(PS_SOLID, 3, GetSysColor(COLOR_BTNSHADOW)));
        const UniquePen light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DLIGHT)));
        const UniquePen dark(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
        const UniqueBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        SelectionScope brush(dc, face.get());
        {
            SelectionScope pen(dc, frame.get());
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
        {
            SelectionScope pen(dc, light.get());
            const POINT edge[] = {
                {r.left + 1, r.bottom - 2}, {r.left + 1, r.top + 1}, {r.right - 2, r.top + 1}};
            Polyline(dc, edge);
        }
        SelectionScope pen(dc, dark.get());
        const POINT edge[] = {
            {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top}};
        Polyline(dc, edge);
    }
    if (item.itemState & ODS_SELECTED) {
        AssignEndpoint(isDeparture);
    }
    const Station* endpoint = isDeparture ? model->departure : model->destination;
    std::u16string first;
    std::u16string second;
    if (endpoint) {
        first = Bounded(endpoint->name, kButtonTextBuffer);
        second = Bounded(FormatText(TextId::PickerLine, {endpoint->line->name}), kButtonTextBuffer);
    } else {
        first = Text(isDeparture ? TextId::PickerDeparture : TextId::PickerDestination);
    }

    const int top = r.top - 1;
    const int bottom = r.bottom + 1;
    const int half = (bottom - top) / 2;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    RECT upper{r.left, top + 2, r.right, bottom - half};
    DrawTextW(dc, first, &upper, format);
    RECT lower{r.left, top + half, r.right, bottom - 4};
    DrawTextW(dc, second, &lower, format);
    // Last, so that a long line name runs under the icon instead of over it.
    const UniqueIcon icon(
        LoadIconW(ProgramModule(), isDeparture ? IDI_DEPARTURE : IDI_DESTINATION));
    if (icon) {
        DrawIconEx(dc, 6, 5, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
    }
}

void ShowStationPicker(HWND owner, NetworkModel& model, int pickerMode) {
    StationPicker picker(model, pickerMode);
    RunModalDialog(picker, IDD_STATION_PICKER, owner);
}

}  // namespace qv
