#include "text/name_search.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "text/keyboard_layout_swap.h"
#include "text/transliteration.h"
#include "text/utf.h"

namespace qv {
namespace {

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

TEST(NameSearchTest, TheReadingsAreTriedInTheirOrder) {
    const std::tuple<std::vector<std::u16string>, std::u16string, std::u16string, NameReading>
        cases[] = {
            {{u"Бауманская", u"Киевская"}, u"", u"Бауманская", NameReading::AsTyped},
            // As typed first, though the other layout's "е" begins the name listed first.
            {{u"Елизаровская", u"Tower Hill"}, u"t", u"Tower Hill", NameReading::AsTyped},
            // "Звезд" begins no name as typed; with Ё as Е it does, before the layout's "pdtpl".
            {{u"Звёздная", u"Звенигородская"}, u"Звезд", u"Звёздная", NameReading::YoAsYe},
            {{u"Звёзды"}, u"звезды", u"Звёзды", NameReading::YoAsYe},  // the whole name
            // "ie" is "шу" in the other layout and "Е" in Latin letters: the layout comes first.
            {{u"Елизаровская", u"Шушары"}, u"ie", u"Шушары", NameReading::OtherLayout},
            {{u"Елизаровская", u"Шушары"}, u"ye", u"Елизаровская", NameReading::Transliterated},
            {{u"Бауманская", u"Киевская"}, u"kievskya", u"Киевская", NameReading::Nearest},
            {{u"Бауманская", u"Киевская"}, u"Киевсакя", u"Киевская", NameReading::Nearest},
            // One letter wrong amid six: at the end it would read as one letter too many.
            {{u"Бауманская", u"Киевская"}, u"Киавск", u"Киевская", NameReading::Nearest},
        };
    for (const auto& [names, typed, expected, reading] : cases) {
        NameReading found{};
        EXPECT_EQ(Landing(NameSearch(names), names, typed, &found), expected) << Utf16ToUtf8(typed);
        EXPECT_EQ(found, reading) << Utf16ToUtf8(typed);
    }
}

TEST(NameSearchTest, TheFirstNameInTheListsOrderWinsAmongThoseAReadingBegins) {
    const std::vector<std::u16string> names{u"Марьина Роща", u"Марьино"};
    EXPECT_EQ(Landing(NameSearch(names), names, u"mari"), u"Марьина Роща");
    EXPECT_EQ(Landing(NameSearch(names), names, u"marino"), u"Марьино");
    const std::vector<std::u16string> reversed{u"Марьино", u"Марьина Роща"};
    EXPECT_EQ(Landing(NameSearch(reversed), reversed, u"mari"), u"Марьино");
    // Equally near a mistyped text, too.
    const std::vector<std::u16string> twins{u"Киевская кольцевая", u"Киевская"};
    EXPECT_EQ(Landing(NameSearch(twins), twins, u"Киевскпя"), u"Киевская кольцевая");
}

TEST(NameSearchTest, TextsNearNothingFindNothing) {
    const std::vector<std::u16string> names{u"Бауманская", u"Киевская", u"Щукинская"};
    const NameSearch search(names);
    for (const std::u16string typed : {
             u"qqqq",
             u"Кию",
             u"БвуманскаяБауманская",
             u"КиевскаяКиевскаяКиевскаяКиевская",  // longer by more than its mistakes allow
             u"\U0001F687",
         }) {
        EXPECT_EQ(Landing(search, names, typed), u"-") << Utf16ToUtf8(typed);
    }
    EXPECT_FALSE(NameSearch(std::vector<std::u16string>{}).Find(u"").has_value());
    // One letter more than the name is one mistake, forgiven in nine letters.
    EXPECT_EQ(Landing(search, names, u"Киевскаяя"), u"Киевская");
}

TEST(NameSearchTest, UkrainianAndBelarusianLettersAreReadInEveryWay) {
    const std::vector<std::u16string> names{u"Вокзальна", u"Голосіївська", u"Лівобережна",
                                            u"Ґалаґана", u"Ўручча"};
    const NameSearch search(names);
    const std::pair<std::u16string, std::u16string> cases[] = {
        // The other layout: і on the ы key (Ukrainian) and on the и key (Belarusian), ї on ъ,
        // ў on щ, ґ on г.
        {u"ks", u"Лівобережна"},
        {u"kb", u"Лівобережна"},
        {u"ujkjcs]", u"Голосіївська"},
        {u"ohexx", u"Ўручча"},
        {u"uf", u"Ґалаґана"},
        // Latin letters: г is h, ї is yi or i.
        {u"holosiivska", u"Голосіївська"},
        {u"galagana", u"Ґалаґана"},
        {u"wruchcha", u"Ўручча"},
        // Russian spellings a letter or two away.
        {u"Левобережна", u"Лівобережна"},
    };
    for (const auto& [typed, expected] : cases) {
        EXPECT_EQ(Landing(search, names, typed), expected) << Utf16ToUtf8(typed);
    }
}

TEST(NameSearchTest, LatinSpellingsOfEveryLetterAndWhereAReadingFallsBackToTheNearest) {
    using Typed = std::vector<std::u16string>;
    constexpr auto kLatin = NameReading::Transliterated;
    const std::tuple<std::u16string, Typed, std::optional<NameReading>> cases[] = {
        {u"Щёлковская", {u"shchyolk", u"shchjolk", u"shchiolk", u"shchyelk"}, kLatin},
        {u"Щёлковская", {u"shchjelk", u"shchelk", u"shcholk"}, kLatin},
        {u"Войковская", {u"voykovsk", u"voikovsk", u"vojkovsk"}, kLatin},
        // Й is left out only at a word's end.
        {u"Войковская", {u"vok"}, std::nullopt},
        {u"Тёплый Стан", {u"teply stan", u"tyoplyy-stan", u"teplyistan", u"teplij stan"}, kLatin},
        {u"Китай-город", {u"kita-gorod", u"kitay gorod"}, kLatin},
        {u"Съезжинская", {u"sezzh", u"s'ezzh", u"s\"ezzh"}, kLatin},
        {u"Європейська площа", {u"yevrop", u"jevrop", u"ievrop", u"evrop"}, kLatin},
        // Є lies on the э key of the other layout.
        {u"Європейська площа", {u"'dhjg"}, NameReading::OtherLayout},
        {u"Александровский сад", {u"alexandrovsk"}, kLatin},
        // A letter off their Cyrillic reading, y as й after a vowel and ы after a consonant.
        {u"Войковская", {u"voykof", u"vokovsk"}, NameReading::Nearest},
        {u"Крылатское", {u"krylac"}, NameReading::Nearest},
    };
    for (const auto& [name, typed, expected] : cases) {
        for (const std::u16string& text : typed) {
            const std::optional<NameFound> found = NameSearch({name}).Find(text);
            EXPECT_EQ(found ? std::optional(found->reading) : std::nullopt, expected)
                << Utf16ToUtf8(text);
        }
    }
}

// Each vowel, ы among them: ь before it may be spelt j, and after it "ia", "iu" and a "y" no vowel
// follows are read as я, ю and й; after a consonant they are read letter by letter.
TEST(Transliteration, EveryVowelChangesTheSpellingsAroundIt) {
    const std::pair<std::u16string, std::u16string> softSigns[] = {
        {u"а", u"a"}, {u"е", u"ye"}, {u"ё", u"yo"}, {u"и", u"i"},  {u"о", u"o"},
        {u"у", u"u"}, {u"ы", u"y"},  {u"э", u"e"},  {u"ю", u"yu"}, {u"я", u"ya"},
        {u"і", u"i"}, {u"ї", u"yi"}, {u"є", u"ye"}, {u"к", u""}};
    for (const auto& [letter, latin] : softSigns) {
        EXPECT_EQ(SpellsPrefixOf(u"lj" + latin + u"k", u"Ль" + letter + u"к"), !latin.empty())
            << Utf16ToUtf8(letter);
    }
    const std::pair<std::u16string_view, std::u16string_view> readings[] = {
        {u"aia", u"ая"},   {u"eiu", u"ею"},          {u"yoia", u"ёя"},  {u"iia", u"ия"},
        {u"oiu", u"ою"},   {u"uia", u"уя"},          {u"kyia", u"кыя"}, {u"yuia", u"юя"},
        {u"yaiu", u"яю"},  {u"krasnyy", u"красный"}, {u"ay", u"ай"},    {u"ia", u"я"},
        {u"k ia", u"к я"}, {u"kia", u"киа"},         {u"kiu", u"киу"},  {u"kyk", u"кык"}};
    for (const auto& [latin, reading] : readings) {
        EXPECT_EQ(CyrillicReading(latin), reading) << Utf16ToUtf8(latin);
    }
}

TEST(NameSearchTest, TheOtherLayoutGoesBothWaysWithShiftedAndPunctuationKeys) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"rbtd", u"киев"}, {u",f.", u"баю"},   {u"<F>", u"баю"},     {u"[jh", u"хор"},
        {u"j,]", u"объ"},   {u"`krf", u"ёлка"}, {u"ифлук", u"baker"}, {u"ёж", u"`;"},
        {u"і", u"s"},       {u"ї", u"]"},       {u"є", u"'"},         {u"ґ", u"`"},
        {u"ў", u"o"},       {u",", u"б"},       {u"~", u"ё"},
    };
    for (const auto& [typed, expected] : cases) {
        EXPECT_EQ(InOtherLayout(typed), expected) << Utf16ToUtf8(typed);
    }
}

}  // namespace
}  // namespace qv
