#include "platform/pocket/open_file_page.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "platform/controls/button.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/list_view.h"
#include "platform/controls/static_text.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/pocket/keyboard_button.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/system_texts.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/look/scroll_bar_layout.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

namespace fs = std::filesystem;

constexpr int kHeaderHeight = 22;
constexpr int kNoteHeight = 18;
constexpr int kMargin = 4;
constexpr int kUpWidth = 54;
constexpr int kCancelWidth = 70;
constexpr int kFolderColumnWidth = 72;
constexpr LONG kTextHeight = -11;
// A row is acted on once the list's own notification has returned: entering a folder refills the
// list and choosing a file ends the page.
constexpr UINT kActivateRow = WM_USER + 1;

constexpr int kFolderImage = 0;
constexpr int kFileImage = 1;

constexpr DialogItemTemplate kItems[] = {
    {WC_LISTVIEW, u"", kOpenFileList,
     WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
     0, 0, 0, 0, 0},
    {u"BUTTON", u"", kOpenFileUp, WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, 0},
    {u"BUTTON", u"", IDCANCEL, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, 0},
    {u"STATIC", u"", kOpenFileFolderText, WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, 0},
    {u"STATIC", u"", kOpenFileNote, SS_LEFT, 0, 0, 0, 0, 0},
    {u"STATIC", u"", kOpenFileType, WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, 0},
};

// 16 x 16 pixel art of the rows: a folder and a map sheet; '.' is transparent.
using IconArt = std::array<std::string_view, 16>;
constexpr IconArt kFolderArt = {
    "................", "................", "..kkkkk.........", ".kyyyyyk........",
    "kkkkkkkkkkkkkkk.", "klllllllllllllk.", "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.",
    "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.",
    "klyyyyyyyyyyyyk.", "kkkkkkkkkkkkkkk.", "................", "................",
};
constexpr IconArt kMapArt = {
    ".kkkkkkkkkk.....", ".kwwwwwwwwkk....", ".kwwwrwwwwkwk...", ".kwwwrwwwwkkkk..",
    ".kwwwrwwwwwwwk..", ".kwwwrwwwwwwwk..", ".kbbkkkbbbbbbk..", ".kwwkwkwwwwwwk..",
    ".kwwkkkwwwwwwk..", ".kwwwrwwwwgwwk..", ".kwwwrwwwwgwwk..", ".kwwwrwwwwgwwk..",
    ".kwwwrwggggwwk..", ".kwwwrwwwwwwwk..", ".kkkkkkkkkkkkk..", "................",
};

COLORREF ArtColour(char c) {
    switch (c) {
        case 'k':
            return RGB(64, 64, 64);
        case 'y':
            return RGB(255, 208, 64);
        case 'l':
            return RGB(255, 240, 160);
        case 'r':
            return RGB(220, 0, 0);
        case 'b':
            return RGB(0, 80, 220);
        case 'g':
            return RGB(0, 150, 0);
        default:
            return RGB(255, 255, 255);
    }
}

UniqueImageList RowImages() {
    UniqueImageList images(ImageList_Create(16, 16, ILC_COLOR | ILC_MASK, 2, 0));
    const HDC dc = CreateCompatibleDC(nullptr);
    for (const IconArt* art : {&kFolderArt, &kMapArt}) {
        const UniqueBitmap picture(CreateCompatibleBitmap(dc, 16, 16));
        const UniqueBitmap mask(CreateCompatibleBitmap(dc, 16, 16));
        for (const auto& [bitmap, isMask] : {std::pair{picture.get(), false}, {mask.get(), true}}) {
            SelectionScope select(dc, bitmap);
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    const char c = (*art)[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                    const bool clear = c == '.';
                    SetPixel(dc, x, y,
                             isMask ? (clear ? RGB(255, 255, 255) : RGB(0, 0, 0)) : ArtColour(c));
                }
            }
        }
        ImageList_Add(images.get(), picture.get(), mask.get());
    }
    DeleteDC(dc);
    return images;
}

