#include "gallery/image_screens.h"

#include <array>
#include <string_view>

#include "gallery/gallery_texts.h"
#include "platform/controls/control_paint.h"
#include "platform/controls/control_state.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/image_list.h"
#include "platform/gdi/resource_module.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/look/classic_look.h"
#include "resources/program_images.h"
#include "resources/program_resources.h"
#include "resources/program_texts.h"
#include "resources/resource_ids.h"

namespace qv::gallery {

namespace {

constexpr const char16_t* kPanelClass = u"QvImageGalleryPanel";
constexpr int kBarHeight = 26;
constexpr int kButtonWidth = 24;
constexpr int kToolbarButtons = 8;
constexpr COLORREF kWhite = RGB(255, 255, 255);

constexpr std::array<GalleryTextId, kToolbarImageCount> kImageNames = {
    GalleryTextId::ImageDeparture, GalleryTextId::ImageDestination, GalleryTextId::ImageClear,
    GalleryTextId::ImageForbidden, GalleryTextId::ImageStationList, GalleryTextId::ImageRoute,
    GalleryTextId::ImageZoom,      GalleryTextId::ImageHelp,        GalleryTextId::ImageSpare,
};

using PaintSteps = void (*)(HDC dc, const Page& page);

// The drawing of one screen, done on every paint of the panel that fills the page.
class ImagePanel final : public ControlState {
  public:
    ImagePanel(HWND window, const CREATESTRUCTW& creation)
        : ControlState(window, Backdrop::ClassBrush),
          screen_(*static_cast<const Screen*>(creation.lpCreateParams)) {}

    struct Screen {
        Page page;
        PaintSteps paint;
    };

  private:
    void OnPaint(const PaintEvent& paint) override { screen_.paint(paint.dc, screen_.page); }

