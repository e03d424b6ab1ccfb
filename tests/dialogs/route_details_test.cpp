#include <gtest/gtest.h>

#include "dialogs/route_details_dialog.h"
#include "framework/modal_dialog.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/resource_module.h"
#include "platform/gdi/shapes.h"
#include "platform/host/virtual_keys.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "route/route_finder.h"
#include "scripted_page_test.h"
#include "text/utf.h"

namespace qv {
namespace {

// Rows below the first page are not read from the screen.
constexpr COLORREF kUnread = 0xFFFFFFFF;

struct Row {
    std::u16string text;
    COLORREF background = kUnread;
    // Pixels of the row right of its picture, other than its background, that are white, black
    // or of another colour.
    int white = 0;
    int black = 0;
    int other = 0;
    // The row's picture, row after row.
    std::vector<COLORREF> picture;
};

constexpr int kPictureSize = 16;

// A picture of the program's resources as its bitmap holds it.
std::vector<COLORREF> BitmapPixels(int id) {
    const UniqueBitmap bitmap(LoadBitmapW(ProgramModule(), id));
    const UniqueDC dc(CreateCompatibleDC(nullptr));
    SelectionScope selected(dc.get(), bitmap.get());
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kPictureSize; ++y) {
        for (int x = 0; x < kPictureSize; ++x) {
            pixels.push_back(GetPixel(dc.get(), x, y));
        }
    }
    return pixels;
}

class RouteDetailsTest : public testing::ScriptedPageTest {
  protected:
    explicit RouteDetailsTest(int scale = 1, const char* map = "minsk.qvn")
        : ScriptedPageTest(scale) {
        Load(map);
    }

    const Line& LineNumbered(int number) {
        for (const auto& line : model.Lines()) {
            if (line->number == number) {
                return *line;
            }
        }
        ADD_FAILURE() << number;
        return *model.Lines().front();
    }
    void Route(Station* from, Station* to) {
        model.departure = from;
        model.destination = to;
        SilentRouteSearchFeedback silent;
        FindRoute(model, silent);
        ASSERT_FALSE(model.route.empty());
    }
    // Every row's text and the colour of its text background, read from the screen at the
    // row's right end, where no text reaches.
    std::vector<Row> ShowRows(const std::string& shot = "") {
        std::vector<Row> rows;
        Run({[&](HWND page) {
                const HWND list = GetDlgItem(page, IDC_LIST);
                EXPECT_EQ(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0) >= 10, true);
                const int visible =
                    std::min(ItemCount(list),
                             static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)));
                for (int i = 0; i < ItemCount(list); ++i) {
                    Row shown;
                    shown.text = ItemText(list, i, 0);
                    shown.background = kUnread;
                    if (i < visible) {
                        const RECT row = ItemRect(list, i);
                        RECT client{};
                        GetClientRect(list, &client);
                        POINT point{std::min(row.right, client.right) - 3,
                                    (row.top + row.bottom) / 2};
                        ClientToScreen(list, &point);
                        const int k = host.DeviceScale();
                        shown.background = host.LastFrame()->GetPixel(point.x * k, point.y * k);
                        RECT icon{};
                        icon.left = LVIR_ICON;
                        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i),
                                     PointerParam(&icon));
                        POINT corner{icon.left,
                                     icon.top + (icon.bottom - icon.top - kPictureSize) / 2};
                        ClientToScreen(list, &corner);
                        for (int y = 0; y < kPictureSize; ++y) {
                            for (int x = 0; x < kPictureSize; ++x) {
                                shown.picture.push_back(host.LastFrame()->GetPixel(
                                    (corner.x + x) * k, (corner.y + y) * k));
                            }
                        }
                        POINT origin{row.left + 20, row.top};
                        ClientToScreen(list, &origin);
                        for (int y = origin.y * k; y < (origin.y + row.bottom - row.top) * k; ++y) {
                            for (int x = origin.x * k; x < point.x * k; ++x) {
                                const COLORREF pixel = host.LastFrame()->GetPixel(x, y);
                                if (pixel != shown.background) {
                                    shown.white += pixel == RGB(255, 255, 255);
                                    shown.black += pixel == RGB(0, 0, 0);
                                    shown.other +=
                                        pixel != RGB(255, 255, 255) && pixel != RGB(0, 0, 0);
                                }
                            }
                        }
                    }
                    rows.push_back(shown);
                }
                if (!shot.empty()) {
                    Shot(shot);
                }
                host.Key(VK_ESCAPE);
            }},
            [&] { ShowRouteDetails(owner, model); });
        return rows;
    }
};

TEST_F(RouteDetailsTest, AOneLineRouteListsItsStationsInTheLineColourWithTheRunTimes) {
    const Line& line = LineNumbered(1);
    Station* first = line.stations[0].get();
    Station* fourth = line.stations[3].get();
    model.settings.countWaitTime = false;
    Route(first, fourth);
    const int minutes = first->runTime + line.stations[1]->runTime + line.stations[2]->runTime;
    const std::vector<Row> rows = ShowRows();
    ASSERT_EQ(rows.size(), 4u + 4u);
    EXPECT_EQ(rows[0].text, first->name);
    EXPECT_EQ(rows[1].text, fourth->name);
    EXPECT_EQ(rows[2].text, u"Станций 4 пересадок 0");
    EXPECT_EQ(Utf16ToUtf8(rows[3].text), "Время в пути " + std::to_string(minutes) + " мин");
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[4 + i].text, line.stations[i]->name);
    }
    for (const std::size_t i : {0u, 1u, 4u, 5u, 6u, 7u}) {
        EXPECT_EQ(rows[i].background, line.colour) << i;
    }
    EXPECT_EQ(rows[2].background, RGB(255, 255, 255));
    EXPECT_EQ(rows[3].background, RGB(255, 255, 255));
}

