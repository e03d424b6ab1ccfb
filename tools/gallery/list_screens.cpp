#include "gallery/list_screens.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gallery/gallery_texts.h"
#include "platform/controls/control_state.h"
#include "platform/controls/list_view.h"
#include "platform/controls/tab_control.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/shapes.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

constexpr const char16_t* kPanelClass = u"QvListGalleryPanel";
constexpr int kListId = 1021;
constexpr int kStationCount = 300;
// The line whose name is too long for a column.
constexpr int kLongLine = 5;

struct GalleryLine {
    std::u16string name;
    COLORREF colour;
    COLORREF rowColour;  // the custom-drawn background of its rows; white for none
};

const std::vector<GalleryLine>& Lines() {
    static const std::vector<GalleryLine> lines{
        {u"Красная", RGB(220, 0, 0), RGB(255, 255, 255)},
        {u"Зелёная", RGB(0, 160, 0), RGB(200, 240, 200)},
        {u"Синяя", RGB(0, 0, 200), RGB(255, 255, 255)},
        {u"Жёлтая", RGB(230, 200, 0), RGB(255, 255, 255)},
        {u"Кольцевая", RGB(128, 64, 0), RGB(255, 255, 255)},
        {u"Калининско-Солнцевская", RGB(0, 170, 200), RGB(255, 255, 255)},
    };
    return lines;
}

std::vector<std::u16string> StationNames() {
    static const char16_t* const starts[] = {u"Ав", u"Бе", u"Ви", u"Го", u"Да", u"Ел", u"Жу",
                                             u"За", u"Ис", u"Ка", u"Ле", u"Ми", u"Но", u"Ор",
                                             u"Пу", u"Ро", u"Са", u"Те", u"Ус", u"Фи"};
    static const char16_t* const ends[] = {u"ровская", u"невская",  u"ткино",    u"лово",
                                           u"горская", u"мостовая", u"польская", u"ская",
                                           u"ево",     u"ино",      u"речная",   u"садовая",
                                           u"озёрная", u"ярская",   u"лесная"};
    std::vector<std::u16string> names;
    for (const char16_t* end : ends) {
        for (const char16_t* start : starts) {
            names.push_back(std::u16string(start) + end);
        }
    }
    return names;
}

// The panel behind a gallery screen: it owns what its controls show and answers them.
class Panel final : public ControlState {
  public:
    Panel(HWND window, const CREATESTRUCTW&) : ControlState(window, Backdrop::ClassBrush) {}

    std::vector<std::u16string> names;
    std::vector<int> lineOf;
    std::vector<UniqueFont> fonts;

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM, LPARAM lParam) override {
        if (message != WM_NOTIFY) {
            return std::nullopt;
        }
        auto* header = PointerFromParam<NMHDR>(lParam);
        if (header->code == LVN_GETDISPINFOW) {
            auto* info = PointerFromParam<NMLVDISPINFOW>(lParam);
            const auto station = static_cast<std::size_t>(info->item.lParam);
            // Handed by reference: the panel keeps the texts while the list shows them.
            info->item.pszText =
                info->item.iSubItem == 0
                    ? names[station].data()
                    : const_cast<char16_t*>(
                          Lines()[static_cast<std::size_t>(lineOf[station])].name.c_str());
            return 0;
        }
        if (header->code == NM_CUSTOMDRAW) {
            auto* draw = PointerFromParam<NMLVCUSTOMDRAW>(lParam);
            if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
                return CDRF_NOTIFYITEMDRAW;
            }
            if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
                const auto station = static_cast<std::size_t>(draw->nmcd.lItemlParam);
                draw->clrTextBk = Lines()[static_cast<std::size_t>(lineOf[station])].rowColour;
            }
            return CDRF_DODEFAULT;
        }
        return 0;
    }
};

LRESULT PanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return RunControlProcedure<Panel>(window, message, wParam, lParam);
}

Panel* MakePanel(HWND parent, HWND* panelWindow) {
    WNDCLASSW attributes;
    if (!GetClassInfoW(nullptr, kPanelClass, &attributes)) {
        attributes = {};
        attributes.lpfnWndProc = PanelProcedure;
        attributes.cbWndExtra = kControlExtraBytes;
        attributes.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        attributes.lpszClassName = kPanelClass;
        RegisterClassW(&attributes);
    }
    RECT client{};
    GetClientRect(parent, &client);
    *panelWindow = CreateWindowExW(0, kPanelClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                   client.bottom, parent, 0, nullptr, nullptr);
    if (!*panelWindow) {
        return nullptr;
    }
    return reinterpret_cast<Panel*>(GetWindowLongW(*panelWindow, kControlStateSlot));
}

