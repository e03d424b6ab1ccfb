#include "text/name_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/keyboard_layout_swap.h"
#include "text/transliteration.h"
#include "text/utf.h"

namespace qv {
namespace {

// A name that no reading finds is shown as "-".
std::u16string Landing(const NameSearch& search, const std::vector<std::u16string>& names,
                       std::u16string_view typed, NameReading* reading = nullptr) {
    const std::optional<NameFound> found = search.Find(typed);
    if (!found) {
        return u"-";
    }
    if (reading) {
        *reading = found->reading;
    }
    return names.at(found->index);
}

TEST(NameSearchTest, EmptyTextIsTheBeginningOfTheFirstNameAndOfNoneInAnEmptyList) {
    const std::vector<std::u16string> names{u"Бауманская", u"Киевская"};
    NameReading reading{};
    EXPECT_EQ(Landing(NameSearch(names), names, u"", &reading), u"Бауманская");
    EXPECT_EQ(reading, NameReading::AsTyped);
    EXPECT_FALSE(NameSearch(std::vector<std::u16string>{}).Find(u"").has_value());
    EXPECT_FALSE(NameSearch(std::vector<std::u16string>{}).Find(u"rbtd").has_value());
}

// Each reading is tried only when every earlier one begins no name, whatever the list's order.
TEST(NameSearchTest, TheReadingsAreTriedInTheirOrder) {
    struct Case {
        std::vector<std::u16string> names;
        std::u16string typed;
        std::u16string expected;
        NameReading reading;
    };
    const Case cases[] = {
        // "t" begins "Tower Hill" as typed; in the other layout it is "е", which begins the name
        // listed first.
        {{u"Елизаровская", u"Tower Hill"}, u"t", u"Tower Hill", NameReading::AsTyped},
        {{u"Елизаровская", u"Tower Hill"}, u"T", u"Tower Hill", NameReading::AsTyped},
        // "Звезд" begins no name as typed; with Ё as Е it does, before the layout's "pdtpl".
        {{u"Звёздная", u"Звенигородская"}, u"Звезд", u"Звёздная", NameReading::YoAsYe},
        // "ie" is "шу" in the other layout and spells "Е" in Latin letters: the layout comes first.
        {{u"Елизаровская", u"Шушары"}, u"ie", u"Шушары", NameReading::OtherLayout},
        {{u"Елизаровская", u"Шушары"}, u"ye", u"Елизаровская", NameReading::Transliterated},
        {{u"Бауманская", u"Киевская"}, u"kievskya", u"Киевская", NameReading::Nearest},
        {{u"Бауманская", u"Киевская"}, u"Киевсакя", u"Киевская", NameReading::Nearest},
    };
    for (const Case& c : cases) {
        NameReading reading{};
        EXPECT_EQ(Landing(NameSearch(c.names), c.names, c.typed, &reading), c.expected)
            << Utf16ToUtf8(c.typed);
        EXPECT_EQ(reading, c.reading) << Utf16ToUtf8(c.typed);
    }
}

TEST(NameSearchTest, TheFirstNameInTheListsOrderWinsAmongThoseAReadingBegins) {
    const std::vector<std::u16string> names{u"Марьина Роща", u"Марьино"};
    EXPECT_EQ(Landing(NameSearch(names), names, u"mari"), u"Марьина Роща");
    EXPECT_EQ(Landing(NameSearch(names), names, u"marino"), u"Марьино");
    const std::vector<std::u16string> reversed{u"Марьино", u"Марьина Роща"};
    EXPECT_EQ(Landing(NameSearch(reversed), reversed, u"mari"), u"Марьино");
}

TEST(NameSearchTest, TextsNearNothingFindNothing) {
    const std::vector<std::u16string> names{u"Бауманская", u"Киевская", u"Щукинская"};
    const NameSearch search(names);
    for (const std::u16string typed : {
             u"Жжжжжж",
             u"qqqq",
             // Too short to forgive a letter.
             u"Кию",
             u"Бвуманская"
             u"Бауманская",
             // Longer than every name by more than its mistakes allow.
             u"Киевская"
             u"Киевская"
             u"Киевская"
             u"Киевская"
             u"Киевская",
             u"\U0001F687",
         }) {
        EXPECT_EQ(Landing(search, names, typed), u"-") << Utf16ToUtf8(typed);
    }
    // One letter more than the name is one mistake, forgiven in nine letters.
    EXPECT_EQ(Landing(search, names, u"Киевскаяя"), u"Киевская");
}

TEST(NameSearchTest, UkrainianAndBelarusianLettersAreReadInEveryWay) {
    // Names as a Ukrainian or Belarusian map writes them.
    const std::vector<std::u16string> names{u"Вокзальна",   u"Голосіївська", u"Дарниця",
                                            u"Лівобережна", u"Ґалаґана",     u"Інстытут культуры",
                                            u"Ўручча"};
    const NameSearch search(names);
    struct Case {
        std::u16string typed;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"ЛІВО", u"Лівобережна"},
        // The other layout: і on the ы key (Ukrainian) and on the и key (Belarusian), ї on ъ,
        // ў on щ, ґ on г.
        {u"ks", u"Лівобережна"},
        {u"kb", u"Лівобережна"},
        {u"ujkjcs]", u"Голосіївська"},
        {u"ohexx", u"Ўручча"},
        {u"uf", u"Ґалаґана"},
        {u"ctkfdf", u"-"},
        // Latin letters: г is h, ї is yi or i.
        {u"holosiivska", u"Голосіївська"},
        {u"golosiyivska", u"Голосіївська"},
        {u"darnytsia", u"Дарниця"},
        {u"livoberezhna", u"Лівобережна"},
        {u"galagana", u"Ґалаґана"},
        {u"instytut", u"Інстытут культуры"},
        {u"wruchcha", u"Ўручча"},
        {u"uruchcha", u"Ўручча"},
        // Russian spellings a letter or two away.
        {u"Левобережна", u"Лівобережна"},
        {u"Голосіевська", u"Голосіївська"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Landing(search, names, c.typed), c.expected) << Utf16ToUtf8(c.typed);
    }
}

TEST(NameSearchTest, PrefixDistanceCountsLettersWrongMissingOrExtraAgainstTheNamesBeginning) {
    struct Case {
        std::u16string typed;
        std::u16string name;
        int limit;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {u"киев", u"киевская", 0, 0},      {u"кеив", u"киевская", 2, 2},
        {u"киеская", u"киевская", 1, 1},   {u"кииевская", u"киевская", 2, 1},
        {u"киевскаяя", u"киевская", 2, 1}, {u"абвг", u"киевская", 2, std::nullopt},
        {u"", u"киевская", 0, 0},          {u"киев", u"", 4, 4},
        {u"киев", u"", 3, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrefixDistance(c.typed, c.name, c.limit), c.expected)
            << Utf16ToUtf8(c.typed) << " " << Utf16ToUtf8(c.name);
    }
}

TEST(NameSearchTest, TheOtherLayoutGoesBothWaysWithShiftedAndPunctuationKeys) {
    struct Case {
        std::u16string typed;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"rbtd", u"киев"}, {u"RBTD", u"киев"}, {u",f.", u"баю"},     {u"<F>", u"баю"},
        {u"'ktr", u"элек"}, {u"\"kt", u"эле"},  {u"[jh", u"хор"},     {u"{jh", u"хор"},
        {u"j,]", u"объ"},   {u"`krf", u"ёлка"}, {u"ифлук", u"baker"}, {u"ДЩТВЩТ", u"london"},
        {u"ёж", u"`;"},     {u"і", u"s"},       {u"ї", u"]"},         {u"є", u"'"},
        {u"ґ", u"`"},       {u"ў", u"o"},       {u"2 3", u"2 3"},     {u",", u"б"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InOtherLayout(c.typed), c.expected) << Utf16ToUtf8(c.typed);
    }
}

}  // namespace
}  // namespace qv