TEST_F(RouteDetailsTest, AChangeOfLinePutsTheTransferAndTheQuotedLineBeforeTheNewLine) {
    const Line& first = LineNumbered(1);
    const Line& second = LineNumbered(2);
    Route(first.stations[0].get(), second.stations.back().get());
    std::vector<const Station*> stations;
    int changes = 0;
    for (const Station* point : model.route) {
        if (point->IsStation()) {
            changes += !stations.empty() && stations.back()->line->number != point->line->number;
            stations.push_back(point);
        }
    }
    ASSERT_EQ(changes, 1);
    const std::vector<Row> rows = ShowRows("route-details");
    ASSERT_EQ(rows.size(), 4 + stations.size() + 2);
    EXPECT_EQ(Utf16ToUtf8(rows[2].text),
              "Станций " + std::to_string(stations.size()) + " пересадок 1");
    std::size_t row = 4;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        if (i > 0 && stations[i]->line->number != stations[i - 1]->line->number) {
            // The walking picture, on the screen.
            ASSERT_FALSE(rows[row].picture.empty()) << row;
            EXPECT_EQ(rows[row].picture, BitmapPixels(IDB_ROUTE_TRANSFER));
            EXPECT_EQ(rows[row++].text, u"Пересадка на линию");
            EXPECT_EQ(rows[row++].text, u"\"" + stations[i]->line->name + u"\"");
        }
        EXPECT_EQ(rows[row].text, stations[i]->name);
        if (!rows[row].picture.empty()) {
            EXPECT_EQ(rows[row].picture, BitmapPixels(IDB_ROUTE_TRAIN)) << row;
        }
        if (rows[row].background != kUnread) {
            EXPECT_EQ(rows[row].background, stations[i]->line->colour) << row;
        }
        ++row;
    }
    EXPECT_EQ(rows[0].background, first.colour);
    EXPECT_EQ(rows[1].background, second.colour);
    EXPECT_EQ(rows[0].picture, BitmapPixels(IDB_ROUTE_DEPARTURE));
    EXPECT_EQ(rows[1].picture, BitmapPixels(IDB_ROUTE_DESTINATION));
    EXPECT_EQ(rows[2].picture, BitmapPixels(IDB_ROUTE_SUMMARY));
    EXPECT_EQ(rows[3].picture, std::vector<COLORREF>(rows[3].picture.size(), RGB(255, 255, 255)));
}

// Text on a line's colour is white where white contrasts more, else black: decided here by eye
// for each colour, not by a formula.
struct LineText {
    const char* map;
    const char* lineName;
    COLORREF colour;
    bool white;
};

class RouteDetailsRowText : public RouteDetailsTest,
                            public ::testing::WithParamInterface<LineText> {
  protected:
    RouteDetailsRowText() : RouteDetailsTest(1, GetParam().map) {}
};

TEST_P(RouteDetailsRowText, StationRowsTakeTheTextColourThatReadsOnTheirLine) {
    const Line* line = nullptr;
    for (const auto& candidate : model.Lines()) {
        if (candidate->name == Utf8ToUtf16(GetParam().lineName)) {
            line = candidate.get();
            break;
        }
    }
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(line->colour, GetParam().colour);
    std::vector<Station*> stations;
    for (const auto& point : line->stations) {
        if (point->IsStation()) {
            stations.push_back(point.get());
        }
    }
    ASSERT_GE(stations.size(), 2u);
    Route(stations[0], stations[1]);
    const std::vector<Row> rows = ShowRows();
    ASSERT_GE(rows.size(), 5u);
    for (const std::size_t i : {0u, 4u}) {
        EXPECT_EQ(rows[i].background, line->colour) << i;
        const int text = GetParam().white ? rows[i].white : rows[i].black;
        const int wrong = GetParam().white ? rows[i].black : rows[i].white;
        EXPECT_GT(text, 20) << i;
        EXPECT_EQ(wrong + rows[i].other, 0) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Maps, RouteDetailsRowText,
    ::testing::Values(LineText{"london.qvn", "Northern Line", RGB(0, 0, 0), true},
                      LineText{"london.qvn", "Circle Line", RGB(0xFF, 0xE0, 0x2B), false},
                      LineText{"minsk.qvn", "Московская", RGB(0x05, 0x21, 0xC3), true},
                      LineText{"minsk.qvn", "Автозаводская", RGB(0xBF, 0x08, 0x08), true},
                      LineText{"minsk.qvn", "Зеленолужская", RGB(0x00, 0x9A, 0x49), false}),
    [](const ::testing::TestParamInfo<LineText>& line) {
        return std::to_string(line.index) + (line.param.white ? "White" : "Black");
    });

}  // namespace
}  // namespace qv
