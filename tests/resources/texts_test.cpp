#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "gallery/gallery_texts.h"
#include "platform/controls/common_controls.h"
#include "platform/gdi/resource_module.h"
#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/system_texts.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "resources/main_toolbar.h"
#include "resources/program_resources.h"
#include "resources/program_texts.h"
#include "resources/resource_ids.h"
#include "text/language.h"
#include "text/text_table.h"
#include "text/utf.h"

namespace qv {
namespace {

std::set<char16_t> Marks(std::u16string_view text) {
    std::set<char16_t> marks;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'%' && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
            marks.insert(text[i + 1]);
        }
    }
    return marks;
}

// Every id of [0, Count) once in each table; no empty text; English without Cyrillic; the same
// placeholders in both languages.
template <typename Id>
void CheckTables(std::span<const TextEntry<Id>> russian, std::span<const TextEntry<Id>> english) {
    constexpr int kCount = static_cast<int>(Id::Count);
    for (const auto& [table, name] :
         {std::pair{russian, "Russian"}, std::pair{english, "English"}}) {
        std::vector<int> seen(kCount, 0);
        for (const TextEntry<Id>& entry : table) {
            const int id = static_cast<int>(entry.id);
            ASSERT_TRUE(id >= 0 && id < kCount) << name << " id " << id;
            ++seen[static_cast<std::size_t>(id)];
            EXPECT_FALSE(entry.text.empty()) << name << " id " << id;
        }
        EXPECT_EQ(std::ranges::count(seen, 1), kCount) << name << ": an id missing or twice";
    }
    for (const TextEntry<Id>& entry : english) {
        EXPECT_FALSE(
            std::ranges::any_of(entry.text, [](char16_t c) { return c >= 0x400 && c < 0x500; }))
            << "id " << static_cast<int>(entry.id) << ": " << Utf16ToUtf8(entry.text);
        EXPECT_EQ(Marks(entry.text), Marks(FindText(russian, entry.id)))
            << "id " << static_cast<int>(entry.id);
    }
}

TEST(TextTables, ProgramSystemAndGalleryTablesHaveTheSameIdsAndEnglishIsEnglish) {
    CheckTables(RussianTexts(), EnglishTexts());
    CheckTables(RussianSystemTexts(), EnglishSystemTexts());
    CheckTables(gallery::RussianGalleryTexts(), gallery::EnglishGalleryTexts());
}

TEST(TextTables, LookUpFollowsTheSelectedLanguageAndKeepsRussianExact) {
    // Latin capital C first, as the menu button always had it.
    EXPECT_EQ(TextIn(Language::Russian, TextId::MenuBarScheme), u"C\u0445\u0435\u043C\u0430");
    SelectProgramLanguage(Language::English);
    EXPECT_EQ(std::u16string_view(kMainToolbarTooltips[8]), u"Help");
    const std::set<std::u16string_view> tips(kMainToolbarTooltips, std::end(kMainToolbarTooltips));
    EXPECT_EQ(tips.size(), std::size(kMainToolbarTooltips)) << "a tip of its own for each button";
    EXPECT_EQ(gallery::GalleryText(gallery::GalleryTextId::ButtonsHeading), u"Buttons");
    EXPECT_EQ(FormatText(TextId::RouteSummary, {u"3", u"0"}), u"Stations 3, transfers 0");
    EXPECT_EQ(ProgramModule()->FindString(IDS_TITLE), u"Metro map");
    EXPECT_EQ(SystemText(SystemTextId::CancelButton), u"Cancel");
    SelectProgramLanguage(Language::Russian);
    EXPECT_EQ(std::u16string_view(kMainToolbarTooltips[8]), u"Помощь");
    EXPECT_EQ(gallery::GalleryText(gallery::GalleryTextId::ButtonsHeading), u"Кнопки");
    EXPECT_EQ(FormatText(TextId::RouteSummary, {u"3", u"0"}), u"Станций 3 пересадок 0");
    EXPECT_EQ(ProgramModule()->FindString(IDS_TITLE), u"Схема метро");
    EXPECT_EQ(SystemText(SystemTextId::CancelButton), u"Отмена");
}

TEST(Placeholders, FillsMarksAndLeavesTheRest) {
    const std::tuple<std::u16string_view, std::vector<std::u16string_view>, std::u16string>
        cases[] = {
            {u"%9 after %1", {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i"}, u"i after a"},
            {u"%3 has no value, 100% and %0 and %", {u"a"}, u"%3 has no value, 100% and %0 and %"},
            {u"%1", {u"%2"}, u"%2"},  // a value is not filled again
        };
    for (const auto& [pattern, values, expected] : cases) {
        EXPECT_EQ(FillPlaceholders(pattern, values), expected) << Utf16ToUtf8(pattern);
    }
}

TEST(Locale, FirstSetOfLcAllLcMessagesLangDecides) {
    const std::tuple<const char*, const char*, const char*, Language> cases[] = {
        {nullptr, nullptr, "en_GB.UTF-8", Language::English},
        {nullptr, nullptr, "C", Language::Russian},
        {"", "en.UTF-8", "ru_RU.UTF-8", Language::English},  // a language without a country
        {"", "", "", Language::Russian},
        {nullptr, nullptr, "e", Language::Russian},
    };
    for (const auto& [lcAll, lcMessages, lang, expected] : cases) {
        EXPECT_EQ(LanguageOfLocale(lcAll, lcMessages, lang), expected) << (lang ? lang : "-");
    }
    EXPECT_EQ(LanguageNamed("en"), Language::English);
    EXPECT_EQ(LanguageNamed("ru"), Language::Russian);
    EXPECT_EQ(LanguageNamed("EN"), std::nullopt);
}

TEST(SettingsPage, TabTakesTheFocusThroughEveryBoxAndFieldInTheOrderOfThePage) {
    HeadlessHost host;
    WindowSystem system{host};
    ASSERT_TRUE(RegisterStandardControls());
    const HWND page = CreateDialogParamW(
        ProgramModule(), IDD_SETTINGS, nullptr,
        [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; }, 0);
    ShowWindow(page, SW_SHOW);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_ALGO_TRANSFERS);
    // Each group of radio buttons is one stop; the last stop leads back to the first.
    for (const int id :
         {IDC_COUNT_WAIT, IDC_TOOLTIP_MS, IDC_SHOW_NAMES, IDC_MAX_TRANSFERS, IDC_ROUTE_LINE,
          IDC_ROUTE_STATIONS, IDC_ROUTE_BLINK, IDC_PICK_KEYBOARD, IDC_SAVE_ROUTE, IDC_CYRILLIC_FONT,
          IDC_SAVE_ZOOM, IDC_SAVE_POSITION, IDC_ALGO_TRANSFERS}) {
        const MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0};
        EXPECT_TRUE(IsDialogMessageW(page, &tab));
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), id);
    }
    DestroyWindow(page);
}

}  // namespace
}  // namespace qv
