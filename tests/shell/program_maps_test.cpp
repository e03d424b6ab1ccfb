#include "shell/program_maps.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/pocket/scratch_folder.h"
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

TEST(HelpFile, BesideTheProgramElseUnderTheInstalledShareElseBeside) {
    testing::ScratchFolder scratch;
    const std::u16string bin = *Utf8ToUtf16(scratch.Folder("bin").string() + "/");
    const std::string page = Utf16ToUtf8(Text(TextId::HelpPage));
    EXPECT_EQ(HelpFilePath(bin), bin + u"help/" + *Utf8ToUtf16(page));
    scratch.Write("share/quorvane/help/" + page, "");
    EXPECT_EQ(HelpFilePath(bin), bin + u"../share/quorvane/help/" + *Utf8ToUtf16(page));
    scratch.Write("bin/help/" + page, "");
    EXPECT_EQ(HelpFilePath(bin), bin + u"help/" + *Utf8ToUtf16(page));
    // Joined with its own name, the program's folder names the program.
    EXPECT_TRUE(std::filesystem::exists(Utf16ToUtf8(ExecutableFolder()) + "shell_tests"));
}

}  // namespace
}  // namespace qv
