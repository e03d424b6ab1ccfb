#include "platform/user/records/menu.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/controls/menu_label.h"
#include "platform/user/api/accelerator_table.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"

namespace qv {
namespace {

constexpr UINT kNoItem = 0xFFFFFFFF;

TEST(Menus, TheMainWindowsMenuIsOnePopupOfTheSchemeCommands) {
    const UniqueMenu bar(LoadMenuW(ProgramModule(), IDR_MENUBAR));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar.get()), 1);
    EXPECT_EQ(bar->Items()[0].text, u"&Схема");
    EXPECT_EQ(GetMenuItemID(bar.get(), 0), kNoItem) << "the item opens a popup";
    const HMENU scheme = GetSubMenu(bar.get(), 0);
    ASSERT_NE(scheme, nullptr);
    EXPECT_EQ(scheme->Parent(), bar.get());

    struct Expected {
        std::u16string text;
        UINT id;
        bool separator;
    };
    const std::vector<Expected> expected{
        {u"&Загрузить", 1030, false},
        {u"", 0, true},
        {u"&Станции по алфавиту", 1031, false},
        {u"", 0, true},
        {u"Настройки", 1035, false},
        {u"Помощь", 1041, false},
        {u"&O программе", 1003, false},
        {u"Вы&ход", 1004, false},
    };
    ASSERT_EQ(GetMenuItemCount(scheme), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const MenuItem& item = scheme->Items()[i];
        EXPECT_EQ(item.text, expected[i].text);
        EXPECT_EQ(GetMenuItemID(scheme, static_cast<int>(i)), expected[i].id);
        EXPECT_EQ((item.flags & MF_SEPARATOR) != 0, expected[i].separator);
        EXPECT_EQ(IsSelectableMenuItem(item), !expected[i].separator);
        EXPECT_EQ(GetSubMenu(scheme, static_cast<int>(i)), nullptr);
    }
    EXPECT_EQ(scheme->Items()[6].text[1], u'O') << "the Latin capital O";
    EXPECT_EQ(GetMenuItemID(scheme, 8), kNoItem);
    EXPECT_EQ(GetMenuItemID(scheme, -1), kNoItem);
    EXPECT_EQ(GetSubMenu(scheme, 8), nullptr);
}

TEST(Menus, MissingMenusAndWrongHandlesFail) {
    EXPECT_EQ(LoadMenuW(ProgramModule(), IDR_MENUBAR + 1), nullptr);
    EXPECT_EQ(LoadMenuW(nullptr, IDR_MENUBAR), nullptr);
    // Another kind of resource under the id is no menu.
    ResourceModule module;
    const AcceleratorResource accelerators{};
    module.AddResource(IDR_MENUBAR, accelerators);
    EXPECT_EQ(LoadMenuW(&module, IDR_MENUBAR), nullptr);

    EXPECT_EQ(GetMenuItemCount(nullptr), -1);
    EXPECT_EQ(GetMenuItemID(nullptr, 0), kNoItem);
    EXPECT_EQ(GetSubMenu(nullptr, 0), nullptr);
    EXPECT_FALSE(DestroyMenu(nullptr));

    const HMENU bar = LoadMenuW(ProgramModule(), IDR_MENUBAR);
    const HMENU scheme = GetSubMenu(bar, 0);
    EXPECT_FALSE(DestroyMenu(scheme)) << "a popup goes with the menu that holds it";
    EXPECT_EQ(GetMenuItemCount(scheme), 8);
    EXPECT_TRUE(DestroyMenu(bar));
}

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
    const MenuLabel exit = ParseMenuLabel(u"Вы&ход");
    EXPECT_TRUE(MatchesMnemonic(exit, u'х'));
    EXPECT_TRUE(MatchesMnemonic(exit, u'Х'));
    EXPECT_FALSE(MatchesMnemonic(exit, u'x')) << "Latin x";
    const MenuLabel about = ParseMenuLabel(u"&O программе");
    EXPECT_TRUE(MatchesMnemonic(about, u'o'));
    EXPECT_TRUE(MatchesMnemonic(about, u'O'));
    EXPECT_FALSE(MatchesMnemonic(about, u'о')) << "Cyrillic о";
    EXPECT_TRUE(MatchesMnemonic(ParseMenuLabel(u"&Ёлка"), u'ё'));
    EXPECT_TRUE(MatchesMnemonic(ParseMenuLabel(u"&ёлка"), u'Ё'));
    EXPECT_TRUE(MatchesMnemonic(ParseMenuLabel(u"&Яма"), u'я'));
    EXPECT_FALSE(MatchesMnemonic(ParseMenuLabel(u"Помощь"), u'п'));
    EXPECT_FALSE(MatchesMnemonic(ParseMenuLabel(u"&1"), u'!'));
}

}  // namespace
}  // namespace qv
