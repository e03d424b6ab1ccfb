#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "gallery/gallery_texts.h"
#include "platform/gdi/resource_module.h"
#include "platform/user/api/system_texts.h"
#include "resources/program_resources.h"
#include "resources/program_texts.h"
#include "resources/resource_ids.h"
#include "text/language.h"
#include "text/text_table.h"
#include "text/utf.h"

namespace qv {
namespace {

bool HasCyrillic(std::u16string_view text) {
    for (const char16_t c : text) {
        if (c >= 0x0400 && c <= 0x04FF) {
            return true;
        }
    }
    return false;
}

// The %1..%9 marks of a pattern, as a set.
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
        for (int id = 0; id < kCount; ++id) {
            EXPECT_EQ(seen[static_cast<std::size_t>(id)], 1) << name << " id " << id;
        }
    }
    for (const TextEntry<Id>& entry : english) {
        EXPECT_FALSE(HasCyrillic(entry.text))
            << "id " << static_cast<int>(entry.id) << ": " << Utf16ToUtf8(entry.text);
        EXPECT_EQ(Marks(entry.text), Marks(FindText(russian, entry.id)))
            << "id " << static_cast<int>(entry.id);
    }
}

TEST(TextTables, ProgramTablesHaveTheSameIdsAndEnglishIsEnglish) {
    CheckTables(RussianTexts(), EnglishTexts());
}

TEST(TextTables, SystemTablesHaveTheSameIdsAndEnglishIsEnglish) {
    CheckTables(RussianSystemTexts(), EnglishSystemTexts());
}

TEST(TextTables, GalleryTablesHaveTheSameIdsAndEnglishIsEnglish) {
    CheckTables(gallery::RussianGalleryTexts(), gallery::EnglishGalleryTexts());
}

TEST(TextTables, TheCheckCatchesAMissingIdAndCyrillicInEnglish) {
    enum class Id { A, B, Count };
    const TextEntry<Id> russian[] = {{Id::A, u"а"}, {Id::B, u"б %1"}};
    const TextEntry<Id> missing[] = {{Id::A, u"a"}};
    const TextEntry<Id> cyrillic[] = {{Id::A, u"a"}, {Id::B, u"б %1"}};
    const TextEntry<Id> lostMark[] = {{Id::A, u"a"}, {Id::B, u"b"}};
    for (std::span<const TextEntry<Id>> english :
         {std::span<const TextEntry<Id>>(missing), std::span<const TextEntry<Id>>(cyrillic),
          std::span<const TextEntry<Id>>(lostMark)}) {
        ::testing::TestPartResultArray failures;
        {
            ::testing::ScopedFakeTestPartResultReporter reporter(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD,
                &failures);
            CheckTables<Id>(russian, english);
        }
        EXPECT_GT(failures.size(), 0);
    }
}

TEST(TextTables, LookUpFollowsTheSelectedLanguageAndKeepsRussianExact) {
    struct Case {
        Language language;
        TextId id;
        std::u16string text;
    };
    const Case cases[] = {
        {Language::Russian, TextId::RouteNotFound, u"Маршрут не найден"},
        {Language::English, TextId::RouteNotFound, u"No route found"},
        // Latin capital C first, as the menu button always had it.
        {Language::Russian, TextId::MenuBarScheme,
         u"C"
         u"хема"},
        {Language::Russian, TextId::RouteSummary, u"Станций %1 пересадок %2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextIn(c.language, c.id), c.text);
    }
    SelectUiLanguage(Language::English);
    EXPECT_EQ(gallery::GalleryText(gallery::GalleryTextId::ButtonsHeading), u"Buttons");
    EXPECT_EQ(FormatText(TextId::RouteSummary, {u"3", u"0"}), u"Stations 3, transfers 0");
    EXPECT_EQ(ProgramModule()->FindString(IDS_TITLE), u"Metro map");
    EXPECT_EQ(SystemText(SystemTextId::CancelButton), u"Cancel");
    SelectUiLanguage(Language::Russian);
    EXPECT_EQ(gallery::GalleryText(gallery::GalleryTextId::ButtonsHeading), u"Кнопки");
    EXPECT_EQ(FormatText(TextId::RouteSummary, {u"3", u"0"}), u"Станций 3 пересадок 0");
    EXPECT_EQ(ProgramModule()->FindString(IDS_TITLE), u"Схема метро");
    EXPECT_EQ(SystemText(SystemTextId::CancelButton), u"Отмена");
}

TEST(Placeholders, FillsMarksAndLeavesTheRest) {
    struct Case {
        std::u16string_view pattern;
        std::vector<std::u16string_view> values;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"%2 after %1", {u"a", u"b"}, u"b after a"},
        {u"%1%1", {u"x"}, u"xx"},
        {u"%3 has no value", {u"a"}, u"%3 has no value"},
        {u"100% and %0 and %", {u"a"}, u"100% and %0 and %"},
        {u"%1", {u"%2"}, u"%2"},  // a value is not filled again
        {u"", {u"a"}, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FillPlaceholders(c.pattern, c.values), c.expected) << Utf16ToUtf8(c.pattern);
    }
}

TEST(Locale, FirstSetOfLcAllLcMessagesLangDecides) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "en_GB.UTF-8", Language::English},
        {nullptr, nullptr, "ru_RU.UTF-8", Language::Russian},
        {nullptr, nullptr, nullptr, Language::Russian},
        {nullptr, nullptr, "C", Language::Russian},
        {nullptr, nullptr, "C.UTF-8", Language::Russian},
        {"ru_RU.UTF-8", nullptr, "en_GB.UTF-8", Language::Russian},
        {"ru", "en_US.UTF-8", "en_GB.UTF-8", Language::Russian},
        {"", "en_US.UTF-8", "ru_RU.UTF-8", Language::English},
        {"", "", "en", Language::English},
        {"", "", "", Language::Russian},
        {"en_US.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", Language::English},
        {nullptr, nullptr, "de_DE.UTF-8", Language::Russian},
        {nullptr, nullptr, "EN_GB", Language::Russian},
        {nullptr, nullptr, "e", Language::Russian},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
    EXPECT_EQ(LanguageNamed("en"), Language::English);
    EXPECT_EQ(LanguageNamed("ru"), Language::Russian);
    EXPECT_EQ(LanguageNamed("EN"), std::nullopt);
    EXPECT_EQ(LanguageNamed(""), std::nullopt);
}

}  // namespace
}  // namespace qv
