#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The patterns of an open-file filter ("*.qvn", "*.a;*.b", "*.*"), matched against file names
// without regard to case, as the device's file system does.
class FilePatterns {
  public:
    // The patterns of entry `index` (1-based; 0 or one past the end means the first) of a filter
    // text: label and pattern strings, each ended by a null character, a further null after the
    // last. Without a filter every file matches.
    static FilePatterns FromFilter(const char16_t* filter, std::size_t index);
    explicit FilePatterns(std::vector<std::u16string> patterns = {}, std::u16string label = {})
        : patterns_(std::move(patterns)), label_(std::move(label)) {}

    bool Match(std::u16string_view fileName) const;
    // The filter entry's label, "Quorvane (*.qvn)" say; empty without a filter.
    const std::u16string& Label() const { return label_; }

  private:
    std::vector<std::u16string> patterns_;
    std::u16string label_;
};

enum class CatalogueEntryKind { Folder, File };

// One row of the open-file page.
struct CatalogueEntry {
    CatalogueEntryKind kind = CatalogueEntryKind::File;
    std::filesystem::path path;
    std::u16string name;    // a folder's name; a file's title, else its file name
    std::u16string folder;  // the name of the folder that holds a file
};

// The name a file is listed by in place of its file name (a map's network name, say); nothing
// keeps the file name.
using FileTitle = std::function<std::optional<std::u16string>(const std::filesystem::path&)>;

// What a program adds to its open-file pages: places whose files the start folder lists as well
// (its own maps, say), and the titles its files are listed by.
struct OpenFileExtras {
    std::vector<std::filesystem::path> places;
    FileTitle title;
};

// What one folder of the page shows: its subfolders, then the matching files in it and below
// it (and those of the extra places, the program's own maps say), ordered by name.
struct CatalogueListing {
    std::vector<CatalogueEntry> entries;
    bool unreadable = false;  // the folder itself could not be read: only the extra places' files
    bool cut = false;         // the search below it stopped at its bounds
};

// How far a listing looks below its folder, so that a page over a large home folder still opens
// at once. Hidden folders and links to folders are never entered.
struct CatalogueBounds {
    int depth = 4;
    std::size_t names = 1000000;  // names read in all
    std::size_t entries = 10000;  // folders and matching files looked at in all
    std::size_t files = 2000;     // matching files listed
};

CatalogueListing ListFolder(const std::filesystem::path& folder, const FilePatterns& patterns,
                            const std::vector<std::filesystem::path>& extraPlaces,
                            const FileTitle& title, const CatalogueBounds& bounds = {});

// A name of this system as the page shows it: nothing when its bytes are not UTF-8, as such a
// path could not be handed back to the caller.
std::optional<std::u16string> DisplayName(const std::filesystem::path& name);

}  // namespace qv
