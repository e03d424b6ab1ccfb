// The cost of drawing a full device screen: a scheme-like scene of lines, discs and labels,
// and the copy of a finished screen-sized image, at device scales 1 and 2.

#include <benchmark/benchmark.h>

#include "platform/gdi/blit.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/device_screen.h"

namespace {

using namespace qv;

void DrawScene(HDC dc) {
    RECT all{0, 0, kScreenWidth, kScreenHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    LOGFONTW attributes;
    attributes.lfHeight = -8;
    UniqueFont font(CreateFontIndirectW(&attributes));
    SelectionScope fontScope(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    for (int line = 0; line < 8; ++line) {
        UniquePen pen(CreatePen(PS_SOLID, 3, RGB(static_cast<BYTE>(line * 30), 80, 200)));
        UniqueBrush brush(CreateSolidBrush(RGB(static_cast<BYTE>(line * 30), 80, 200)));
        POINT course[10];
        for (int i = 0; i < 10; ++i) {
            course[i] = {10 + i * 24, 20 + line * 36 + (i % 3) * 6};
        }
        {
            SelectionScope penScope(dc, pen.get());
            Polyline(dc, course, 10);
        }
        UniquePen white(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        SelectionScope penScope(dc, white.get());
        SelectionScope brushScope(dc, brush.get());
        for (const POINT p : course) {
            Ellipse(dc, p.x - 4, p.y - 4, p.x + 4, p.y + 4);
            RECT label{p.x + 5, p.y - 12, p.x + 45, p.y - 2};
            DrawTextW(dc, u"Станция", &label, DT_LEFT);
        }
    }
}

void FullScreenScene(benchmark::State& state) {
    DeviceScreen screen(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        DrawScene(screen.Dc());
    }
}
BENCHMARK(FullScreenScene)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void FullScreenCopy(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    DeviceScreen screen(scale);
    DeviceScreen image(scale);
    DrawScene(image.Dc());
    for (auto _ : state) {
        BitBlt(screen.Dc(), 0, 0, kScreenWidth, kScreenHeight, image.Dc(), 0, 0, SRCCOPY);
    }
}
BENCHMARK(FullScreenCopy)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
