// quorvane-gdi-demo [--window] [--] PREFIX: draws a sample of every drawing operation and of
// Cyrillic text at several sizes on the device screen, at device scales 1 and 2, and writes
// PREFIX-k1.png and PREFIX-k2.png. With --window it also shows the sample in a real window.

#include <string>
#include <string_view>

#include "command_line.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/device_screen.h"
#include "platform/host/sdl_host.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "text/printable.h"

namespace {

using namespace qv;

constexpr tools::OptionRule kOptions[] = {{"--window", 0}};
constexpr tools::ToolSyntax kSyntax{
    "quorvane-gdi-demo",
    "Usage: quorvane-gdi-demo [--window] [--] PREFIX\n"
    "Draws a sample of every drawing operation and of Cyrillic text, at device scales 1 and 2,\n"
    "into PREFIX-k1.png and PREFIX-k2.png; --window also shows it in a real window.\n"
    "\n"
    "Examples:\n"
    "  $ quorvane-gdi-demo /tmp/sample\n",
    kOptions};

constexpr std::u16string_view kPangram = u"Съешь же ещё этих мягких булок";

void Text(HDC dc, LONG height, BYTE quality, LONG weight, int y, std::u16string_view text) {
    LOGFONTW attributes;
    attributes.lfHeight = height;
    attributes.lfQuality = quality;
    attributes.lfWeight = weight;
    UniqueFont font(CreateFontIndirectW(&attributes));
    SelectionScope selection(dc, font.get());
    RECT box{4, y, 236, y + 20};
    DrawTextW(dc, text, &box, DT_LEFT | DT_SINGLELINE);
}

void Shapes(HDC dc) {
    UniquePen thin(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    UniquePen wide(CreatePen(PS_SOLID, 5, RGB(0, 0, 200)));
    UniqueBrush yellow(CreateSolidBrush(RGB(255, 255, 128)));
    {
        SelectionScope pen(dc, thin.get());
        SelectionScope brush(dc, yellow.get());
        Rectangle(dc, 4, 100, 34, 120);
        for (int r = 3; r <= 6; ++r) {
            Ellipse(dc, 44 + (r - 3) * 16 - r, 110 - r, 44 + (r - 3) * 16 + r, 110 + r);
        }
        Ellipse(dc, 110, 104, 150, 108);  // flat
        const POINT zigzag[] = {{160, 100}, {175, 120}, {190, 100}, {205, 120}, {220, 100}};
        Polyline(dc, zigzag, 5);
    }
    {
        SelectionScope pen(dc, wide.get());
        SelectionScope brush(dc, yellow.get());
        Rectangle(dc, 10, 130, 50, 160);
        Ellipse(dc, 60, 130, 90, 160);
        const POINT path[] = {{100, 155}, {130, 135}, {160, 155}, {230, 135}};
        Polyline(dc, path, 4);
    }
    // Transfer-like circles: black rims first, white cores after.
    UniquePen rim(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    UniquePen core(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    SelectionScope brush(dc, GetStockObject(WHITE_BRUSH));
    {
        SelectionScope pen(dc, rim.get());
        Ellipse(dc, 20 - 6, 180 - 6, 20 + 6, 180 + 6);
        Ellipse(dc, 28 - 6, 184 - 6, 28 + 6, 184 + 6);
    }
    {
        SelectionScope pen(dc, core.get());
        Ellipse(dc, 20 - 5, 180 - 5, 20 + 5, 180 + 5);
        Ellipse(dc, 28 - 5, 184 - 5, 28 + 5, 184 + 5);
    }
}

void Markers(HDC dc) {
    const int ids[] = {IDB_DEPARTURE_MARKER, IDB_FORBIDDEN_MARKER, IDB_DESTINATION_MARKER};
    int x = 50;
    for (const int id : ids) {
        UniqueBitmap marker(LoadBitmapW(ProgramModule(), id));
        UniqueDC source(CreateCompatibleDC(dc));
        const HBITMAP previous = SelectObject(source.get(), marker.get());
        StretchBlt(dc, x, 175, 10, 10, source.get(), 0, 0, 10, 10, SRCCOPY);
        StretchBlt(dc, x + 14, 170, 20, 20, source.get(), 0, 0, 10, 10, SRCCOPY);
        SelectObject(source.get(), previous);
        x += 45;
    }
}

void Alignment(HDC dc) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 128));
    const std::pair<UINT, std::u16string_view> formats[] = {
        {DT_LEFT | DT_SINGLELINE | DT_VCENTER, u"слева"},
        {DT_CENTER | DT_SINGLELINE | DT_VCENTER, u"в центре"},
        {DT_RIGHT | DT_SINGLELINE | DT_VCENTER, u"справа"},
    };
    int y = 196;
    UniquePen grey(CreatePen(PS_SOLID, 1, RGB(160, 160, 160)));
    for (const auto& [format, text] : formats) {
        {
            SelectionScope pen(dc, grey.get());
            SelectionScope brush(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, 4, y, 236, y + 18);
        }
        RECT box{5, y + 1, 235, y + 17};
        DrawTextW(dc, text, &box, format);
        y += 20;
    }
    SetBkMode(dc, TRANSPARENT);
}

void DrawSample(HDC dc) {
    RECT all{0, 0, kScreenWidth, kScreenHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    Text(dc, -13, DEFAULT_QUALITY, FW_BOLD, 2, u"Схема метро: проба рисования");
    Text(dc, -8, DEFAULT_QUALITY, FW_NORMAL, 22, kPangram);
    Text(dc, -8, NONANTIALIASED_QUALITY, FW_NORMAL, 34, kPangram);
    Text(dc, -9, DEFAULT_QUALITY, FW_NORMAL, 46, kPangram);
    Text(dc, -10, DEFAULT_QUALITY, FW_NORMAL, 59, kPangram);
    Text(dc, -10, NONANTIALIASED_QUALITY, FW_NORMAL, 73, kPangram);
    Text(dc, -13, DEFAULT_QUALITY, FW_NORMAL, 84, u"Ёлки, Щукинская, Ясенево");
    Shapes(dc);
    Markers(dc);
    Alignment(dc);
    SetTextColor(dc, RGB(0, 0, 160));
    Text(dc, 0, DEFAULT_QUALITY, FW_NORMAL, 258, u"Шрифт по умолчанию: Маршрут не найден");
    Text(dc, -9, DEFAULT_QUALITY, FW_BOLD, 274, u"АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯ");
}

int ShowInWindow() {
    std::string error;
    auto host = SdlHost::Open(2, error);
    if (!host) {
        tools::Fail(kSyntax, error);
        return 1;
    }
    host->SetTitle(u"Quorvane: проба рисования");
    DeviceScreen screen(host->DeviceScale());
    DrawSample(screen.Dc());
    host->Present(screen.Pixels());
    while (true) {
        host->Wait(std::nullopt);
        while (const auto event = host->NextInput()) {
            if (event->kind == InputEvent::Kind::Close) {
                return 0;
            }
            if (event->kind == InputEvent::Kind::ScaleChanged) {
                screen.Rescale(host->DeviceScale());
                DrawSample(screen.Dc());
            }
        }
        host->Present(screen.Pixels());
    }
}

int DrawSamples(const tools::CommandLine& line) {
    if (line.Plain().size() != 1) {
        throw tools::UsageError("one PREFIX wanted, " + std::to_string(line.Plain().size()) +
                                " arguments given");
    }
    const std::string& prefix = line.Plain()[0];
    for (const int scale : {1, 2}) {
        DeviceScreen screen(scale);
        DrawSample(screen.Dc());
        const std::string path = prefix + "-k" + std::to_string(scale) + ".png";
        if (!screen.Pixels().WritePng(path.c_str())) {
            tools::Fail(kSyntax, "cannot write " + qv::Printable(path));
            return 1;
        }
    }
    return line.Has("--window") ? ShowInWindow() : 0;
}

}  // namespace

int main(int argc, char** argv) {
    return qv::tools::RunTool(argc, argv, kSyntax, DrawSamples);
}