    Screen screen_;
};

LRESULT PanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return RunControlProcedure<ImagePanel>(window, message, wParam, lParam);
}

void AddPanel(const Page& page, PaintSteps paint) {
    WNDCLASSW attributes;
    if (!GetClassInfoW(nullptr, kPanelClass, &attributes)) {
        attributes = {};
        attributes.lpfnWndProc = PanelProcedure;
        attributes.cbWndExtra = kControlExtraBytes;
        attributes.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        attributes.lpszClassName = kPanelClass;
        RegisterClassW(&attributes);
    }
    RECT client{};
    GetClientRect(page.window, &client);
    ImagePanel::Screen screen{page, paint};
    CreateWindowExW(0, kPanelClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                    page.window, 0, nullptr, &screen);
}

void Text(HDC dc, HFONT font, RECT rect, std::u16string_view text, UINT format = DT_LEFT) {
    SelectionScope select(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text, &rect, format | DT_SINGLELINE | DT_VCENTER);
}

// The strip as the toolbar takes it: every silver pixel is transparent.
UniqueImageList MaskedStrip(HBITMAP strip) {
    UniqueImageList images(
        ImageList_Create(kToolbarImageSize, kToolbarImageSize, ILC_COLOR | ILC_MASK, 9, 0));
    const UniqueBitmap mask(new Bitmap(strip->Width(), strip->Height(), 1));
    mask->BeginPixels();
    for (int y = 0; y < strip->Height(); ++y) {
        for (int x = 0; x < strip->Width(); ++x) {
            const bool background = strip->GetPixel(x, y) == kToolbarBackground;
            mask->Row(y)[x] = PixelOf(background ? kWhite : RGB(0, 0, 0));
        }
    }
    mask->EndPixels();
    ImageList_Add(images.get(), strip, mask.get());
    return images;
}

// Copies `width` x `height` pixels of the bitmap from (sx, sy), stretched by `zoom`.
void DrawZoomed(HDC dc, HBITMAP bitmap, int x, int y, int sx, int sy, int width, int height,
                int zoom) {
    const UniqueDC source(CreateCompatibleDC(dc));
    SelectionScope select(source.get(), bitmap);
    StretchBlt(dc, x, y, width * zoom, height * zoom, source.get(), sx, sy, width, height, SRCCOPY);
}

// The bottom bar of the screen with the menu button's place and the eight toolbar buttons, the
// fourth one pressed.
void DrawBar(HDC dc, const Page& page, int top, HIMAGELIST images) {
    const RECT bar{0, top, 240, top + kBarHeight};
    FillWithColour(dc, bar, COLOR_BTNFACE);
    FillSolid(dc, {0, top, 240, top + 1}, GetSysColor(COLOR_BTNSHADOW));
    const int first = 240 - kToolbarButtons * kButtonWidth;
    Text(dc, page.font, {4, top, first, bar.bottom}, qv::Text(TextId::MenuBarScheme));
    for (int button = 0; button < kToolbarButtons; ++button) {
        const RECT face{first + button * kButtonWidth, top + 1, first + (button + 1) * kButtonWidth,
                        bar.bottom};
        const bool pressed = button == kForbiddenStationImage;
        if (pressed) {
            DrawBevel(dc, face, Bevel::Sunken);
        }
        const int shift = pressed ? 1 : 0;
        ImageList_Draw(images, button, dc, face.left + 4 + shift, face.top + 5 + shift, ILD_NORMAL);
    }
}

// The squares that stand for "transparent" in image editors.
void DrawChequer(HDC dc, const RECT& rect) {
    constexpr int side = 4;
    for (int y = rect.top; y < rect.bottom; y += side) {
        for (int x = rect.left; x < rect.right; x += side) {
            const bool dark = ((x - rect.left) / side + (y - rect.top) / side) % 2 != 0;
            FillSolid(dc, {x, y, x + side, y + side}, dark ? RGB(204, 204, 204) : kWhite);
        }
    }
}

void PaintToolbarImages(HDC dc, const Page& page) {
    const UniqueBitmap strip(LoadBitmapW(ProgramModule(), IDB_TOOLBAR));
    if (!strip) {
        Text(dc, page.bold, {8, 4, 232, 20}, GalleryText(GalleryTextId::NoToolbarStrip));
        return;
    }
    const UniqueImageList images = MaskedStrip(strip.get());
    Text(dc, page.bold, {8, 2, 232, 16}, GalleryText(GalleryTextId::ToolbarHeading));
    DrawBar(dc, page, 18, images.get());
    Text(dc, page.font, {8, 50, 80, 66}, GalleryText(GalleryTextId::StripLabel));
    DrawZoomed(dc, strip.get(), 84, 50, 0, 0, strip->Width(), strip->Height(), 1);
    Text(dc, page.font, {8, 70, 80, 86}, GalleryText(GalleryTextId::MaskedLabel));
    DrawChequer(dc, {84, 70, 84 + strip->Width(), 86});
    for (int image = 0; image < kToolbarImageCount; ++image) {
        ImageList_Draw(images.get(), image, dc, 84 + image * kToolbarImageSize, 70, ILD_NORMAL);
    }
    constexpr int zoom = 4;
    constexpr int cell = 80;
    for (int image = 0; image < kToolbarImageCount; ++image) {
        const int left = (image % 3) * cell;
        const int top = 90 + (image / 3) * (zoom * kToolbarImageSize + 12);
        DrawZoomed(dc, strip.get(), left + (cell - zoom * kToolbarImageSize) / 2, top,
                   image * kToolbarImageSize, 0, kToolbarImageSize, kToolbarImageSize, zoom);
        Text(dc, page.font,
             {left, top + zoom * kToolbarImageSize, left + cell,
              top + zoom * kToolbarImageSize + 12},
             GalleryText(kImageNames[static_cast<std::size_t>(image)]), DT_CENTER);
    }
}

// The icon at its own size on white and on silver, and enlarged; returns the bottom.
int DrawIconRow(HDC dc, const Page& page, int top, int id, std::u16string_view name, int zoom) {
    const UniqueIcon icon(LoadIconW(ProgramModule(), id));
    Text(dc, page.font, {8, top, 232, top + 14}, name);
    if (!icon) {
        Text(dc, page.font, {120, top, 232, top + 14}, GalleryText(GalleryTextId::NoIcon));
        return top + 16;
    }
    const int y = top + 16;
    DrawIconEx(dc, 8, y, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
    FillWithColour(dc, {16 + icon->width, y - 4, 16 + 2 * icon->width + 8, y + icon->height + 4},
                   COLOR_BTNFACE);
    DrawIconEx(dc, 20 + icon->width, y, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(dc, 40 + 2 * icon->width, y, icon.get(), zoom * icon->width, zoom * icon->height, 0,
               nullptr, DI_NORMAL);
    return y + zoom * icon->height + 6;
}

// A wide button of the station picker: the face, the icon at (6, 5) and two lines of text.
void DrawEndpointButton(HDC dc, const Page& page, RECT rect, int icon, std::u16string_view name,
                        std::u16string_view line) {
    DrawRaisedButton(dc, rect);
    if (const UniqueIcon image{LoadIconW(ProgramModule(), icon)}) {
        DrawIconEx(dc, rect.left + 6, rect.top + 5, image.get(), 0, 0, 0, nullptr, DI_NORMAL);
    }
    const int top = rect.top - 1;
    const int bottom = rect.bottom + 1;
    const int half = (bottom - top) / 2;
    Text(dc, page.font, {rect.left, top + 2, rect.right, bottom - half}, name, DT_CENTER);
    Text(dc, page.font, {rect.left, top + half, rect.right, bottom - 4}, line, DT_CENTER);
}

void PaintIcons(HDC dc, const Page& page) {
    Text(dc, page.bold, {8, 2, 232, 16}, GalleryText(GalleryTextId::IconsHeading));
    int top = DrawIconRow(dc, page, 18, IDI_APP, GalleryText(GalleryTextId::IconApp), 2);
    top = DrawIconRow(dc, page, top, IDI_DEPARTURE, GalleryText(GalleryTextId::IconDeparture), 3);
    top =
        DrawIconRow(dc, page, top, IDI_DESTINATION, GalleryText(GalleryTextId::IconDestination), 3);
    constexpr int height = 22;
    DrawEndpointButton(dc, page, {0, top, 240, top + height}, IDI_DEPARTURE, u"Адмиралтейская",
                       FormatText(TextId::PickerLine, {u"Фрунзенско-Приморская"}));
    DrawEndpointButton(dc, page, {0, top + height, 240, top + 2 * height}, IDI_DESTINATION,
                       qv::Text(TextId::PickerDestination), u"");
}

}  // namespace

void BuildToolbarImageScreen(const Page& page) {
    AddPanel(page, PaintToolbarImages);
}

void BuildIconScreen(const Page& page) {
    AddPanel(page, PaintIcons);
}

}  // namespace qv::gallery
