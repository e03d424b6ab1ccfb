#include "framework/message_map.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

// A message map as the program writes one; each handler logs and answers its own number.
class Mapped {
  public:
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, int mapId = 0) {
        static constexpr MessageMapEntry<Mapped> kMap[] = {
            OnMessage(WM_TIMER, &Mapped::Take<1>),     OnMessage(WM_TIMER, &Mapped::Take<2>),
            OnCommand(1065, 0x0300, &Mapped::Take<3>), OnCommand(1065, 0x0100, &Mapped::Take<4>),
            OnCommand(1004, &Mapped::Take<5>),         OnNotify(1021, 0xFFFFFF9B, &Mapped::Take<6>),
        };
        return DispatchMessageMap<Mapped>(*this, kMap, {nullptr, message, wParam, lParam}, result,
                                          mapId);
    }

    std::vector<LRESULT> calls;
    LRESULT declines = 1;  // the handler that clears its handled flag

  private:
    template <LRESULT kNumber>
    LRESULT Take(const Message&, bool& handled) {
        EXPECT_TRUE(handled);  // always offered as handled
        calls.push_back(kNumber);
        handled = kNumber != declines;
        return kNumber;
    }
};

TEST(MessageMap, EntriesAreOfferedInOrderUntilOneKeepsItsFlagAndGoByIdAndCode) {
    Mapped map;
    LRESULT result = 0;
    EXPECT_TRUE(map.Handle(WM_TIMER, 0, 0, result));
    EXPECT_EQ(result, 2);
    map.declines = 0;
    EXPECT_TRUE(map.Handle(WM_TIMER, 0, 0, result));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(map.calls, (std::vector<LRESULT>{1, 2, 1}));
    map.declines = 2;
    map.calls.clear();
    result = 99;
    EXPECT_FALSE(map.Handle(WM_TIMER, 0, 0, result, 1));  // only map 0 exists
    EXPECT_TRUE(map.calls.empty());
    EXPECT_EQ(result, 99);

    // Commands and notifications go by id and code.
    NMHDR changed{nullptr, 1021, 0xFFFFFF9B};
    NMHDR otherCode{nullptr, 1021, 0xFFFFFFFE};
    NMHDR otherId{nullptr, 1022, 0xFFFFFF9B};
    // An entry without a code takes any code; one with a code that code only.
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT handler;  // 0: not handled
    } cases[] = {
        {WM_COMMAND, MAKEWPARAM(1004, 1), 0, 5},
        {WM_COMMAND, MAKEWPARAM(1065, 0x0100), 0, 4},
        {WM_COMMAND, MAKEWPARAM(1065, 0x0300), 0, 3},
        {WM_COMMAND, MAKEWPARAM(1065, 0x0200), 0, 0},
        {WM_COMMAND, 1005, 0, 0},
        {WM_NOTIFY, 1021, PointerParam(&changed), 6},
        {WM_NOTIFY, 1021, PointerParam(&otherCode), 0},
        {WM_NOTIFY, 1022, PointerParam(&otherId), 0},
        {WM_PAINT, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Mapped fresh;
        LRESULT answer = 99;
        EXPECT_EQ(fresh.Handle(c.message, c.wParam, c.lParam, answer), c.handler != 0)
            << c.message << " " << c.wParam;
        EXPECT_EQ(answer, c.handler != 0 ? c.handler : 99);
    }
}

}  // namespace
}  // namespace qv
