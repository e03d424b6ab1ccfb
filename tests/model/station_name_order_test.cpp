#include "model/station_name_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "text/utf.h"

namespace qv {
namespace {

TEST(CompareNames, IgnoresCaseThenPutsYeBeforeYoThenComparesCodeUnits) {
    // Each first name sorts before its second.
    const std::pair<std::u16string_view, std::u16string_view> ordered[] = {
        {u"арбатская", u"Бауманская"},
        {u"щукинская", u"Юго-Западная"},
        {u"аа", u"Аб"},
        {u"яа", u"Яб"},
        {u"alpha", u"Beta"},
        {u"za", u"Zb"},
        {u"їа", u"Їб"},  // Ukrainian and Belarusian capitals fold too
        {u"ѐа", u"Ѐб"},
        {u"џа", u"Џб"},
        {u"Я", u"яя"},
        {u"Дубки", u"ёж"},
        {u"Ёлки", u"Ель"},  // Ё on Е's place, not after Я
        {u"Ёж", u"Жулебино"},
        {u"Еж", u"ёж"},        // where nothing else differs, Е first
        {u"ае", u"Аё"},        // even when an earlier letter differs only in case
        {u"Сокол", u"сокол"},  // names equal but for case: by code units
        {u"Сокол", u"Соколиная"},
    };
    for (const auto& [first, second] : ordered) {
        EXPECT_LT(CompareNames(first, second), 0) << Utf16ToUtf8(first);
        EXPECT_GT(CompareNames(second, first), 0) << Utf16ToUtf8(first);
    }
    EXPECT_EQ(CompareNames(u"Сокол", u"Сокол"), 0);
}

TEST(CompareNames, IsATotalOrderOnRandomNames) {
    const std::u16string alphabet = u"аАеЕёЁжЖzZ -1";
    std::mt19937 random(7);
    std::vector<std::u16string> names;
    for (int i = 0; i < 300; ++i) {
        std::u16string name;
        for (int length = static_cast<int>(random() % 4); length >= 0; --length) {
            name += alphabet[random() % alphabet.size()];
        }
        names.push_back(name);
    }
    for (const auto& a : names) {
        for (const auto& b : names) {
            ASSERT_EQ(CompareNames(a, b), -CompareNames(b, a));
            ASSERT_EQ(CompareNames(a, b) == 0, a == b);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return CompareNames(a, b) < 0; });
    for (std::size_t i = 0; i + 2 < names.size(); ++i) {
        ASSERT_LE(CompareNames(names[i], names[i + 2]), 0);
    }
}

TEST(FoldedName, FoldsCaseAndYo) {
    EXPECT_EQ(FoldedName(u"ЁлкИ Abc-1"), u"елки abc-1");
    EXPECT_EQ(FoldedName(u"ЇЖак"), u"їжак");
}

TEST(CompareStationNames, ComparesTheNamesAlone) {
    const Station a{.name = u"арбатская", .index = 5, .x = 9};
    const Station b{.name = u"Бауманская", .index = 1, .kind = kShapePointKind};
    EXPECT_LT(CompareStationNames(a, b), 0);
    EXPECT_GT(CompareStationNames(b, a), 0);
    EXPECT_EQ(CompareStationNames(a, Station{.name = u"арбатская", .index = 2}), 0);
}

}  // namespace
}  // namespace qv
