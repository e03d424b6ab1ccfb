#include "platform/user/records/menu.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "platform/controls/menu_label.h"

namespace qv {
namespace {

TEST(Menus, TemplatesNestedTooDeeplyAreRefused) {
    for (const int depth : {kMaxMenuDepth, kMaxMenuDepth + 1}) {
        SCOPED_TRACE(depth);
        std::vector<std::array<MenuItemTemplate, 1>> levels(static_cast<std::size_t>(depth));
        levels.back()[0] = MenuCommand(u"&Глубже некуда", 7);
        for (std::size_t i = levels.size() - 1; i-- > 0;) {
            levels[i][0] = MenuPopup(u"&Ниже", levels[i + 1]);
        }
        const MenuTemplate nested{levels.front()};
        ResourceModule module;
        module.AddResource(5, nested);
        const UniqueMenu menu(LoadMenuW(&module, 5));
        EXPECT_EQ(menu != nullptr, depth <= kMaxMenuDepth);
        EXPECT_EQ(GetMenuItemID(menu.get(), 0), 0xFFFFFFFFu) << "an entry opening a popup";
        EXPECT_EQ(GetMenuItemID(menu.get(), 1), 0xFFFFFFFFu) << "past the last entry";
        EXPECT_EQ(GetSubMenu(menu.get(), 1), nullptr);
        EXPECT_FALSE(DestroyMenu(GetSubMenu(menu.get(), 0))) << "its parent owns it";
    }
}

TEST(MenuLabels, AmpersandsMarkTheMnemonicOrStandForThemselves) {
    const std::tuple<std::u16string_view, std::u16string_view, int> cases[] = {
        {u"Вы&ход", u"Выход", 2}, {u"&&Схема", u"&Схема", -1},
        {u"A&&&B", u"A&B", 2},    {u"конец&", u"конец", -1},
        {u"&a&b", u"ab", 0},      {u"Помощь", u"Помощь", -1},
        {u"", u"", -1},
    };
    for (const auto& [text, shown, mnemonic] : cases) {
        SCOPED_TRACE(std::string(shown.begin(), shown.end()));
        const MenuLabel label = ParseMenuLabel(text);
        EXPECT_EQ(label.text, shown);
        EXPECT_EQ(label.mnemonic, mnemonic);
    }
}

TEST(MenuLabels, MnemonicsMatchInEitherCaseButNotAcrossAlphabets) {
    const std::tuple<std::u16string_view, char16_t, bool> cases[] = {
        {u"Вы&ход", u'х', true},       {u"Вы&ход", u'Х', true},        {u"Вы&ход", u'x', false},
        {u"&O программе", u'o', true}, {u"&O программе", u'о', false}, {u"&ёлка", u'Ё', true},
        {u"&Яма", u'я', true},         {u"Помощь", u'п', false},       {u"&1", u'!', false},
        {u"&Џ", u'џ', true},
    };
    for (const auto& [text, typed, matches] : cases) {
        SCOPED_TRACE(static_cast<int>(typed));
        EXPECT_EQ(MatchesMnemonic(ParseMenuLabel(text), typed), matches);
    }
}

}  // namespace
}  // namespace qv
