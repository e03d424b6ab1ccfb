#include "shell/program_maps.h"

#include <gtest/gtest.h>

#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/scratch_folder.h"
#include "platform/pocket/shell_folders.h"
#include "platform/user/core/window_system.h"
#include "resources/program_texts.h"
#include "scoped_environment.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "text/utf.h"

namespace qv {
namespace {

TEST(ProgramMaps, TheEnvironmentNamesTheMapsFolderAndAMissingOneIsNone) {
    testing::ScratchFolder scratch;
    testing::ScopedEnvironment environment;
    environment.Set("QUORVANE_MAPS_DIR", scratch.Folder("maps").string());
    EXPECT_EQ(FindProgramMaps(), scratch.Path() / "maps");
    // Named but not there: none, rather than the maps of some other place.
    environment.Set("QUORVANE_MAPS_DIR", (scratch.Path() / "gone").string());
    EXPECT_EQ(FindProgramMaps(), std::nullopt);
    environment.Set("QUORVANE_MAPS_DIR", scratch.Write("file", "").string());
    EXPECT_EQ(FindProgramMaps(), std::nullopt);
    environment.Unset("QUORVANE_MAPS_DIR");
    const auto unset = FindProgramMaps();
    environment.Set("QUORVANE_MAPS_DIR", "");  // empty is as if not set
    EXPECT_EQ(FindProgramMaps(), unset);
}

TEST(ShellServices, TheHelpFileIsFoundTheOpenPageTakesAPathThatJustFitsAndASearchShowsBusy) {
    testing::ScratchFolder scratch;
    const std::u16string bin = *Utf8ToUtf16(scratch.Folder("bin").string() + "/");
    const std::string page = Utf16ToUtf8(Text(TextId::HelpPage));
    EXPECT_EQ(HelpFilePath(bin), bin + u"help/" + *Utf8ToUtf16(page));
    scratch.Write("share/quorvane/help/" + page, "");
    EXPECT_EQ(HelpFilePath(bin), bin + u"../share/quorvane/help/" + *Utf8ToUtf16(page));
    scratch.Write("bin/help/" + page, "");
    EXPECT_EQ(HelpFilePath(bin), bin + u"help/" + *Utf8ToUtf16(page));
    // Joined with its own name, the program's folder names the program, from whatever folder.
    const std::string folder = Utf16ToUtf8(ExecutableFolder());
    EXPECT_TRUE(folder.starts_with('/') && std::filesystem::exists(folder + "shell_tests"));

    // A path that fills the buffer up to its null; the file's row comes before the program's maps.
    OverrideShellFolders(ShellFolders{scratch.Folder("docs")});
    const std::u16string path = *Utf8ToUtf16(scratch.Write("docs/0.qvn", "").string());
    HeadlessHost host;
    WindowSystem system(host);
    WindowRouteFeedback search;  // busy while a route is searched, and no longer once it is done
    search.BeginWait();
    EXPECT_TRUE(host.Busy());
    search.EndWait();
    EXPECT_FALSE(host.Busy());
    host.Key(VK_DOWN);
    host.Key(VK_RETURN);
    EXPECT_FALSE(ChooseFileToOpen(nullptr, {}));  // no room even for the null
    std::u16string buffer(path.size() + 1, u'x');
    EXPECT_TRUE(ChooseFileToOpen(nullptr, buffer));
    EXPECT_EQ(buffer, path + u'\0');
    OverrideShellFolders(std::nullopt);
}

}  // namespace
}  // namespace qv
