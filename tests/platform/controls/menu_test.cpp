#include "platform/user/records/menu.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
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
    struct Case {
        std::u16string_view text;
        std::u16string_view shown;
        int mnemonic;
    };
    for (const Case& c :
         {Case{u"Вы&ход", u"Выход", 2}, Case{u"&&Схема", u"&Схема", -1}, Case{u"A&&&B", u"A&B", 2},
          Case{u"конец&", u"конец", -1}, Case{u"&a&b", u"ab", 0}, Case{u"Помощь", u"Помощь", -1},
          Case{u"", u"", -1}}) {
        SCOPED_TRACE(std::string(c.shown.begin(), c.shown.end()));
        const MenuLabel label = ParseMenuLabel(c.text);
        EXPECT_EQ(label.text, c.shown);
        EXPECT_EQ(label.mnemonic, c.mnemonic);
    }
}

TEST(MenuLabels, MnemonicsMatchInEitherCaseButNotAcrossAlphabets) {
    struct Case {
        std::u16string_view text;
        char16_t typed;
        bool matches;
    };
    for (const Case& c :
         {Case{u"Вы&ход", u'х', true}, Case{u"Вы&ход", u'Х', true}, Case{u"Вы&ход", u'x', false},
          Case{u"&O программе", u'o', true}, Case{u"&O программе", u'о', false},
          Case{u"&ёлка", u'Ё', true}, Case{u"&Яма", u'я', true}, Case{u"Помощь", u'п', false},
          Case{u"&1", u'!', false}, Case{u"&Џ", u'џ', true}}) {
        SCOPED_TRACE(static_cast<int>(c.typed));
        EXPECT_EQ(MatchesMnemonic(ParseMenuLabel(c.text), c.typed), c.matches);
    }
}

}  // namespace
}  // namespace qv