UniqueFont MakeFont(LONG weight) {
    LOGFONTW attributes;
    attributes.lfHeight = kTextHeight;
    attributes.lfWeight = weight;
    return UniqueFont(CreateFontIndirectW(&attributes));
}

struct PageLaunch {
    const OpenFilePageSetup* setup = nullptr;
    std::optional<fs::path>* chosen = nullptr;  // null for a page only looked at
};

// The page's state; it lives as long as the page's window.
class OpenFilePage {
  public:
    OpenFilePage(HWND page, const PageLaunch& launch)
        : page_(page), setup_(*launch.setup), chosen_(launch.chosen) {}

    void Start();
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void Show(const fs::path& folder);
    void Fill();
    void Activate(int row);
    void LayOut();
    void Paint();
    std::u16string FolderText() const;
    std::u16string_view Note() const;
    HWND Item(int id) const { return GetDlgItem(page_, id); }

    HWND page_;
    OpenFilePageSetup setup_;
    std::optional<fs::path>* chosen_;
    fs::path folder_;
    CatalogueListing listing_;
    UniqueFont font_ = MakeFont(FW_NORMAL);
    UniqueFont bold_ = MakeFont(FW_BOLD);
};

void OpenFilePage::Start() {
    SetWindowTextW(page_, setup_.title);
    for (const int id : {kOpenFileList, kOpenFileUp, IDCANCEL, kOpenFileNote, kOpenFileType}) {
        SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), 0);
    }
    SendMessageW(Item(kOpenFileFolderText), WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), 0);
    const std::u16string& type = setup_.patterns.Label();
    SetWindowTextW(Item(kOpenFileUp), SystemText(SystemTextId::UpButton));
    SetWindowTextW(Item(IDCANCEL), SystemText(SystemTextId::CancelButton));
    const std::u16string_view values[] = {type};
    SetWindowTextW(
        Item(kOpenFileType),
        type.empty() ? type : FillPlaceholders(SystemText(SystemTextId::FileType), values));
    const HWND list = Item(kOpenFileList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, PointerParam(RowImages().release()));
    LVCOLUMNW column;
    column.mask = LVCF_FMT | LVCF_WIDTH;
    for (int index = 0; index < 2; ++index) {
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), PointerParam(&column));
    }
    if ((GetWindowLongW(page_, GWL_STYLE) & WS_CHILD) == 0) {
        SHINITDLGINFO shell{SHIDIM_FLAGS, page_,
                            SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
        SHInitDialog(&shell);
    }
    Show(setup_.startFolder);
}

void OpenFilePage::Show(const fs::path& folder) {
    folder_ = folder;
    listing_ =
        ListFolder(folder, setup_.patterns,
                   folder == setup_.startFolder ? setup_.extras.places : std::vector<fs::path>{},
                   setup_.extras.title);
    SetWindowTextW(Item(kOpenFileFolderText), FolderText());
    SetWindowTextW(Item(kOpenFileNote), Note());
    ShowWindow(Item(kOpenFileNote), Note().empty() ? SW_HIDE : SW_SHOW);
    const bool below = folder_ != setup_.startFolder;
    if (!below && GetFocus() == Item(kOpenFileUp)) {
        SetFocus(Item(kOpenFileList));
    }
    ShowWindow(Item(kOpenFileUp), below ? SW_SHOW : SW_HIDE);
    Fill();
    LayOut();
}

void OpenFilePage::Fill() {
    const HWND list = Item(kOpenFileList);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t index = 0; index < listing_.entries.size(); ++index) {
        CatalogueEntry& entry = listing_.entries[index];
        LVITEMW item;
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(index);
        item.pszText = entry.name.data();
        item.iImage = entry.kind == CatalogueEntryKind::Folder ? kFolderImage : kFileImage;
        item.lParam = static_cast<LPARAM>(index);
        const auto row = SendMessageW(list, LVM_INSERTITEMW, 0, PointerParam(&item));
        item.iSubItem = 1;
        item.pszText = entry.folder.data();
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), PointerParam(&item));
    }
}

