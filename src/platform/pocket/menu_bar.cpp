#include "platform/pocket/menu_bar.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/button_press.h"
#include "platform/controls/control_paint.h"
#include "platform/controls/control_state.h"
#include "platform/controls/popup_menu.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/image_list.h"
#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/bar_painter.h"
#include "platform/pocket/keyboard_button.h"
#include "platform/pocket/menu_bar_description.h"
#include "platform/pocket/menu_bar_layout.h"
#include "platform/pocket/pocket_shell.h"
#include "platform/pocket/shell_layout.h"
#include "platform/pocket/shell_window.h"
#include "platform/pocket/tooltip_window.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/look/classic_look.h"
#include "platform/user/records/menu.h"

namespace qv {

namespace {

constexpr UINT_PTR kHoldTimer = 1;
constexpr int kMaxText = 256;
constexpr int kDefaultImageSize = 16;

struct BarButton {
    int image = I_IMAGENONE;
    int command = 0;
    BYTE state = TBSTATE_ENABLED;
    BYTE style = TBSTYLE_BUTTON;
    std::u16string text;
    int submenu = -1;

    bool Enabled() const { return (state & TBSTATE_ENABLED) != 0 && (style & TBSTYLE_SEP) == 0; }
    bool Hidden() const { return (state & TBSTATE_HIDDEN) != 0; }
};

bool IsKeyMessage(UINT message) {
    return message >= WM_KEYDOWN && message <= WM_SYSCHAR;
}

class MenuBar final : public ControlState {
  public:
    MenuBar(HWND window, const CREATESTRUCTW&) : ControlState(window), tooltip_(window) {
        LOGFONTW attributes;
        attributes.lfHeight = -11;
        font_.reset(CreateFontIndirectW(&attributes));
    }

    void AddButton(const BarButton& button) {
        buttons_.push_back(button);
        LayOut();
    }
    void SetMenu(HINSTANCE module, int menuId) {
        menuModule_ = module;
        menuId_ = menuId;
    }

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(const PaintEvent& paint) override;
    void OnSize() override { LayOut(); }
    void OnPenDown(POINT point) override;
    void OnPenMove(POINT point, bool held) override;
    void OnPenUp(POINT point) override;
    // The pen went elsewhere or the bar lost the capture: the press ends without a command.
    void OnCaptureLost() override;
    void OnTimer(UINT_PTR id) override;
    void OnKeyDown(int key) override;
    void OnSystemKeyDown(int key) override { OnKeyDown(key); }

    HWND Owner() const { return GetWindow(Window(), GW_OWNER); }
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(buttons_.size()); }
    int HitTest(POINT point) const;
    void LayOut();

    // Whether the pen holds the button down.
    bool HeldDown(int index) const { return Valid(index) && index == pressed_ && press_.Pressed(); }
    void RedrawButton(int index);
    void ShowTip();
    void Activate(int index);
    bool Selectable(int index) const {
        return Valid(index) && buttons_[static_cast<std::size_t>(index)].Enabled() &&
               !buttons_[static_cast<std::size_t>(index)].Hidden();
    }
    // The next button the keys can reach from `from` in the direction, round the bar; -1 for none.
    int NextSelectable(int from, int direction) const;
    void Highlight(int index);
    // The keys work the bar until a button is pressed or the bar is left.
    void TrackKeys();
    // Tracks the drop-down button's submenu until a choice is made or the menu is dismissed.
    void OpenSubmenu(int index);

    void PaintButton(HDC dc, int index);

    LRESULT AddButtons(WPARAM count, const TBBUTTON* records);
    LRESULT SetTooltips(WPARAM count, const char16_t* const* texts);
    // The size is fixed once images have been added.
    LRESULT SetBitmapSize(SIZE size);
    LRESULT AddBitmap(WPARAM count, const TBADDBITMAP* source);
    BOOL GetItemRect(int index, RECT* rect) const;

