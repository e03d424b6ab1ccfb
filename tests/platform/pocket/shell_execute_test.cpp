#include "platform/pocket/shell_execute.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/pocket/child_process.h"
#include "platform/pocket/last_error.h"
#include "scratch_folder.h"
#include "text/utf.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// True when this process has no child left, running or to be reaped.
bool NoChildren() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

class ShellExecuteTest : public ::testing::Test {
  protected:
    ShellExecuteTest() {
        help = scratch.Write("Help/-quorvane $HOME 'x'.html", "<html></html>");
        record = scratch.Path() / "opened";
        // The stand-in writes its arguments one a line, then renames, so the file appears whole.
        opener = scratch.Write("bin/stand-in-opener",
                               "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + record.string() +
                                   ".tmp'\n/bin/mv '" + record.string() + ".tmp' '" +
                                   record.string() + "'\n");
        fs::permissions(opener, fs::perms::owner_all);
    }
    ~ShellExecuteTest() override { SetDocumentOpener("xdg-open"); }

    std::string WaitForRecord() const {
        for (int tries = 0; tries < 500 && !fs::exists(record); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ostringstream text;
        text << std::ifstream(record).rdbuf();
        return text.str();
    }
    static SHELLEXECUTEINFO Request(const std::u16string& file) {
        return {.lpFile = file.c_str(), .lpDirectory = u"\\Windows"};
    }

    testing::ScratchFolder scratch;
    fs::path help;
    fs::path record;
    fs::path opener;
};

TEST_F(ShellExecuteTest, TheOpenerGetsTheWholePathAsItsOneArgumentOrAFailureIsReported) {
    SetDocumentOpener(opener.string());
    const std::u16string file = *Utf8ToUtf16(help.string());
    SHELLEXECUTEINFO info = Request(file);
    info.lpVerb = u"open";
    SetLastError(ERROR_ACCESS_DENIED);
    ASSERT_TRUE(ShellExecuteEx(&info));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_GT(info.hInstApp, 32);
    EXPECT_EQ(WaitForRecord(), "1\n" + help.string() + "\n");

    // Failures are reported as failures, and start nothing.
    fs::remove(record);
    const std::u16string missing = *Utf8ToUtf16((scratch.Path() / "Help/none.html").string());
    info = Request(missing);
    info.lpVerb = u"";  // an empty verb is "open"
    EXPECT_FALSE(ShellExecuteEx(&info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(info.hInstApp, SE_ERR_FNF);

    // No opener, or one that is there but cannot be started: its exec fails in the child.
    const fs::path broken = scratch.Write("bin/broken-opener", "not a program\n");
    fs::permissions(broken, fs::perms::owner_all);
    for (const fs::path& none : {fs::path("quorvane-no-such-opener"), broken}) {
        SetDocumentOpener(none.string());
        info = Request(file);
        EXPECT_FALSE(ShellExecuteEx(&info));
        EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
        EXPECT_EQ(info.hInstApp, SE_ERR_NOASSOC);
    }

    SetDocumentOpener(opener.string());
    // Only "open", no arguments of the caller's, and a record of the right size.
    for (SHELLEXECUTEINFO bad : {SHELLEXECUTEINFO{.lpVerb = u"print", .lpFile = file.c_str()},
                                 {.lpFile = file.c_str(), .lpParameters = u"print"},
                                 {.cbSize = 4, .lpFile = file.c_str()}}) {
        EXPECT_FALSE(ShellExecuteEx(&bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_FALSE(ShellExecuteEx(nullptr));
    EXPECT_TRUE(NoChildren());
    EXPECT_FALSE(fs::exists(record));
}

TEST(ChildProcess, OutputOfAProgramThatEndsInTime) {
    EXPECT_EQ(RunForOutput("/bin/echo", {"a b", "c"}, 6, std::chrono::seconds(10)), "a b c\n");
    // Too much output, or too long a wait, gives nothing, and the program is not left behind.
    EXPECT_EQ(RunForOutput("/bin/echo", {std::string(200, 'x')}, 100, std::chrono::seconds(10)),
              std::nullopt);
    EXPECT_EQ(RunForOutput("/bin/sleep", {"30"}, 100, std::chrono::milliseconds(50)), std::nullopt);
    EXPECT_EQ(RunForOutput("/bin/sh", {"-c", "echo x; exit 1"}, 100, std::chrono::seconds(10)),
              std::nullopt);
    EXPECT_TRUE(NoChildren());
    EXPECT_EQ(FindProgram("sh").value_or("").filename(), "sh");
    EXPECT_EQ(FindProgram("quorvane-no-such-program"), std::nullopt);
    EXPECT_EQ(FindProgram("/etc"), std::nullopt);
}

}  // namespace
}  // namespace qv
