#include "model/station_name_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace qv {
namespace {

TEST(CompareNames, IgnoresCaseOfCyrillicAndLatin) {
    EXPECT_LT(CompareNames(u"арбатская", u"Бауманская"), 0);
    EXPECT_GT(CompareNames(u"Юго-Западная", u"щукинская"), 0);
    EXPECT_LT(CompareNames(u"alpha", u"Beta"), 0);
    EXPECT_LT(CompareNames(u"Я", u"яя"), 0);
}

TEST(CompareNames, PutsYoBesideYe) {
    std::vector<std::u16string> names = {u"Жулебино", u"Ёлки", u"Есенина", u"Дубки",
                                         u"Ель",      u"ёж",   u"Еж"};
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return CompareNames(a, b) < 0; });
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Дубки", u"Еж", u"ёж", u"Ёлки", u"Ель",
                                                  u"Есенина", u"Жулебино"}));
}

TEST(CompareNames, EqualOnlyForTheSameCodeUnits) {
    EXPECT_EQ(CompareNames(u"Сокол", u"Сокол"), 0);
    EXPECT_LT(CompareNames(u"Сокол", u"сокол"), 0);
    EXPECT_GT(CompareNames(u"сокол", u"Сокол"), 0);
    EXPECT_LT(CompareNames(u"Сокол", u"Соколиная"), 0);
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

TEST(CompareStationNames, ComparesTheStationsNames) {
    const Station a{.name = u"Арбатская"};
    const Station b{.name = u"арбатская"};
    EXPECT_LT(CompareStationNames(a, b), 0);
    EXPECT_EQ(CompareStationNames(a, a), 0);
}

TEST(CompareStationNames, SortingPutsStationsOfEqualNamesNextToEachOther) {
    // Stations of one name on several lines differ in everything but the name.
    const std::u16string names[] = {u"Киевская", u"Арбатская", u"киевская", u"Смоленская",
                                    u"Арбатская"};
    std::vector<std::unique_ptr<Station>> stations;
    for (int i = 0; i < 40; ++i) {
        stations.push_back(
            std::make_unique<Station>(Station{.name = names[i * 7 % 5],
                                              .index = i,
                                              .kind = i % 3 == 0 ? kShapePointKind : kStationKind,
                                              .x = i}));
    }
    const Station& one = *stations[1];
    const Station& other = *stations[6];
    ASSERT_EQ(one.name, other.name);
    EXPECT_EQ(CompareStationNames(one, other), 0);
    EXPECT_EQ(CompareStationNames(other, one), 0);

    std::vector<const Station*> sorted;
    for (const auto& station : stations) {
        sorted.push_back(station.get());
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const Station* a, const Station* b) { return CompareStationNames(*a, *b) < 0; });
    std::vector<std::u16string> runs;
    for (const Station* station : sorted) {
        if (runs.empty() || runs.back() != station->name) {
            runs.push_back(station->name);
        }
    }
    EXPECT_EQ(runs,
              (std::vector<std::u16string>{u"Арбатская", u"Киевская", u"киевская", u"Смоленская"}));
    std::vector<int> indices;
    for (const Station* station : sorted) {
        indices.push_back(station->index);
    }
    std::sort(indices.begin(), indices.end());
    for (int i = 0; i < 40; ++i) {
        ASSERT_EQ(indices[i], i);  // every station once
    }
}

}  // namespace
}  // namespace qv
