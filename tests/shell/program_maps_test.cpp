#include "shell/program_maps.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/pocket/scratch_folder.h"
#include "scoped_environment.h"

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
    scratch.Write("file", "");
    environment.Set("QUORVANE_MAPS_DIR", (scratch.Path() / "file").string());
    EXPECT_EQ(FindProgramMaps(), std::nullopt);
}

}  // namespace
}  // namespace qv
