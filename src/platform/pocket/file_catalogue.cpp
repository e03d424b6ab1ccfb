#include "platform/pocket/file_catalogue.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "text/utf.h"

namespace qv {

namespace {

namespace fs = std::filesystem;

// Latin and Cyrillic capitals as small letters, enough for names to match and sort as people
// expect.
char16_t Folded(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0x0410 && c <= 0x042F)) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x0400 && c <= 0x040F) {
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}

std::u16string FoldedText(std::u16string_view text) {
    std::u16string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), Folded);
    return folded;
}

// '*' is any run of characters, '?' any one; both sides are folded already.
bool GlobMatch(std::u16string_view pattern, std::u16string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::u16string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

bool IsHidden(const fs::path& name) {
    const std::string text = name.filename().string();
    return !text.empty() && text.front() == '.';
}

class FolderWalk {
  public:
    FolderWalk(const FilePatterns& patterns, const FileTitle& title, const CatalogueBounds& bounds)
        : patterns_(patterns), title_(title), bounds_(bounds) {}

    // Lists the folder's own entries; false when it cannot be read.
    bool ListTop(const fs::path& folder, CatalogueListing& listing);
    void AddFilesOf(const fs::path& folder, CatalogueListing& listing);

  private:
    void Search(const fs::path& folder, int depth, CatalogueListing& listing);
    // Looks at one entry; returns the folder to search below, if it is one.
    bool Take(const fs::directory_entry& entry, CatalogueListing& listing, bool withFolders);
    void AddFile(const fs::path& path, CatalogueListing& listing);

    const FilePatterns& patterns_;
    const FileTitle& title_;
    const CatalogueBounds& bounds_;
    std::size_t names_ = 0;
    std::size_t looked_ = 0;
    std::size_t files_ = 0;
    std::set<fs::path> seen_;
};

bool FolderWalk::ListTop(const fs::path& folder, CatalogueListing& listing) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) {
        return false;
    }
    std::vector<fs::path> below;
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        if (Take(*entries, listing, true)) {
            below.push_back(entries->path());
        }
    }
    if (error) {
        listing.cut = true;
    }
    for (const fs::path& subfolder : below) {
        Search(subfolder, 1, listing);
    }
    return true;
}

void FolderWalk::Search(const fs::path& folder, int depth, CatalogueListing& listing) {
    if (depth > bounds_.depth) {
        listing.cut = true;
        return;
    }
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    std::vector<fs::path> below;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        if (Take(*entries, listing, false)) {
            below.push_back(entries->path());
        }
    }
    for (const fs::path& subfolder : below) {
        Search(subfolder, depth + 1, listing);
    }
}

bool FolderWalk::Take(const fs::directory_entry& entry, CatalogueListing& listing,
                      bool withFolders) {
    if (++names_ > bounds_.names) {
        listing.cut = true;
        return false;
    }
    const fs::path& path = entry.path();
    if (IsHidden(path)) {
        return false;
    }
    // A file whose name no pattern matches costs only its name, so that thousands of other files
    // do not use up the bounds before the maps among them are seen.
    std::error_code error;
    const bool folder = entry.is_directory(error) && !entry.is_symlink(error);
    const std::optional<std::u16string> name = DisplayName(path.filename());
    if (!name || (!folder && !patterns_.Match(*name))) {
        return false;
    }
    if (++looked_ > bounds_.entries) {
        listing.cut = true;
        return false;
    }
    if (folder) {
        if (withFolders) {
            listing.entries.push_back({CatalogueEntryKind::Folder, path, *name, {}});
        }
        return true;
    }
    if (entry.is_regular_file(error)) {
        AddFile(path, listing);
    }
    return false;
}

void FolderWalk::AddFile(const fs::path& path, CatalogueListing& listing) {
    const std::optional<std::u16string> fileName = DisplayName(path.filename());
    const std::optional<std::u16string> folderName = DisplayName(path.parent_path().filename());
    if (!fileName || !folderName || !patterns_.Match(*fileName) ||
        !DisplayName(path.parent_path())) {
        return;
    }
    std::error_code error;
    fs::path identity = fs::weakly_canonical(path, error);
    if (error || !seen_.insert(std::move(identity)).second) {
        return;
    }
    if (++files_ > bounds_.files) {
        listing.cut = true;
        return;
    }
    std::optional<std::u16string> title = title_ ? title_(path) : std::nullopt;
    listing.entries.push_back(
        {CatalogueEntryKind::File, path, title ? std::move(*title) : *fileName, *folderName});
}

void FolderWalk::AddFilesOf(const fs::path& folder, CatalogueListing& listing) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        if (entries->is_regular_file(error) && !IsHidden(entries->path())) {
            AddFile(entries->path(), listing);
        }
    }
}

bool ComesBefore(const CatalogueEntry& a, const CatalogueEntry& b) {
    if (a.kind != b.kind) {
        return a.kind == CatalogueEntryKind::Folder;
    }
    return std::forward_as_tuple(FoldedText(a.name), FoldedText(a.folder), a.path) <
           std::forward_as_tuple(FoldedText(b.name), FoldedText(b.folder), b.path);
}

}  // namespace

FilePatterns FilePatterns::FromFilter(const char16_t* filter, std::size_t index) {
    if (!filter || *filter == u'\0') {
        return FilePatterns();
    }
    std::vector<std::u16string_view> strings;
    for (const char16_t* at = filter; *at != u'\0';) {
        const std::u16string_view text(at);
        strings.push_back(text);
        at += text.size() + 1;
    }
    const std::size_t entries = strings.size() / 2;
    if (entries == 0) {
        return FilePatterns();
    }
    const std::size_t chosen = index >= 1 && index <= entries ? index - 1 : 0;
    std::vector<std::u16string> patterns;
    std::u16string_view list = strings[chosen * 2 + 1];
    while (!list.empty()) {
        const std::size_t end = list.find(u';');
        std::u16string_view pattern = list.substr(0, end);
        while (!pattern.empty() && pattern.front() == u' ') {
            pattern.remove_prefix(1);
        }
        if (!pattern.empty()) {
            patterns.push_back(FoldedText(pattern));
        }
        list = end == std::u16string_view::npos ? std::u16string_view{} : list.substr(end + 1);
    }
    return FilePatterns(std::move(patterns), std::u16string(strings[chosen * 2]));
}

bool FilePatterns::Match(std::u16string_view fileName) const {
    if (patterns_.empty()) {
        return true;
    }
    const std::u16string name = FoldedText(fileName);
    return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::u16string& pattern) {
        // "*.*" is every file, with or without a dot, as the device has it.
        return pattern == u"*.*" || GlobMatch(pattern, name);
    });
}

CatalogueListing ListFolder(const fs::path& folder, const FilePatterns& patterns,
                            const std::vector<fs::path>& extraPlaces, const FileTitle& title,
                            const CatalogueBounds& bounds) {
    CatalogueListing listing;
    FolderWalk walk(patterns, title, bounds);
    if (!walk.ListTop(folder, listing)) {
        listing.unreadable = true;
    }
    for (const fs::path& place : extraPlaces) {
        walk.AddFilesOf(place, listing);
    }
    std::sort(listing.entries.begin(), listing.entries.end(), ComesBefore);
    return listing;
}

std::optional<std::u16string> DisplayName(const fs::path& name) {
    return Utf8ToUtf16(name.string());
}

}  // namespace qv
