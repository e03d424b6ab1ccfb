#include "platform/pocket/open_file_page.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "list_view_text.h"
#include "model/map_title.h"
#include "platform/controls/list_view_messages.h"
#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/common_dialog.h"
#include "platform/pocket/shell_folders.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_styles.h"
#include "scratch_folder.h"
#include "text/utf.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

std::string ShippedMap(const char* name) {
    std::ifstream file(fs::path(QV_MAPS_DIR) / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// A row of the list: the name shown and the folder it is in.
using Row = std::pair<std::u16string, std::u16string>;

// Each step runs on a timer of a window below the page, looks at the page and queues taps.
class OpenFilePageTest : public ::testing::Test {
  protected:
    using Step = std::function<void(HWND page)>;

    OpenFilePageTest() {
        current_ = this;
        documents = scratch.Folder("docs");
        scratch.Write("docs/kyiv.qvn", ShippedMap("kyiv.qvn"));
        scratch.Write("docs/fake.qvn", "no map at all");
        scratch.Write("docs/trips/minsk.qvn", ShippedMap("minsk.qvn"));
        scratch.Write("docs/trips/deep/broken.qvn", "[NAME]\r\n");
        scratch.Write("docs/.hidden/moscow.qvn", ShippedMap("moscow.qvn"));
        shipped = scratch.Folder("shipped");
        scratch.Write("shipped/example.qvn", ShippedMap("example.qvn"));
        OverrideShellFolders(ShellFolders{documents});

        const WNDCLASSW attributes{.lpfnWndProc = DriverProcedure, .lpszClassName = u"Driver"};
        RegisterClassW(&attributes);
        driver = CreateWindowExW(0, u"Driver", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, 0, nullptr,
                                 nullptr);
        SetTimer(driver, 1, 50, nullptr);
    }
    ~OpenFilePageTest() override {
        OverrideShellFolders(std::nullopt);
        current_ = nullptr;
    }

    BOOL Open(OPENFILENAMEW& request, std::vector<Step> script) {
        steps = std::move(script);
        stepsRun = 0;
        host.AllowTime(std::chrono::seconds(60));
        // The program hands the page its own maps and lists maps by their networks' names.
        return GetOpenFileNameW(&request, OpenFileExtras{{shipped}, ReadMapTitle});
    }
    OPENFILENAMEW Request(std::u16string& buffer) {
        return {.hwndOwner = driver,
                .lpstrFilter = u"Quorvane (*.qvn)\0*.qvn\0",
                .lpstrFile = buffer.data(),
                .nMaxFile = static_cast<DWORD>(buffer.size()),
                .lpstrInitialDir = u"\\My Documents"};
    }

    static std::vector<Row> Rows(HWND page) {
        const HWND list = GetDlgItem(page, kOpenFileList);
        std::vector<Row> rows;
        for (int index = 0; index < SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++index) {
            rows.push_back({testing::ItemText(list, index, 0), testing::ItemText(list, index, 1)});
        }
        return rows;
    }
    // The row's rectangle on the screen.
    static RECT RowRect(HWND page, int index) {
        const HWND list = GetDlgItem(page, kOpenFileList);
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), PointerParam(&row));
        POINT corner{0, 0};
        ClientToScreen(list, &corner);
        return {row.left + corner.x, row.top + corner.y, row.right + corner.x,
                row.bottom + corner.y};
    }
    // Whether the row shows the folder picture's yellow, which a map sheet has none of.
    bool ShowsFolder(HWND page, int index) {
        const RECT row = RowRect(page, index);
        int yellow = 0;
        for (int at = 0; at < 40 * (row.bottom - row.top); ++at) {
            yellow += host.LastFrame()->GetPixel(row.left + at % 40, row.top + at / 40) ==
                      RGB(255, 208, 64);
        }
        return yellow > 0;
    }
    static std::u16string Text(HWND page, int id) { return GetWindowText(GetDlgItem(page, id)); }
    void TapRow(HWND page, std::u16string_view name) {
        const std::vector<Row> rows = Rows(page);
        const auto found = std::ranges::find(rows, name, &Row::first);
        ASSERT_NE(found, rows.end()) << Utf16ToUtf8(name);
        const RECT row = RowRect(page, static_cast<int>(found - rows.begin()));
        host.Tap((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    }
    static RECT ControlRect(HWND page, int id) {
        RECT rect{};
        GetWindowRect(GetDlgItem(page, id), &rect);
        return rect;
    }
    void TapControl(HWND page, int id) {
        const RECT rect = ControlRect(page, id);
        host.Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    testing::ScratchFolder scratch;
    fs::path documents;
    fs::path shipped;
    HeadlessHost host;
    WindowSystem system{host};
    HWND driver = nullptr;
    std::vector<Step> steps;
    std::size_t stepsRun = 0;

  private:
    static LRESULT DriverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        const HWND page = FindWindowW(kDialogClassName.data(), u"Открыть");
        if (message == WM_TIMER && current_ && page &&
            current_->stepsRun < current_->steps.size()) {
            current_->steps[current_->stepsRun++](page);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static OpenFilePageTest* current_;
};

OpenFilePageTest* OpenFilePageTest::current_ = nullptr;

TEST_F(OpenFilePageTest, ListsTheTreeEntersAndLeavesFoldersAndChoosesByTapOrOk) {
    const std::vector<Row> start = {
        {u"trips", u""},    {u"broken.qvn", u"deep"}, {u"fake.qvn", u"docs"},
        {u"Киев", u"docs"}, {u"Минск", u"trips"},     {u"Пример", u"shipped"},
    };
    const auto select = [](HWND page, int row) {
        LVITEMW state;
        state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(GetDlgItem(page, kOpenFileList), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     PointerParam(&state));
    };
    std::u16string buffer(260, u'\0');
    std::u16string title(6, u'*');
    OPENFILENAMEW request = Request(buffer);
    request.lpstrFileTitle = title.data();  // with no room given, left alone
    const BOOL chosen =
        Open(request, {
                          [&](HWND page) {
                              EXPECT_EQ(Rows(page), start);
                              EXPECT_EQ(Text(page, kOpenFileFolderText), u"docs");
                              EXPECT_TRUE(ShowsFolder(page, 0));
                              EXPECT_FALSE(ShowsFolder(page, 1));
                              EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, kOpenFileUp)));
                              EXPECT_EQ(Text(page, kOpenFileType), u"Тип: Quorvane (*.qvn)");
                              TapRow(page, u"trips");
                          },
                          [&](HWND page) {
                              EXPECT_EQ(Rows(page), (std::vector<Row>{{u"deep", u""},
                                                                      {u"broken.qvn", u"deep"},
                                                                      {u"Минск", u"trips"}}));
                              EXPECT_EQ(Text(page, kOpenFileFolderText), u"docs/trips");
                              // The folder's name stops short of the Up button beside it.
                              EXPECT_LT(ControlRect(page, kOpenFileFolderText).right,
                                        ControlRect(page, kOpenFileUp).left);
                              TapControl(page, kOpenFileUp);
                          },
                          [&](HWND page) {
                              EXPECT_EQ(Rows(page), start);
                              EXPECT_EQ(GetFocus(), GetDlgItem(page, kOpenFileList));
                              // "ok" acts on the selected row: a folder is entered, a file chosen.
                              select(page, 0);
                              SendMessageW(page, WM_COMMAND, IDOK, 0);
                              EXPECT_EQ(Text(page, kOpenFileFolderText), u"docs/trips");
                              select(page, 2);
                              host.Key(VK_RETURN);
                          },
                      });
    ASSERT_TRUE(chosen);
    EXPECT_EQ(CommDlgExtendedError(), 0U);
    const std::u16string expected = *Utf8ToUtf16((documents / "trips" / "minsk.qvn").string());
    EXPECT_EQ(std::u16string(buffer.c_str()), expected);
    EXPECT_EQ(request.nFileOffset, expected.size() - 9);
    EXPECT_EQ(request.nFileExtension, expected.size() - 3);

    // Room for the path and its null is enough; one less fails and leaves no path behind.
    const std::u16string kyiv = *Utf8ToUtf16((documents / "kyiv.qvn").string());
    request.nMaxFile = static_cast<DWORD>(kyiv.size() + 1);
    request.nMaxFileTitle = 5;
    EXPECT_TRUE(Open(request, {[&](HWND page) { TapRow(page, u"Киев"); }}));
    EXPECT_EQ(std::u16string(buffer.c_str()), kyiv);
    EXPECT_EQ(title, std::u16string(u"kyiv\0*", 6)) << "the title cut to its room";
    request.nMaxFile = static_cast<DWORD>(kyiv.size());
    EXPECT_FALSE(Open(request, {[&](HWND page) { TapRow(page, u"Киев"); }}));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(buffer[0], u'\0');
    EXPECT_FALSE(Open(request, {[&](HWND page) { TapControl(page, IDCANCEL); }}));
    EXPECT_EQ(CommDlgExtendedError(), 0U);
}

TEST_F(OpenFilePageTest, RefusesRequestsItCannotServe) {
    std::u16string buffer(260, u'\0');
    const std::pair<std::function<void(OPENFILENAMEW&)>, DWORD> refused[] = {
        {[](OPENFILENAMEW& r) { r.lStructSize = 12; }, CDERR_STRUCTSIZE},
        {[](OPENFILENAMEW& r) { r.nMaxFile = 0; }, CDERR_INITIALIZATION},
        {[](OPENFILENAMEW& r) { r.Flags = OFN_ALLOWMULTISELECT; }, CDERR_INITIALIZATION},
        {[](OPENFILENAMEW& r) { r.lpstrInitialDir = u"\\Windows"; }, FNERR_INVALIDFILENAME},
    };
    OPENFILENAMEW request;
    for (const auto& [change, error] : refused) {
        request = Request(buffer);
        change(request);
        EXPECT_FALSE(Open(request, {}));
        EXPECT_EQ(CommDlgExtendedError(), error);
    }
}

TEST_F(OpenFilePageTest, TheNoteAboveTheListSaysWhenAFolderIsUnreadableHasNoMapsOrIsCut) {
    scratch.Write("empty/notes.txt", "");  // not a map file
    scratch.Write("deep/a.qvn", "");
    scratch.Folder("deep/1/2/3/4/5");  // four folders down are looked at, not a fifth
    const std::pair<const char*, std::u16string_view> cases[] = {
        {"empty", SystemText(SystemTextId::NoMapFiles)},
        {"deep", SystemText(SystemTextId::FilesCut)},
        {"missing", SystemText(SystemTextId::FolderUnreadable)},
        {"deep/1", u""}};
    OpenFilePageSetup setup;
    setup.patterns = FilePatterns({u"*.qvn"});
    for (const auto& [folder, note] : cases) {
        setup.startFolder = scratch.Path() / folder;
        const HWND page = CreateOpenFilePage(driver, setup);
        const HWND shown = GetDlgItem(page, kOpenFileNote);
        EXPECT_EQ(GetWindowText(shown), note) << folder;
        EXPECT_EQ(IsWindowVisible(shown) != 0, !note.empty()) << folder;
        const RECT text = ControlRect(page, kOpenFileNote);
        const RECT list = ControlRect(page, kOpenFileList);
        if (!note.empty()) {
            EXPECT_GT(text.bottom - text.top, 10) << folder;
            EXPECT_GE(list.top, text.bottom) << folder;
        }
        DestroyWindow(page);
    }
}

}  // namespace
}  // namespace qv
