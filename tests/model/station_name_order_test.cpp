#include "model/station_name_order.h"

#include <gtest/gtest.h>

#include "text/utf.h"

namespace qv {
namespace {

TEST(CompareNames, IgnoresCaseThenPutsYeBeforeYoThenComparesCodeUnitsAsFoldedNamesShow) {
    // Each first name sorts before its second.
    const std::pair<std::u16string_view, std::u16string_view> ordered[] = {
        {u"аа", u"Аб"},
        {u"za", u"Zb"},
        {u"Я", u"яя"},
        {u"Ёлки", u"Ель"},              // Ё on Е's place, not after Я
        {u"Еж", u"Ёж"},                 // where nothing else differs, Е first
        {u"ае", u"Аё"},                 // even when an earlier letter differs only in case
        {u"Щёлковская", u"Щукинская"},  // small ё too: before у
        {u"Сокол", u"сокол"},           // names equal but for case: by code units
        {std::u16string_view(u"Соколя", 5), u"Соколиная"},  // a view ends where it says
    };
    for (const auto& [first, second] : ordered) {
        EXPECT_LT(CompareNames(first, second), 0) << Utf16ToUtf8(first);
        EXPECT_GT(CompareNames(second, first), 0) << Utf16ToUtf8(first);
    }
    EXPECT_EQ(CompareNames(u"Сокол", u"Сокол"), 0);
    EXPECT_EQ(FoldedName(u"ЁлкИ Abc-1"), u"елки abc-1");
    EXPECT_EQ(FoldedName(u"ЀЇЖакЏ"), u"ѐїжакџ");  // Ukrainian, Belarusian: first to last
}

}  // namespace
}  // namespace qv
