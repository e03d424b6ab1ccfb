#include "platform/pocket/shell_folders.h"

#include <gtest/gtest.h>

#include "scoped_environment.h"
#include "scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(ShellFolders, DevicePathsOfTheDocumentsFolder) {
    const ShellFolders folders{"/home/u/Documents"};
    EXPECT_EQ(SystemFolder(u"\\My Documents", folders), fs::path("/home/u/Documents"));
    EXPECT_EQ(SystemFolder(u"\\My Documents\\", folders), fs::path("/home/u/Documents"));
    EXPECT_EQ(SystemFolder(u"\\My Documents\\Схемы\\.\\2024", folders),
              fs::path("/home/u/Documents/Схемы/2024"));
    EXPECT_EQ(SystemFolder(u"/srv/maps/../maps2/", folders), fs::path("/srv/maps2"));
    EXPECT_EQ(SystemFolder(u"/", folders), fs::path("/"));
    for (const std::u16string_view outside :
         {u"\\My Documents2", u"\\Windows", u"My Documents", u"", u"\\My Documents\\..\\etc",
          u"\\My Documents\\a/../../etc", u"relative/path"}) {
        EXPECT_EQ(SystemFolder(outside, folders), std::nullopt);
    }
}

TEST(ShellFolders, TheDesktopNamesTheDocumentsFolder) {
    testing::ScratchFolder scratch;
    testing::ScopedEnvironment environment;
    environment.Set("HOME", scratch.Path().string());
    environment.Set("PATH", (scratch.Path() / "bin").string() + "::");
    // The desktop's own answer stands in: the folder it names for DOCUMENTS, nothing else.
    const fs::path lookup = scratch.Write(
        "bin/xdg-user-dir", "#!/bin/sh\n[ \"$1\" = DOCUMENTS ] && echo \"$HOME/Документы\"\n");
    fs::permissions(lookup, fs::perms::owner_all);
    scratch.Folder("Документы");
    EXPECT_EQ(LookUpShellFolders().documents, scratch.Path() / "Документы");

    // A documents folder not there, or no answer (none from the current folder): the home folder.
    fs::remove(scratch.Path() / "Документы");
    EXPECT_EQ(LookUpShellFolders().documents, scratch.Path());
    scratch.Folder("Документы");
    fs::rename(lookup, scratch.Path() / "xdg-user-dir");
    const fs::path before = fs::current_path();
    fs::current_path(scratch.Path());
    EXPECT_EQ(LookUpShellFolders().documents, scratch.Path());
    fs::current_path(before);
}

}  // namespace
}  // namespace qv