void OpenFilePage::Activate(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= listing_.entries.size()) {
        return;
    }
    const CatalogueEntry& entry = listing_.entries[static_cast<std::size_t>(row)];
    if (entry.kind == CatalogueEntryKind::Folder) {
        const fs::path folder = entry.path;
        Show(folder);
        return;
    }
    if (chosen_) {
        *chosen_ = entry.path;
        EndDialog(page_, IDOK);
    }
}

std::u16string OpenFilePage::FolderText() const {
    std::u16string text = DisplayName(setup_.startFolder.filename()).value_or(u"");
    if (text.empty()) {
        text = u"/";
    }
    for (const fs::path& part : folder_.lexically_relative(setup_.startFolder)) {
        if (part != ".") {
            text += u"/" + DisplayName(part).value_or(u"?");
        }
    }
    return text;
}

std::u16string_view OpenFilePage::Note() const {
    if (listing_.unreadable) {
        return SystemText(SystemTextId::FolderUnreadable);
    }
    if (listing_.cut) {
        return SystemText(SystemTextId::FilesCut);
    }
    if (listing_.entries.empty()) {
        return SystemText(SystemTextId::NoMapFiles);
    }
    return {};
}

// Shown or not by its own style: the page itself is not visible yet when it first lays out.
bool Shown(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void OpenFilePage::LayOut() {
    RECT client{};
    GetClientRect(page_, &client);
    const int width = client.right;
    const int barTop = client.bottom - kMenuBarHeight;
    const bool up = Shown(Item(kOpenFileUp));
    MoveWindow(Item(kOpenFileFolderText), kMargin, 4,
               width - 2 * kMargin - (up ? kUpWidth + kMargin : 0), kHeaderHeight - 6, 1);
    MoveWindow(Item(kOpenFileUp), width - kMargin - kUpWidth, 2, kUpWidth, kHeaderHeight - 4, 1);
    int listTop = kHeaderHeight;
    if (Shown(Item(kOpenFileNote))) {
        MoveWindow(Item(kOpenFileNote), kMargin, listTop + 2, width - 2 * kMargin, kNoteHeight, 1);
        listTop += kNoteHeight + 2;
    }
    const HWND list = Item(kOpenFileList);
    MoveWindow(list, 0, listTop, width, std::max(0, barTop - listTop), 1);
    const int nameWidth = std::max(0, width - kFolderColumnWidth - ScrollBarLayout::kWidth);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, nameWidth);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, kFolderColumnWidth);
    MoveWindow(Item(IDCANCEL), kMargin, barTop + 3, kCancelWidth, kMenuBarHeight - 6, 1);
    // Clear of the input panel's button at the bar's right end.
    const int typeLeft = 2 * kMargin + kCancelWidth;
    MoveWindow(Item(kOpenFileType), typeLeft, barTop + 6,
               std::max(0, width - typeLeft - kKeyboardButtonWidth - kMargin), kMenuBarHeight - 10,
               1);
    InvalidateRect(page_, nullptr, 1);
}

void OpenFilePage::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(page_, &paint);
    RECT client{};
    GetClientRect(page_, &client);
    const RECT bar{0, client.bottom - kMenuBarHeight, client.right, client.bottom};
    FillRect(dc, &bar, GetSysColorBrush(COLOR_BTNFACE));
    const RECT barEdge{0, bar.top, client.right, bar.top + 1};
    FillRect(dc, &barEdge, GetSysColorBrush(COLOR_BTNSHADOW));
    const RECT headerEdge{0, kHeaderHeight - 1, client.right, kHeaderHeight};
    FillRect(dc, &headerEdge, GetSysColorBrush(COLOR_BTNSHADOW));
    EndPaint(page_, &paint);
}

