#include "platform/pocket/file_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "scratch_folder.h"
#include "text/utf.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(FilePatterns, TheChosenEntryOfTheFilterMatchesWithoutRegardToCase) {
    constexpr char16_t kFilter[] =
        u"Quorvane (*.qvn)\0*.qvn\0Все\0*.*\0Два\0*.a; *.b\0Схема\0сх?ма*.qvn\0Буквы\0azаяѐёџ\0";
    // An index past the end is the first entry; no filter is every file. The last entry holds
    // both ends of each folded range, and a letter just past one.
    const std::tuple<std::size_t, std::u16string_view, bool> matches[] = {
        {0, u"KYIV.QvN", true},    {0, u"kyiv.qvn.bak", false}, {1, u"notes.txt", false},
        {2, u"README", true},      {3, u"x.A", true},           {3, u"Ы.b", true},
        {4, u"СХЕМА-2.QVN", true}, {4, u"схма.qvn", false},     {5, u"AZАЯЀЁЏ", true},
        {5, u"azаяаёџ", false},    {9, u"notes.txt", false}};
    for (const auto& [index, name, matched] : matches) {
        EXPECT_EQ(FilePatterns::FromFilter(kFilter, index).Match(name), matched) << index;
    }
    EXPECT_TRUE(FilePatterns::FromFilter(nullptr, 0).Match(u"notes.txt"));
    EXPECT_EQ(FilePatterns::FromFilter(kFilter, 0).Label(), u"Quorvane (*.qvn)");
    EXPECT_EQ(FilePatterns::FromFilter(kFilter, 3).Label(), u"Два");
}

std::vector<std::u16string> Names(const CatalogueListing& listing, bool folders = false) {
    std::vector<std::u16string> names;
    for (const CatalogueEntry& entry : listing.entries) {
        names.push_back(folders ? entry.folder + u"/" + entry.name : entry.name);
    }
    return names;
}

TEST(FileCatalogue, SearchesBelowTheFolderWithinItsBounds) {
    testing::ScratchFolder scratch;
    const FilePatterns maps({u"*.qvn"});
    for (const char* name : {"a.qvn", "one/b.qvn", "one/two/c.qvn", "one/two/three/d.qvn"}) {
        scratch.Write(name, "");
    }
    // A link back up is not a folder to enter, and the same file is listed once.
    fs::create_directory_symlink(scratch.Path(), scratch.Path() / "one" / "loop");
    fs::create_symlink(scratch.Path() / "a.qvn", scratch.Path() / "one" / "same.qvn");

    const std::vector<std::u16string> whole{u"one", u"a.qvn", u"b.qvn", u"c.qvn", u"d.qvn"};
    CatalogueListing all = ListFolder(scratch.Path(), maps, {scratch.Path() / "one"}, {});
    EXPECT_EQ(Names(all), whole);
    EXPECT_FALSE(all.cut);
    // Each bound met exactly lists everything; one less leaves out d.qvn, the last one reached
    // (9 names read, 8 folders and maps looked at, 4 maps listed, 3 folders down).
    const std::pair<CatalogueBounds, bool> bounds[] = {
        {{.names = 9}, false},  {{.names = 8}, true},  {{.entries = 8}, false},
        {{.entries = 7}, true}, {{.files = 4}, false}, {{.files = 3}, true},
        {{.depth = 3}, false},  {{.depth = 2}, true}};
    for (const auto& [bound, cut] : bounds) {
        const CatalogueListing listing = ListFolder(scratch.Path(), maps, {}, {}, bound);
        EXPECT_EQ(Names(listing), std::vector(whole.begin(), whole.end() - (cut ? 1 : 0)))
            << bound.names << " " << bound.entries << " " << bound.files << " " << bound.depth;
        EXPECT_EQ(listing.cut, cut);
    }
    // Files of other types cost only their names: among hundreds of them the map still shows.
    for (int i = 0; i < 300; ++i) {
        scratch.Write("many/photo" + std::to_string(i) + ".jpg", "");
    }
    scratch.Write("many/e.qvn", "");
    CatalogueListing crowded = ListFolder(scratch.Path() / "many", maps, {}, {}, {.entries = 1});
    EXPECT_EQ(Names(crowded), (std::vector<std::u16string>{u"e.qvn"}));
    EXPECT_FALSE(crowded.cut);

    CatalogueListing missing = ListFolder(scratch.Path() / "none", maps, {scratch.Path()}, {});
    EXPECT_TRUE(missing.unreadable);
    EXPECT_EQ(Names(missing), (std::vector<std::u16string>{u"a.qvn"}));
}

TEST(FileCatalogue, FilesAreListedByTitleInOrderAndTheExtraPlacesJoinTheFolder) {
    testing::ScratchFolder scratch;
    const FilePatterns maps({u"*.qvn"});
    scratch.Write("docs/kyiv.qvn", "Киев");
    scratch.Write("docs/blank.qvn", "");
    scratch.Write("docs/sub/deep.qvn", "Глубокая");
    scratch.Write("shipped/example.qvn", "Пример");
    scratch.Write("shipped/notes.txt", "Заметки");
    scratch.Write("shipped/.example.qvn", "");  // hidden
    scratch.Write("more/Zz.qvn", "");
    // Names alike but for case, in folders alike but for case, in the reverse of their order.
    for (const char* name : {"q/dup/X.qvn", "p/Dup/x.qvn", "b/a/m.qvn", "a/B/m.qvn"}) {
        scratch.Write(name, "");
    }
    // The title stands in for the file's name; a file it has no title for keeps its name.
    const FileTitle contents = [](const fs::path& path) -> std::optional<std::u16string> {
        std::ifstream file(path);
        std::string text;
        std::getline(file, text);
        return text.empty() ? std::nullopt : Utf8ToUtf16(text);
    };
    struct Case {
        const char* what;
        std::vector<fs::path> places;
        FileTitle title;
        std::vector<std::u16string> listed;
    };
    const std::vector<Case> cases = {
        {"titles, no places",
         {},
         contents,
         {u"/sub", u"docs/blank.qvn", u"sub/Глубокая", u"docs/Киев"}},
        {"two places, their matching files shown",
         {scratch.Path() / "shipped", scratch.Path() / "more"},
         contents,
         {u"/sub", u"docs/blank.qvn", u"more/Zz.qvn", u"sub/Глубокая", u"docs/Киев",
          u"shipped/Пример"}},
        {"no title; a place that is the folder itself adds nothing twice",
         {scratch.Path() / "docs"},
         {},
         {u"/sub", u"docs/blank.qvn", u"sub/deep.qvn", u"docs/kyiv.qvn"}},
        {"names without regard to case, then folders likewise, then paths",
         {scratch.Path() / "q/dup", scratch.Path() / "p/Dup", scratch.Path() / "b/a",
          scratch.Path() / "a/B"},
         {},
         {u"/sub", u"docs/blank.qvn", u"sub/deep.qvn", u"docs/kyiv.qvn", u"a/m.qvn", u"B/m.qvn",
          u"Dup/x.qvn", u"dup/X.qvn"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Names(ListFolder(scratch.Path() / "docs", maps, c.places, c.title), true),
                  c.listed)
            << c.what;
    }
}

}  // namespace
}  // namespace qv
