#include "platform/pocket/shell_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(ShellFolders, DevicePathsOfTheDocumentsFolder) {
    const ShellFolders folders{"/home/u/Documents", std::nullopt};
    EXPECT_EQ(SystemFolder(u"\\My Documents", folders), fs::path("/home/u/Documents"));
    EXPECT_EQ(SystemFolder(u"\\My Documents\\", folders), fs::path("/home/u/Documents"));
    EXPECT_EQ(SystemFolder(u"\\My Documents\\Схемы\\2024", folders),
              fs::path("/home/u/Documents/Схемы/2024"));
    EXPECT_EQ(SystemFolder(u"/srv/maps/../maps2/", folders), fs::path("/srv/maps2"));
    EXPECT_EQ(SystemFolder(u"/", folders), fs::path("/"));
    for (const std::u16string_view outside :
         {u"\\My Documents2", u"\\Windows", u"My Documents", u"", u"\\My Documents\\..\\etc",
          u"\\My Documents\\a/../../etc", u"relative/path"}) {
        EXPECT_EQ(SystemFolder(outside, folders), std::nullopt);
    }
}

// The environment of one test, put back afterwards.
class Environment {
  public:
    void Set(const char* name, const std::string& value) {
        if (!saved_.contains(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(ShellFolders, TheDesktopNamesTheDocumentsAndTheMapsFolder) {
    testing::ScratchFolder scratch;
    Environment environment;
    environment.Set("HOME", scratch.Path().string());
    environment.Set("PATH", (scratch.Path() / "bin").string());
    environment.Set("QUORVANE_MAPS_DIR", scratch.Folder("maps").string());
    // The desktop's own answer stands in: the folder it names for DOCUMENTS, nothing else.
    const fs::path lookup = scratch.Write(
        "bin/xdg-user-dir", "#!/bin/sh\n[ \"$1\" = DOCUMENTS ] && echo \"$HOME/Документы\"\n");
    fs::permissions(lookup, fs::perms::owner_all);
    scratch.Folder("Документы");
    ShellFolders found = LookUpShellFolders();
    EXPECT_EQ(found.documents, scratch.Path() / "Документы");
    EXPECT_EQ(found.shippedMaps, scratch.Path() / "maps");

    // A documents folder that is not there is the home folder, as is no answer at all; a maps
    // folder named but missing is none.
    fs::remove(scratch.Path() / "Документы");
    environment.Set("QUORVANE_MAPS_DIR", (scratch.Path() / "gone").string());
    found = LookUpShellFolders();
    EXPECT_EQ(found.documents, scratch.Path());
    EXPECT_EQ(found.shippedMaps, std::nullopt);
    scratch.Folder("Документы");
    fs::remove(lookup);
    EXPECT_EQ(LookUpShellFolders().documents, scratch.Path());
}

}  // namespace
}  // namespace qv