    std::vector<BarButton> buttons_;
    std::vector<RECT> rects_;
    std::vector<std::u16string> tooltips_;
    UniqueImageList images_;
    SIZE imageSize_{kDefaultImageSize, kDefaultImageSize};
    UniqueFont font_;
    HINSTANCE menuModule_ = nullptr;
    int menuId_ = 0;
    TooltipWindow tooltip_;
    ButtonPress press_;
    int pressed_ = -1;  // the button the pen went down on
    int opened_ = -1;
    int keyed_ = -1;  // the button the keys have reached
};

std::optional<LRESULT> MenuBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case TB_ADDBUTTONS:
            return AddButtons(wParam, PointerFromParam<const TBBUTTON>(lParam));
        case TB_SETTOOLTIPS:
            return SetTooltips(wParam, PointerFromParam<const char16_t* const>(lParam));
        case TB_SETBITMAPSIZE:
            return SetBitmapSize({LOWORD(static_cast<std::uintptr_t>(lParam)),
                                  HIWORD(static_cast<std::uintptr_t>(lParam))});
        case TB_ADDBITMAP:
            return AddBitmap(wParam, PointerFromParam<const TBADDBITMAP>(lParam));
        case TB_BUTTONCOUNT:
            return static_cast<LRESULT>(buttons_.size());
        case TB_GETITEMRECT:
            return GetItemRect(static_cast<int>(wParam), PointerFromParam<RECT>(lParam));
        case TB_ISBUTTONPRESSED:
            for (std::size_t i = 0; i < buttons_.size(); ++i) {
                if (buttons_[i].command == static_cast<int>(wParam)) {
                    return HeldDown(static_cast<int>(i)) || static_cast<int>(i) == opened_ ||
                           (buttons_[i].state & TBSTATE_PRESSED) != 0;
                }
            }
            return 0;
        default:
            return std::nullopt;
    }
}

void MenuBar::OnTimer(UINT_PTR id) {
    if (id == kHoldTimer) {
        KillTimer(Window(), kHoldTimer);
        ShowTip();
    }
}

void MenuBar::OnKeyDown(int key) {
    if (key == VK_F10 && keyed_ < 0 && pressed_ < 0 && opened_ < 0) {
        TrackKeys();
    }
}

void MenuBar::LayOut() {
    const HDC dc = GetDC(Window());
    std::vector<MenuBarSlot> slots;
    {
        SelectionScope font(dc, font_.get());
        for (const BarButton& button : buttons_) {
            MenuBarSlot slot;
            slot.hidden = button.Hidden();
            if ((button.style & TBSTYLE_SEP) != 0) {
                slot.kind = MenuBarSlot::Kind::Separator;
            } else if (button.image == I_IMAGENONE) {
                slot.kind = MenuBarSlot::Kind::Text;
                slot.textWidth = MeasureText(dc, button.text).cx;
            }
            slots.push_back(slot);
        }
    }
    ReleaseDC(Window(), dc);
    RECT client{};
    GetClientRect(Window(), &client);
    rects_ = LayOutMenuBar(slots, client.bottom);
    InvalidateRect(Window(), nullptr, 0);
}

