#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>

#include "dialogs/route_details_dialog.h"
#include "framework/modal_dialog.h"
#include "page_test.h"
#include "resources/resource_ids.h"
#include "route/route_finder.h"
#include "text/utf.h"

namespace qv {
namespace {

// Rows below the first page are not read from the screen.
constexpr COLORREF kUnread = 0xFFFFFFFF;

struct Row {
    std::u16string text;
    COLORREF background = kUnread;
    std::map<COLORREF, int> ink;  // right of the picture, other than the background
};

class RouteDetailsTest : public testing::PageTest {
  protected:
    RouteDetailsTest() { Load("minsk.qvn"); }

    void Route(Station* from, Station* to) {
        model.departure = from;
        model.destination = to;
        SilentRouteSearchFeedback silent;
        FindRoute(model, silent);
        ASSERT_FALSE(model.route.empty());
    }
    // Every row's text; on the first page also the colour of its background, read at the row's
    // right end, where no text reaches, and its ink.
    std::vector<Row> ShowRows() {
        std::vector<Row> rows;
        Run({[&](HWND page) {
                 const HWND list = GetDlgItem(page, IDC_LIST);
                 const auto visible = Ask(list, LVM_GETCOUNTPERPAGE);
                 EXPECT_GE(visible, 10);
                 RECT client{};
                 GetClientRect(list, &client);
                 POINT end{client.right, 0};
                 ClientToScreen(list, &end);
                 const auto pixel = [&](int x, int y) { return host.LastFrame()->GetPixel(x, y); };
                 for (int i = 0; i < Ask(list, LVM_GETITEMCOUNT); ++i) {
                     Row& shown = rows.emplace_back();
                     shown.text = testing::ItemText(list, i, 0);
                     if (i >= visible) {
                         continue;
                     }
                     const RECT row = ItemRect(list, i);
                     const int right = std::min(row.right, end.x) - 3;
                     shown.background = pixel(right, (row.top + row.bottom) / 2);
                     for (int y = row.top; y < row.bottom; ++y) {
                         for (int x = row.left + 20; x < right; ++x) {
                             shown.ink[pixel(x, y)] += pixel(x, y) != shown.background;
                         }
                     }
                     std::erase_if(shown.ink, [](const auto& ink) { return ink.second == 0; });
                 }
                 // Right of the first row's label, as far as the list reaches: still the row.
                 TapAt({end.x - 4, ItemRect(list, 0).top, end.x, ItemRect(list, 0).bottom});
             },
             [&](HWND page) {
                 const HWND list = GetDlgItem(page, IDC_LIST);
                 EXPECT_EQ(Ask(list, LVM_GETSELECTIONMARK), 0);
                 SendMessageW(page, WM_COMMAND, IDOK, PointerParam(list));  // not from inside it
             }},
            [&] { ShowRouteDetails(owner, model); });
        return rows;
    }
};

TEST_F(RouteDetailsTest, AChangeOfLinePutsTheTransferAndTheQuotedLineBeforeTheNewLine) {
    const Line& first = *model.Lines()[0];
    Route(first.stations[0].get(), model.Lines()[1]->stations.back().get());
    std::vector<const Station*> stations;
    std::ranges::copy_if(model.route, std::back_inserter(stations), &Station::IsStation);
    const std::vector<Row> rows = ShowRows();
    ASSERT_EQ(rows.size(), 4 + stations.size() + 2);  // one change
    EXPECT_EQ(Utf16ToUtf8(rows[2].text),
              "Станций " + std::to_string(stations.size()) + " пересадок 1");
    std::size_t row = 4;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        if (i > 0 && stations[i]->line != stations[i - 1]->line) {
            EXPECT_EQ(rows[row++].text, u"Пересадка на линию");
            EXPECT_EQ(rows[row++].text, u"\"" + stations[i]->line->name + u"\"");
        }
        EXPECT_EQ(rows[row++].text, stations[i]->name);
    }
    Route(first.stations[0].get(), first.stations[0].get());  // from a station to itself
    EXPECT_EQ(ShowRows().size(), 5u);  // both ends, the counts, the time and the station
}

// A route along one line: its ends, its count and time, its stations, in the line's colour. Text
// on the colour is white where white contrasts more, else black: worked out by hand for each
// colour (МЦК's pink is near the balance: black 4.8:1, white 4.4:1).
TEST_F(RouteDetailsTest, AOneLineRouteTakesTheTextColourThatReadsOnItsLine) {
    const struct {
        const char* map;
        const char16_t* line;
        COLORREF colour;
        bool white;
    } lines[] = {{"london.qvn", u"Northern Line", RGB(0, 0, 0), true},
                 {"london.qvn", u"Circle Line", RGB(0xFF, 0xE0, 0x2B), false},
                 {"minsk.qvn", u"Московская", RGB(0x05, 0x21, 0xC3), true},
                 {"moscow.qvn", u"МЦК", RGB(0xCC, 0x4C, 0x6E), false},
                 {"minsk.qvn", u"Зеленолужская", RGB(0x00, 0x9A, 0x49), false}};
    for (const auto& want : lines) {
        SCOPED_TRACE(Utf16ToUtf8(want.line));
        model.Clear();
        Load(want.map);
        const auto found = std::find_if(model.Lines().begin(), model.Lines().end(),
                                        [&](const auto& l) { return l->name == want.line; });
        ASSERT_NE(found, model.Lines().end());
        const Line& line = **found;
        std::vector<Station*> stations;
        int minutes = 0;
        for (const auto& point : line.stations) {
            if (point->IsStation() && stations.size() < 2) {
                stations.push_back(point.get());
            }
            minutes += stations.size() == 1 ? point->runTime : 0;
        }
        ASSERT_EQ(stations.size(), 2u);
        // On a ring the station stepped onto keeps the run time.
        minutes = line.isRing ? stations[1]->runTime : minutes;
        model.settings.countWaitTime = false;
        Route(stations[0], stations[1]);
        std::vector<Row> rows = ShowRows();
        ASSERT_EQ(rows.size(), 6u);
        EXPECT_EQ(rows[2].text, u"Станций 2 пересадок 0");
        EXPECT_EQ(Utf16ToUtf8(rows[3].text), "Время в пути " + std::to_string(minutes) + " мин");
        for (const std::size_t i : {0u, 1u, 4u, 5u}) {
            EXPECT_EQ(rows[i].text, stations[i % 4 == 0 ? 0 : 1]->name) << i;
            EXPECT_EQ(rows[i].background, want.colour) << i;
            EXPECT_GT(rows[i].ink[want.white ? RGB(255, 255, 255) : RGB(0, 0, 0)], 20) << i;
            EXPECT_EQ(rows[i].ink.size(), 1u) << i;
        }
    }
}

}  // namespace
}  // namespace qv