// A disc of the line's colour with a white rim on a white square, as the station list shows.
UniqueImageList LineImages() {
    UniqueImageList images(
        ImageList_Create(16, 16, ILC_COLOR, static_cast<int>(Lines().size()), 0));
    const HDC dc = CreateCompatibleDC(nullptr);
    const UniquePen rim(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    for (const GalleryLine& line : Lines()) {
        const UniqueBitmap bitmap(CreateCompatibleBitmap(dc, 16, 16));
        const UniqueBrush disc(CreateSolidBrush(line.colour));
        {
            SelectionScope selectBitmap(dc, bitmap.get());
            SelectionScope selectPen(dc, rim.get());
            SelectionScope selectBrush(dc, disc.get());
            Ellipse(dc, 0, 0, 16, 16);
        }
        ImageList_Add(images.get(), bitmap.get(), nullptr);
    }
    DeleteDC(dc);
    return images;
}

int CompareNames(LPARAM a, LPARAM b, LPARAM panel) {
    const auto& names = reinterpret_cast<const Panel*>(panel)->names;
    return names[static_cast<std::size_t>(a)].compare(names[static_cast<std::size_t>(b)]);
}

}  // namespace

namespace {

// The panel's stations and the lines they are on, which its lists show.
void AddStations(Panel& panel) {
    panel.names = StationNames();
    for (int i = 0; i < kStationCount; ++i) {
        panel.lineOf.push_back((i / 3) % static_cast<int>(Lines().size()));
    }
}

// A panel filled with the sample stations, for the list screens.
struct StationPanel {
    Panel* panel = nullptr;  // null when it could not be made
    HWND window = nullptr;
    RECT client{};
};

StationPanel MakeStationPanel(HWND parent) {
    RegisterListViewClass();
    StationPanel made;
    made.panel = MakePanel(parent, &made.window);
    if (made.panel) {
        AddStations(*made.panel);
        GetClientRect(made.window, &made.client);
    }
    return made;
}

struct ColumnWidths {
    int name = 150;
    int line = 150;
};

// A station list of the first `count` stations, sorted by name, as the station picker has it.
HWND AddStationList(HWND panelWindow, Panel& panel, RECT rect, DWORD style, int count,
                    ColumnWidths widths = {}) {
    const HWND list =
        CreateWindowExW(0, WC_LISTVIEW, u"List1",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER |
                            LVS_SHOWSELALWAYS | LVS_SINGLESEL | style,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        panelWindow, kListId, nullptr, nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column;
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.cx = widths.name;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, PointerParam(&column));
    column.cx = widths.line;
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, PointerParam(&column));
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, PointerParam(LineImages().release()));
    for (int i = 0; i < count; ++i) {
        LVITEMW item;
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.pszText = LPSTR_TEXTCALLBACKW;
        item.iImage = panel.lineOf[static_cast<std::size_t>(i)];
        item.lParam = i;
        SendMessageW(list, LVM_INSERTITEMW, 0, PointerParam(&item));
        item.iSubItem = 1;
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), PointerParam(&item));
    }
    SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&panel),
                 reinterpret_cast<LPARAM>(&CompareNames));
    return list;
}

}  // namespace

void BuildListViewScreen(HWND parent) {
    const StationPanel stations = MakeStationPanel(parent);
    if (!stations.panel) {
        return;
    }
    const HWND list =
        AddStationList(stations.window, *stations.panel, stations.client, 0, kStationCount);
    SendMessageW(list, LVM_ENSUREVISIBLE, kStationCount - 1, 0);
    SendMessageW(list, LVM_ENSUREVISIBLE, kStationCount / 2, 1);
    LVITEMW selected;
    selected.state = LVIS_SELECTED | LVIS_FOCUSED;
    selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, kStationCount / 2 + 2, PointerParam(&selected));
    SetFocus(list);
}