int MenuBar::HitTest(POINT point) const {
    for (std::size_t i = 0; i < rects_.size(); ++i) {
        if (rect::Contains(rects_[i], point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void MenuBar::RedrawButton(int index) {
    if (Valid(index)) {
        InvalidateRect(Window(), &rects_[static_cast<std::size_t>(index)], 0);
    }
}

void MenuBar::OnPenDown(POINT point) {
    // A disabled button or a separator takes no press.
    const int index = HitTest(point);
    if (!Valid(index) || !buttons_[static_cast<std::size_t>(index)].Enabled()) {
        return;
    }
    pressed_ = index;
    press_.PenDown(Window(), rects_[static_cast<std::size_t>(index)]);
    SetTimer(Window(), kHoldTimer, kTooltipDelayMs, nullptr);
    RedrawButton(index);
}

void MenuBar::OnPenMove(POINT point, bool) {
    if (!Valid(pressed_) || !press_.PenMove(Window(), point).redraw) {
        return;
    }
    // The tip shows only after the pen has held the button down for a while.
    if (press_.Pressed()) {
        SetTimer(Window(), kHoldTimer, kTooltipDelayMs, nullptr);
    } else {
        KillTimer(Window(), kHoldTimer);
        tooltip_.Hide();
    }
    RedrawButton(pressed_);
}

void MenuBar::OnPenUp(POINT point) {
    if (!Valid(pressed_)) {
        return;
    }
    const int index = pressed_;
    const ButtonPress::Result result = press_.PenUp(Window(), point);
    OnCaptureLost();
    if (result.click) {
        Activate(index);
    }
}

void MenuBar::OnCaptureLost() {
    press_.Cancel(Window());
    KillTimer(Window(), kHoldTimer);
    tooltip_.Hide();
    RedrawButton(pressed_);
    pressed_ = -1;
}

void MenuBar::ShowTip() {
    if (!HeldDown(pressed_)) {
        return;
    }
    const auto index = static_cast<std::size_t>(pressed_);
    if (index >= tooltips_.size() || tooltips_[index].empty()) {
        return;
    }
    RECT anchor = rects_[index];
    POINT corner{0, 0};
    ClientToScreen(Window(), &corner);
    anchor = {anchor.left + corner.x, corner.y, anchor.right + corner.x, anchor.bottom + corner.y};
    tooltip_.Show(tooltips_[index], anchor);
}

void MenuBar::Activate(int index) {
    const BarButton& button = buttons_[static_cast<std::size_t>(index)];
    if (button.submenu >= 0) {
        OpenSubmenu(index);
        return;
    }
    SendMessageW(Owner(), WM_COMMAND, MAKEWPARAM(button.command, 0), PointerParam(Window()));
}

int MenuBar::NextSelectable(int from, int direction) const {
    const int count = static_cast<int>(buttons_.size());
    for (int step = 1; step <= count; ++step) {
        const int index = ((from + direction * step) % count + count) % count;
        if (Selectable(index)) {
            return index;
        }
    }
    return -1;
}

void MenuBar::Highlight(int index) {
    keyed_ = index;
    InvalidateRect(Window(), nullptr, 0);
}

void MenuBar::TrackKeys() {
    const HWND owner = Owner();
    Highlight(NextSelectable(-1, 1));
    int chosen = -1;
    // Like a menu's loop: the keys are the bar's wherever the focus is; the pen, another active
    // window or the bar's end leave it.
    while (keyed_ >= 0 && !Gone() && GetActiveWindow() == owner) {
        MSG message;
        if (!GetMessageW(&message, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsKeyMessage(message.message)) {
            if (message.message == WM_LBUTTONDOWN) {
                Highlight(-1);
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
            continue;
        }
        if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) {
            continue;
        }
        switch (message.wParam) {
            case VK_LEFT:
                Highlight(NextSelectable(keyed_, -1));
                break;
            case VK_RIGHT:
                Highlight(NextSelectable(keyed_, 1));
                break;
            case VK_RETURN:
            case VK_SPACE:
            case VK_DOWN:
                chosen = keyed_;
                Highlight(-1);
                break;
            case VK_ESCAPE:
            case VK_F10:
                Highlight(-1);
                break;
            default:
                break;
        }
    }
    if (Gone()) {
        return;
    }
    Highlight(-1);
    if (Selectable(chosen)) {
        if (buttons_[static_cast<std::size_t>(chosen)].submenu >= 0) {
            // A menu opened by the keys starts on its first item, as the keys expect.
            PostMessageW(Window(), WM_KEYDOWN, VK_DOWN, 0);
        }
        Activate(chosen);
    }
}

void MenuBar::OpenSubmenu(int index) {
    const UniqueMenu menu(LoadMenuW(menuModule_, menuId_));
    const HMENU popup = GetSubMenu(menu.get(), buttons_[static_cast<std::size_t>(index)].submenu);
    if (!popup) {
        return;
    }
    RECT bar{};
    GetWindowRect(Window(), &bar);
    TPMPARAMS params;
    params.rcExclude = bar;
    // The button looks pressed while its menu is open, which opens upwards from the bar.
    opened_ = index;
    InvalidateRect(Window(), nullptr, 0);
    TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL,
                     bar.left + rects_[static_cast<std::size_t>(index)].left, bar.top, Owner(),
                     &params);
    if (Gone()) {
        return;
    }
    opened_ = -1;
    InvalidateRect(Window(), nullptr, 0);
}

void MenuBar::OnPaint(const PaintEvent& paint) {
    PaintBar(paint.dc, paint.client, BarEdge::Top, font_.get(), [this](HDC dc, const RECT&) {
        for (std::size_t i = 0; i < buttons_.size() && i < rects_.size(); ++i) {
            PaintButton(dc, static_cast<int>(i));
        }
    });
}

void MenuBar::PaintButton(HDC dc, int index) {
    const auto i = static_cast<std::size_t>(index);
    const BarButton& button = buttons_[i];
    const RECT& r = rects_[i];
    if (button.Hidden() || (button.style & TBSTYLE_SEP) != 0) {
        return;
    }
    const bool down = HeldDown(index) || index == keyed_ ||
                      (button.state & (TBSTATE_PRESSED | TBSTATE_CHECKED)) != 0;
    int shift = 0;
    if (down) {
        FillWithColour(dc, {r.left, r.top, r.right - 1, r.top + 1}, COLOR_BTNSHADOW);
        FillWithColour(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, COLOR_BTNSHADOW);
        FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, GetSysColor(COLOR_BTNHIGHLIGHT));
        FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, GetSysColor(COLOR_BTNHIGHLIGHT));
        shift = 1;
    }
    if (button.image == I_IMAGENONE) {
        SetTextColor(dc, GetSysColor(button.Enabled() ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
        RECT text = rect::Offset(r, shift, shift);
        DrawTextW(dc, button.text, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    // An index past the images the bar holds draws no image, never another one's pixels.
    if (images_ && button.image >= 0 && button.image < ImageList_GetImageCount(images_.get())) {
        const int x = (r.left + r.right - imageSize_.cx) / 2 + shift;
        const int y = (r.top + r.bottom - imageSize_.cy) / 2 + shift;
        ImageList_Draw(images_.get(), button.image, dc, x, y, ILD_NORMAL);
    }
}

LRESULT MenuBar::AddButtons(WPARAM count, const TBBUTTON* records) {
    if (!records) {
        return 0;
    }
    for (WPARAM i = 0; i < count; ++i) {
        const TBBUTTON& record = records[i];
        buttons_.push_back(
            {record.iBitmap, record.idCommand, record.fsState, record.fsStyle, {}, -1});
    }
    LayOut();
    return 1;
}

LRESULT MenuBar::SetTooltips(WPARAM count, const char16_t* const* texts) {
    tooltips_.clear();
    if (!texts) {
        return 0;
    }
    // The texts are copied: the caller's array may be gone when a tip is shown.
    for (WPARAM i = 0; i < count; ++i) {
        tooltips_.emplace_back(texts[i] ? texts[i] : u"");
    }
    return 1;
}

LRESULT MenuBar::SetBitmapSize(SIZE size) {
    if (size.cx <= 0 || size.cy <= 0) {
        return 0;
    }
    if (images_) {
        return size.cx == imageSize_.cx && size.cy == imageSize_.cy;
    }
    imageSize_ = size;
    return 1;
}

LRESULT MenuBar::AddBitmap(WPARAM count, const TBADDBITMAP* source) {
    if (!source || count == 0) {
        return -1;
    }
    const UniqueBitmap strip(LoadBitmapW(source->hInst, static_cast<int>(source->nID)));
    if (!strip) {
        return -1;
    }
    if (!images_) {
        images_.reset(ImageList_Create(imageSize_.cx, imageSize_.cy, ILC_COLOR, 0, 0));
    }
    const int first = ImageList_Add(images_.get(), strip.get(), nullptr);
    if (first < 0) {
        return -1;
    }
    // A strip holding more images than asked for gives only those asked for; one holding fewer
    // gives what it holds.
    const std::size_t wanted = static_cast<std::size_t>(first) + count;
    if (images_->images.size() - static_cast<std::size_t>(first) > count) {
        images_->images.resize(wanted);
        images_->transparent.resize(wanted);
    }
    InvalidateRect(Window(), nullptr, 0);
    return first;
}

BOOL MenuBar::GetItemRect(int index, RECT* rect) const {
    if (!rect || !Valid(index) || static_cast<std::size_t>(index) >= rects_.size()) {
        return 0;
    }
    *rect = rects_[static_cast<std::size_t>(index)];
    return 1;
}

}  // namespace

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (!info || info->cbSize != sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent)) {
        return 0;
    }
    const MenuBarDescription* description =
        info->hInstRes
            ? info->hInstRes->FindResource<MenuBarDescription>(static_cast<int>(info->nToolBarId))
            : nullptr;
    if (!description) {
        return 0;
    }
    InstallPocketShell();
    const HWND bar = CreateShellWindow<MenuBar>(
        kMenuBarClassName, MenuBarRectBesideKeyboardButton(), info->hwndParent, info->hInstRes);
    MenuBar* state = ControlStateOf<MenuBar>(bar);
    if (!state) {
        DestroyWindow(bar);
        return 0;
    }
    AddShellMenuBar(bar);
    state->SetMenu(info->hInstRes, description->menuId);
    for (const MenuBarButton& described : description->buttons) {
        char16_t text[kMaxText] = {};
        if (described.textId != 0) {
            LoadStringW(info->hInstRes, described.textId, text, kMaxText);
        }
        state->AddButton({described.image, described.command, described.state, described.style,
                          text, described.submenu});
    }
    if (info->nBmpId != 0 && info->cBmpImages > 0) {
        CommandBar_AddBitmap(bar, info->hInstRes, info->nBmpId, info->cBmpImages, kDefaultImageSize,
                             kDefaultImageSize);
    }
    info->hwndMB = bar;
    RefreshPocketShell();
    return 1;
}

int CommandBar_AddBitmap(HWND bar, HINSTANCE module, int bitmapId, int count, int width,
                         int height) {
    if (!ControlStateOf<MenuBar>(bar) || count <= 0 || width <= 0 || height <= 0) {
        return -1;
    }
    SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    const TBADDBITMAP source{module, static_cast<UINT_PTR>(bitmapId)};
    return static_cast<int>(
        SendMessageW(bar, TB_ADDBITMAP, static_cast<WPARAM>(count), PointerParam(&source)));
}

}  // namespace qv
