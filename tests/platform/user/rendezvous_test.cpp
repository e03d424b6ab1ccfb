#include "platform/rendezvous/rendezvous.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

#include "platform/host/headless_host.h"
#include "platform/rendezvous/rendezvous_request.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"
#include "scoped_environment.h"
#include "shell/main_window.h"
#include "shell/program_entry.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char16_t* kClass = u"QuorvaneWnd";
sockaddr_un AddressOf(const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    return address;
}

// A socket file nobody listens on yet, as a program that died leaves it.
UniqueFd Bind(const fs::path& path) {
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
    const sockaddr_un address = AddressOf(path);
    EXPECT_EQ(::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    return fd;
}

// A socket that takes calls into its backlog and never answers them.
UniqueFd Listen(const fs::path& path) {
    UniqueFd fd = Bind(path);
    EXPECT_EQ(::listen(fd.Get(), 8), 0);
    return fd;
}

// Everything until the other side ends, or what came within 15 s.
std::string ReceiveToEnd(int fd) {
    std::string bytes;
    char buffer[256];
    pollfd entry{fd, POLLIN, 0};
    ssize_t got = 0;
    while (::poll(&entry, 1, 15000) == 1 && (got = ::recv(fd, buffer, sizeof(buffer), 0)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

std::string EncodedWindow(std::uint64_t window) {
    return std::string(reinterpret_cast<const char*>(&window), sizeof(window));
}

// A fake program listening at a path: each call's request goes to `reply`, whose answer is
// sent back.
class Peer {
  public:
    using Reply = std::function<std::string(std::optional<RendezvousRequest>)>;
    Peer(const fs::path& path, Reply reply)
        : listener_(Listen(path)), thread_([this, reply] { Run(reply); }) {}
    ~Peer() {
        done_ = true;
        thread_.join();
    }

  private:
    void Run(const Reply& reply) {
        pollfd entry{listener_.Get(), POLLIN, 0};
        while (!done_) {
            if (::poll(&entry, 1, 20) == 1) {
                UniqueFd call(::accept(listener_.Get(), nullptr, nullptr));
                const std::string answer =
                    reply(RendezvousRequest::Decode(ReceiveToEnd(call.Get())));
                ::send(call.Get(), answer.data(), answer.size(), MSG_NOSIGNAL);
            }
        }
    }

    UniqueFd listener_;
    std::atomic<bool> done_ = false;
    std::thread thread_;
};

class RendezvousTest : public ::testing::Test {
  protected:
    RendezvousTest() {
        char pattern[] = "/tmp/qv-rendezvous-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        meeting_ = folder_ / "meet";
        ::mkdir(meeting_.c_str(), 0700);
    }
    ~RendezvousTest() override { fs::remove_all(folder_); }

    fs::path folder_;
    fs::path meeting_;
};

TEST_F(RendezvousTest, SocketsOfDeadProgramsAreRemovedAndOtherFilesLeft) {
    Bind(meeting_ / "999999.sock");
    std::ofstream(meeting_ / "notes.sock") << "not a socket";
    Bind(folder_ / "elsewhere.sock");
    fs::create_symlink(folder_ / "elsewhere.sock", meeting_ / "1.sock");
    // A program that dies without cleaning up.
    const pid_t crashed = ::fork();
    if (crashed == 0) {
        HeadlessHost host;
        WindowSystem system(host, {Rendezvous::Open(meeting_)});
        ::_exit(system.GetRendezvous() ? 0 : 1);  // no destructors run
    }
    int status = 0;
    ::waitpid(crashed, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const fs::path crashedSocket = meeting_ / (std::to_string(crashed) + ".sock");
    ASSERT_TRUE(fs::exists(crashedSocket));

    HeadlessHost host;
    WindowSystem system(host, {Rendezvous::Open(meeting_)});
    EXPECT_EQ(FindWindowW(kClass, nullptr), nullptr);
    EXPECT_EQ(std::tuple(fs::exists(meeting_ / "999999.sock"), fs::exists(crashedSocket),
                         fs::exists(meeting_ / "notes.sock"), fs::is_symlink(meeting_ / "1.sock"),
                         fs::is_socket(folder_ / "elsewhere.sock")),
              std::tuple(false, false, true, true, true));
}

// No peer holds a program past a deadline: not silent ones asked to find a window, nor a caller
// sending its request byte by byte.
TEST_F(RendezvousTest, SilentPeersAndSlowCallersAreCutOffAtTheirDeadlines) {
    std::vector<UniqueFd> silent;
    for (int i = 0; i < 10; ++i) {
        silent.push_back(Listen(meeting_ / ("1000" + std::to_string(i) + ".sock")));
    }
    auto rendezvous = Rendezvous::Open(meeting_);
    ASSERT_NE(rendezvous, nullptr);
    auto start = Clock::now();
    EXPECT_EQ(rendezvous->Find(kClass, std::nullopt, [] { return HWND{}; }), nullptr);
    EXPECT_LT(Clock::now() - start, 2s);

    // A full waiting list lets the oldest caller go; the newest then sends byte by byte.
    std::u16string asked;  // the title the last find answered was for
    const auto find = [&](auto, std::optional<std::u16string_view> title) {
        asked = title.value_or(u"-");
        return HWND{};
    };
    const sockaddr_un address = AddressOf(rendezvous->SocketPath());
    std::vector<UniqueFd> callers(9);
    for (UniqueFd& caller : callers) {
        caller = UniqueFd(::socket(AF_UNIX, SOCK_STREAM, 0));
        ASSERT_EQ(
            ::connect(caller.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)),
            0);
        rendezvous->Serve(find, [](HWND) { return false; });
    }
    char byte = 0;
    EXPECT_EQ(::recv(callers[0].Get(), &byte, 1, MSG_DONTWAIT), 0) << "the oldest is let go";
    const std::string titled = RendezvousRequest{.className = kClass, .title = u"Metro"}.Encode();
    ::send(callers[1].Get(), titled.data(), titled.size(), MSG_NOSIGNAL);
    ::shutdown(callers[1].Get(), SHUT_WR);
    const std::string raise =
        RendezvousRequest{.kind = RendezvousRequest::Kind::Raise, .window = 7}.Encode();
    ::send(callers[2].Get(), raise.data(), raise.size(), MSG_NOSIGNAL);
    ::shutdown(callers[2].Get(), SHUT_WR);
    const UniqueFd& slow = callers.back();
    start = Clock::now();
    while (Clock::now() - start < 3s && ::send(slow.Get(), "F", 1, MSG_NOSIGNAL) == 1) {
        const auto serving = Clock::now();
        rendezvous->Serve(find, [](HWND) { return false; });
        EXPECT_LT(Clock::now() - serving, 1s);
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_LT(Clock::now() - start, 2s) << "the slow caller was never cut off";
    EXPECT_EQ(asked, u"Metro") << "a whole request among them is answered for its title";
    EXPECT_EQ(ReceiveToEnd(callers[2].Get()), std::string(1, '\0')) << "not raised";
}

TEST_F(RendezvousTest, TheFolderIsTheUsersAloneOrNotUsed) {
    // A folder left open to others is closed first; the socket is the user's alone.
    ::chmod(meeting_.c_str(), 0707);
    auto rendezvous = Rendezvous::Open(meeting_);
    ASSERT_NE(rendezvous, nullptr);
    struct stat status {};
    ::stat(meeting_.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ::stat(rendezvous->SocketPath().c_str(), &status);
    EXPECT_EQ(status.st_mode & 077, 0u);
    const fs::path socket = rendezvous->SocketPath();
    rendezvous.reset();
    EXPECT_FALSE(fs::exists(socket));

    // A link or a file in its place is not used, nor a relative runtime folder.
    fs::create_directory_symlink(meeting_, folder_ / "link");
    std::ofstream(folder_ / "file") << "x";
    EXPECT_EQ(Rendezvous::Open(folder_ / "file"), nullptr);
    EXPECT_EQ(Rendezvous::Open(folder_ / "link"), nullptr);
    // Nor one whose socket's path would leave its address no room for the terminator.
    const std::string fits = folder_ / std::string(75 - std::to_string(::getpid()).size(), 'd');
    EXPECT_EQ(Rendezvous::Open(fits + "d"), nullptr);
    EXPECT_NE(Rendezvous::Open(fits), nullptr);
    testing::ScopedEnvironment environment;
    environment.Set("XDG_RUNTIME_DIR", "run/user");
    EXPECT_EQ(Rendezvous::DefaultFolder(), "/tmp/quorvane-" + std::to_string(::geteuid()));
}

// Of the peers, the first by name that answers with a window is found, every time; an answer of
// no window (0), or of the wrong length, is none. A window's number is its own peer's alone.
TEST_F(RendezvousTest, OfThePeersWithAWindowTheFirstByNameIsFoundEveryTime) {
    // Each answers a find as it is told, noting raises: the first raises its window 10 alone.
    std::string answers[2];
    std::vector<std::uint64_t> raised;
    const auto answering = [&](int i) {
        return [&, i](std::optional<RendezvousRequest> request) {
            if (request && request->kind == RendezvousRequest::Kind::Raise) {
                raised.push_back(request->window);
                return std::string(1, i == 0 && request->window == 10 ? '\1' : '\0');
            }
            return answers[i];
        };
    };
    Peer first(meeting_ / "1.sock", answering(0));
    Peer second(meeting_ / "2.sock", answering(1));
    auto rendezvous = Rendezvous::Open(meeting_);
    ASSERT_NE(rendezvous, nullptr);
    std::uintptr_t next = 0x1000;
    const std::u16string longest(RendezvousRequest::kMaxName, u'б');  // the longest name allowed
    const std::tuple<std::string, std::uint64_t, std::uint64_t, bool> cases[] = {
        {EncodedWindow(10), 20, 10, true},
        {EncodedWindow(0), 20, 20, false},
        {EncodedWindow(10).substr(1), 20, 20, false},
        {EncodedWindow(10) + "x", 20, 20, false},
        {EncodedWindow(0), 0, 0, false},
        {EncodedWindow(0), 10, 10, false}};
    for (const auto& [firstAnswer, secondWindow, found, raises] : cases) {
        answers[0] = firstAnswer;
        answers[1] = EncodedWindow(secondWindow);
        raised.clear();
        for (int round = 0; round < 3; ++round) {
            const HWND window = rendezvous->Find(
                round == 2 ? std::u16string_view(longest) : kClass,
                round == 1 ? std::optional<std::u16string_view>(longest) : std::nullopt,
                [&] { return reinterpret_cast<HWND>(next++); });
            EXPECT_EQ(window && rendezvous->Raise(window), raises);
        }
        EXPECT_EQ(raised, std::vector<std::uint64_t>(found ? 3 : 0, found)) << firstAnswer.size();
    }
    raised.clear();
    HeadlessHost host;
    WindowSystem system(host, {std::move(rendezvous)});
    EXPECT_EQ(HandToRunningInstance(u""), 0) << "a second copy started without a map";
    EXPECT_EQ(raised, std::vector<std::uint64_t>{10}) << "raises the running one's window";
    const COPYDATASTRUCT missing{1, 4, nullptr};  // four bytes said, none given: not sent
    EXPECT_FALSE(SendMessageTimeoutW(FindWindowW(kClass, nullptr), WM_COPYDATA, 0,
                                     reinterpret_cast<LPARAM>(&missing), 0, 100, nullptr));
}

TEST(RendezvousRequestTest, RequestsSurviveTheTripAndBrokenOnesAreRefused) {
    using Kind = RendezvousRequest::Kind;
    // The longest names and data pass whole.
    const RendezvousRequest find{.className = std::u16string(RendezvousRequest::kMaxName, u'a'),
                                 .title = std::u16string(RendezvousRequest::kMaxName, u'б')};
    const RendezvousRequest handing{
        .kind = Kind::CopyData, .window = 0x12345678, .tag = 0x51564D50, .data = {"a\0b", 3}};
    const RendezvousRequest largest{
        .kind = Kind::CopyData, .window = 1, .data = std::string(RendezvousRequest::kMaxData, 'a')};
    const RendezvousRequest raise{.kind = Kind::Raise, .window = 7};
    for (const RendezvousRequest& request : {find, handing, largest, raise}) {
        EXPECT_EQ(RendezvousRequest::Decode(request.Encode()), request);
    }

    // Cut short, one byte more, too much data, a name one unit too long.
    std::vector<std::string> broken = {"Q", find.Encode() + "x", handing.Encode() + "x",
                                       raise.Encode() + "x"};
    RendezvousRequest longData = largest, longClass = find, longTitle = find;
    longData.data += 'a';
    longClass.className += u'a';
    *longTitle.title += u'b';
    for (const RendezvousRequest& huge : {longData, longClass, longTitle}) {
        broken.push_back(huge.Encode());
    }
    std::string flagged = RendezvousRequest().Encode();
    flagged.back() = 2;  // neither with nor without a title
    broken.push_back(flagged);
    for (const std::string& bytes : {find.Encode(), handing.Encode(), raise.Encode()}) {
        for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
            broken.push_back(bytes.substr(0, cut));
        }
    }
    for (const std::string& bytes : broken) {
        EXPECT_FALSE(RendezvousRequest::Decode(bytes)) << bytes.size();
    }
}

// What the running copy answers a map path handed over by another: the path whole, in UTF-16
// without a terminator, or refused.
TEST(MapHandOver, ThePathIsTakenWholeOrRefused) {
    testing::ScopedEnvironment environment;
    environment.Set("XDG_CONFIG_HOME", "/nonexistent");
    HeadlessHost host;
    WindowSystem system(host);
    MainWindow window;
    const auto answer = [&](UINT_PTR tag, std::u16string_view path, DWORD bytes) {
        const COPYDATASTRUCT copied{tag, bytes, path.data()};
        LRESULT result = -1;
        window.HandleMessage(nullptr, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copied), result, 0);
        return result;
    };
    const auto whole = [&](std::u16string_view path) {
        return answer(kOpenMapDataTag, path, static_cast<DWORD>(path.size() * 2));
    };
    using namespace std::string_view_literals;
    EXPECT_EQ(whole(u"/home/ann/moscow.qvn\0"sv), 0) << "a terminator sent along";
    EXPECT_EQ(whole(u"/home/ann\0/etc/passwd"sv), 0) << "a path cut short inside";
    EXPECT_EQ(answer(kOpenMapDataTag, u"/a.qvn", 11), 0) << "half a unit";
    EXPECT_EQ(answer(kOpenMapDataTag + 1, u"/a.qvn", 12), 0) << "another tag";
    const std::u16string longest(kMapPathCapacity - 1, u'a');
    EXPECT_EQ(whole(longest), 1);
    EXPECT_EQ(whole(longest + u"a"), 0) << "no room for it";
}

}  // namespace
}  // namespace qv
