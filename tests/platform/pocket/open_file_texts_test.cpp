#include "platform/pocket/open_file_page.h"
#include "platform/user/records/window_messages.h"
#include "scratch_folder.h"
#include "shell_test.h"

namespace qv {
namespace {

using OpenFileTexts = testing::ShellTest;

TEST_F(OpenFileTexts, TheNoteSaysWhenAFolderHasNoMapFilesOrNotAllAreShown) {
    testing::ScratchFolder scratch;
    scratch.Write("empty/notes.txt", "");  // not a map file
    scratch.Write("deep/a.qvn", "");
    scratch.Folder("deep/1/2/3/4/5");  // four folders down are looked at, not a fifth
    const std::pair<const char*, std::u16string_view> cases[] = {
        {"empty", SystemText(SystemTextId::NoMapFiles)},
        {"deep", SystemText(SystemTextId::FilesCut)},
        {"deep/1", u""}};
    OpenFilePageSetup setup;
    setup.patterns = FilePatterns({u"*.qvn"});
    for (const auto& [folder, note] : cases) {
        setup.startFolder = scratch.Path() / folder;
        const HWND page = CreateOpenFilePage(main, setup);
        EXPECT_EQ(GetWindowText(GetDlgItem(page, kOpenFileNote)), note) << folder;
        EXPECT_EQ(IsWindowVisible(GetDlgItem(page, kOpenFileNote)) != 0, !note.empty()) << folder;
        DestroyWindow(page);
    }
}

}  // namespace
}  // namespace qv