INT_PTR OpenFilePage::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            LayOut();
            return 1;
        case WM_PAINT:
            Paint();
            return 1;
        case WM_CTLCOLORSTATIC:
            // The file type lies on the bar.
            if (reinterpret_cast<HWND>(lParam) == Item(kOpenFileType)) {
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = PointerFromParam<NMHDR>(lParam);
            if (header->idFrom == static_cast<UINT_PTR>(kOpenFileList) &&
                header->code == NM_CLICK) {
                const int row = PointerFromParam<NMITEMACTIVATE>(lParam)->iItem;
                if (row >= 0) {
                    PostMessageW(page_, kActivateRow, static_cast<WPARAM>(row), 0);
                }
            }
            return 1;
        }
        case kActivateRow:
            Activate(static_cast<int>(wParam));
            return 1;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    Activate(
                        static_cast<int>(SendMessageW(Item(kOpenFileList), LVM_GETNEXTITEM,
                                                      static_cast<WPARAM>(-1), LVNI_SELECTED)));
                    return 1;
                case IDCANCEL:
                    if (chosen_) {
                        EndDialog(page_, IDCANCEL);
                    }
                    return 1;
                case kOpenFileUp:
                    if (HIWORD(wParam) == BN_CLICKED && folder_ != setup_.startFolder) {
                        Show(folder_.parent_path());
                    }
                    return 1;
                default:
                    return 0;
            }
        default:
            return 0;
    }
}

OpenFilePage* PageOf(HWND page) {
    return reinterpret_cast<OpenFilePage*>(GetWindowLongW(page, DWL_USER));
}

INT_PTR PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto state = std::make_unique<OpenFilePage>(page, *PointerFromParam<PageLaunch>(lParam));
        OpenFilePage* started = state.get();
        SetWindowLongW(page, DWL_USER, reinterpret_cast<LONG_PTR>(state.release()));
        started->Start();
        return 1;
    }
    OpenFilePage* state = PageOf(page);
    if (!state) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongW(page, DWL_USER, 0);
        delete state;
        return 0;
    }
    return state->Handle(message, wParam, lParam);
}

bool RegisterClasses() {
    return RegisterListViewClass() != 0 && RegisterButtonClass() && RegisterStaticClass();
}

}  // namespace

OpenFilePageResult RunOpenFilePage(HWND owner, const OpenFilePageSetup& setup) {
    OpenFilePageResult result;
    if (!WindowSystem::Current() || !RegisterClasses()) {
        return result;
    }
    PageLaunch launch{&setup, &result.chosen};
    DialogTemplate page;
    page.style = WS_POPUP;
    page.caption = setup.title;
    page.items = kItems;
    const INT_PTR ended = DialogBoxIndirectParamW(nullptr, &page, IsWindow(owner) ? owner : nullptr,
                                                  PageProcedure, PointerParam(&launch));
    result.shown = ended != -1;
    if (ended != IDOK) {
        result.chosen.reset();
    }
    return result;
}

HWND CreateOpenFilePage(HWND parent, const OpenFilePageSetup& setup) {
    if (!WindowSystem::Current() || !RegisterClasses()) {
        return nullptr;
    }
    PageLaunch launch{&setup, nullptr};
    DialogTemplate page;
    page.style = WS_CHILD | WS_VISIBLE;
    page.caption = setup.title;
    page.items = kItems;
    const HWND made =
        CreateDialogIndirectParamW(nullptr, &page, parent, PageProcedure, PointerParam(&launch));
    if (made) {
        RECT client{};
        GetClientRect(parent, &client);
        MoveWindow(made, 0, kNavigationBarHeight, client.right,
                   client.bottom - kNavigationBarHeight, 1);
    }
    return made;
}

}  // namespace qv
