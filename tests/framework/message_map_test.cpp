#include "framework/message_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

// A message map as the program writes one.
class Mapped {
  public:
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, int mapId) {
        static constexpr MessageMapEntry<Mapped> kMap[] = {
            OnMessage(WM_LBUTTONUP, &Mapped::OnPenUp),
            OnMessage(WM_TIMER, &Mapped::OnTimerFirst),
            OnMessage(WM_TIMER, &Mapped::OnTimerSecond),
            OnCommand(1065, 0x0300, &Mapped::OnEditChanged),
            OnCommand(1065, 0x0100, &Mapped::OnEditFocused),
            OnCommand(1004, &Mapped::OnExit),
            OnNotify(1021, 0xFFFFFF9B, &Mapped::OnListChanged),
        };
        return DispatchMessageMap<Mapped>(*this, kMap, {nullptr, message, wParam, lParam}, result,
                                          mapId);
    }

    std::vector<std::string> calls;
    bool firstTimerHandles = false;

  private:
    LRESULT OnPenUp(const Message& message, bool&) {
        const POINT at = PenPosition(message);
        calls.push_back("pen " + std::to_string(at.x) + "," + std::to_string(at.y));
        return 0;
    }
    LRESULT OnTimerFirst(const Message& message, bool& handled) {
        EXPECT_TRUE(handled);  // always offered as handled
        calls.push_back("first " + std::to_string(TimerId(message)));
        handled = firstTimerHandles;
        return 11;
    }
    LRESULT OnTimerSecond(const Message&, bool&) {
        calls.push_back("second");
        return 22;
    }
    LRESULT OnExit(const Message& message, bool&) {
        calls.push_back("exit " + std::to_string(NotificationCode(message)));
        return -1;
    }
    LRESULT OnEditChanged(const Message&, bool&) {
        calls.push_back("edit changed");
        return 3;
    }
    LRESULT OnEditFocused(const Message&, bool&) {
        calls.push_back("edit focused");
        return 4;
    }
    LRESULT OnListChanged(const Message&, bool&) {
        calls.push_back("list");
        return 5;
    }
};

TEST(MessageMap, EntriesAreOfferedInOrderUntilOneKeepsItsHandledFlag) {
    Mapped map;
    LRESULT result = 0;
    EXPECT_TRUE(map.Handle(WM_TIMER, 2, 0, result, 0));
    EXPECT_EQ(result, 22);
    map.firstTimerHandles = true;
    EXPECT_TRUE(map.Handle(WM_TIMER, 1, 0, result, 0));
    EXPECT_EQ(result, 11);
    EXPECT_EQ(map.calls, (std::vector<std::string>{"first 2", "second", "first 1"}));
}

TEST(MessageMap, OtherMapsAndUnknownMessagesAreNotHandled) {
    Mapped map;
    LRESULT result = 99;
    EXPECT_FALSE(map.Handle(WM_TIMER, 1, 0, result, 1));
    EXPECT_FALSE(map.Handle(WM_PAINT, 0, 0, result, 0));
    EXPECT_FALSE(map.Handle(WM_COMMAND, 1005, 0, result, 0));
    EXPECT_TRUE(map.calls.empty());
    EXPECT_EQ(result, 99);
}

TEST(MessageMap, CommandsAndNotificationsAreDecodedOnce) {
    Mapped map;
    LRESULT result = 0;
    // An entry without a code takes the command whatever its code; one with a code takes
    // that code only, even from the same control.
    EXPECT_TRUE(map.Handle(WM_COMMAND, MAKEWPARAM(1004, 1), 0, result, 0));
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(map.Handle(WM_COMMAND, MAKEWPARAM(1004, 0), 0, result, 0));
    EXPECT_TRUE(map.Handle(WM_COMMAND, MAKEWPARAM(1065, 0x0100), 0, result, 0));
    EXPECT_EQ(result, 4);
    EXPECT_TRUE(map.Handle(WM_COMMAND, MAKEWPARAM(1065, 0x0300), 0, result, 0));
    EXPECT_EQ(result, 3);
    EXPECT_FALSE(map.Handle(WM_COMMAND, MAKEWPARAM(1065, 0x0200), 0, result, 0));
    EXPECT_FALSE(map.Handle(WM_COMMAND, MAKEWPARAM(1065, 0), 0, result, 0));
    NMHDR changed{nullptr, 1021, 0xFFFFFF9B};
    NMHDR other{nullptr, 1021, 0xFFFFFFFE};
    EXPECT_TRUE(map.Handle(WM_NOTIFY, 1021, PointerParam(&changed), result, 0));
    EXPECT_FALSE(map.Handle(WM_NOTIFY, 1021, PointerParam(&other), result, 0));
    // Pen positions are unsigned client pixels.
    EXPECT_TRUE(map.Handle(WM_LBUTTONUP, 0, MAKELPARAM(200, 300), result, 0));
    EXPECT_EQ(map.calls, (std::vector<std::string>{"exit 1", "exit 0", "edit focused",
                                                   "edit changed", "list", "pen 200,300"}));
}

}  // namespace
}  // namespace qv