void BuildScrollBarScreen(HWND parent) {
    const StationPanel stations = MakeStationPanel(parent);
    if (!stations.panel) {
        return;
    }
    const int width = stations.client.right;
    const HWND last = AddStationList(stations.window, *stations.panel, {4, 4, width - 4, 104},
                                     WS_BORDER, kStationCount);
    SendMessageW(last, LVM_ENSUREVISIBLE, kStationCount - 1, 0);
    AddStationList(stations.window, *stations.panel, {4, 110, width - 4, 190}, WS_BORDER, 3);
    const HWND framed =
        CreateWindowExW(0, kPanelClass, gallery::GalleryText(gallery::GalleryTextId::ScrollCaption),
                        WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_VSCROLL, 4, 196, width / 2 - 6, 120,
                        stations.window, 0, nullptr, nullptr);
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 99;
    info.nPage = 25;
    info.nPos = 40;
    SetScrollInfo(framed, SB_VERT, &info, 1);
    const HWND greyed = CreateWindowExW(
        0, kPanelClass, u"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, width / 2 + 2, 196,
        width / 2 - 6, 120, stations.window, 0, nullptr, nullptr);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nPage = 100;
    SetScrollInfo(greyed, SB_VERT, &info, 1);
}

void BuildListScrollScreen(HWND parent) {
    const StationPanel stations = MakeStationPanel(parent);
    if (!stations.panel) {
        return;
    }
    const int width = stations.client.right;
    constexpr int kGap = 4;
    const int height = (stations.client.bottom - 5 * kGap) / 4;
    const auto place = [&](int slot, ColumnWidths widths) {
        const int top = kGap + slot * (height + kGap);
        const HWND list = AddStationList(stations.window, *stations.panel,
                                         {kGap, top, width - kGap, top + height}, WS_BORDER,
                                         kStationCount, widths);
        // The first station of the long line at the top, its line's name cut by its column.
        const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            LVITEMW item;
            item.mask = LVIF_PARAM;
            item.iItem = i;
            SendMessageW(list, LVM_GETITEMW, 0, PointerParam(&item));
            if (stations.panel->lineOf[static_cast<std::size_t>(item.lParam)] == kLongLine) {
                SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), 0);
                SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), 1);
                break;
            }
        }
        return list;
    };
    place(0, {110, 90});
    place(1, {});
    const HWND scrolled = place(2, {});
    SendMessageW(scrolled, LVM_SCROLL, 40, 0);
    const HWND atEnd = place(3, {});
    SendMessageW(atEnd, WM_HSCROLL, SB_RIGHT, 0);
}

void BuildTabScreen(HWND parent) {
    RegisterTabControlClass();
    HWND panelWindow = nullptr;
    Panel* panel = MakePanel(parent, &panelWindow);
    if (!panel) {
        return;
    }
    LOGFONTW attributes;
    attributes.lfHeight = -9;
    attributes.lfWeight = FW_BOLD;
    attributes.lfCharSet = RUSSIAN_CHARSET;
    panel->fonts.emplace_back(CreateFontIndirectW(&attributes));
    const HFONT bold = panel->fonts.back().get();
    RECT client{};
    GetClientRect(panelWindow, &client);
    const std::u16string letters = u"АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЭЮЯ";
    struct Sample {
        int count;
        int selected;
    };
    const Sample samples[] = {{21, 0}, {21, 15}, {20, 7}};
    int top = 4;
    for (const Sample& sample : samples) {
        const HWND tabs = CreateWindowExW(
            0, WC_TABCONTROL, u"Tab2",
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_MULTILINE | TCS_FIXEDWIDTH,
            2, top, client.right - 4, 60, panelWindow, 0, nullptr, nullptr);
        SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(bold), 0);
        const int perRow = sample.count <= 20 ? sample.count : sample.count / 2;
        const int width = 210 / perRow;
        SendMessageW(tabs, TCM_SETMINTABWIDTH, 0, width);
        SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(width, 12));
        SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(2, 2));
        for (int i = 0; i < sample.count; ++i) {
            char16_t label[2] = {letters[static_cast<std::size_t>(i)], u'\0'};
            TCITEMW item;
            item.mask = TCIF_TEXT;
            item.pszText = label;
            SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), PointerParam(&item));
        }
        SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(sample.selected), 0);
        top += 70;
    }
}

}  // namespace qv
