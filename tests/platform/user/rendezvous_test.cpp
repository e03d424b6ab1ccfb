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
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/host/headless_host.h"
#include "platform/rendezvous/rendezvous_request.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "scoped_environment.h"
#include "shell/main_window.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char16_t* kClass = u"QuorvaneWnd";
constexpr const char16_t* kTitle = u"Схема метро";

constexpr UINT_PTR kDataTag = 0x7A7A;
constexpr UINT_PTR kQuitTag = 0x5151;

// What a window answers for handed bytes: it proves that every byte and the tag arrived.
LRESULT Digest(UINT_PTR tag, std::string_view bytes) {
    std::uint64_t hash = 1469598103934665603u ^ tag;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    return static_cast<LRESULT>(hash >> 1);
}

int handedOver = 0;

LRESULT TakingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const auto& copied = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    ++handedOver;
    if (copied.dwData == kQuitTag) {
        PostQuitMessage(0);
    }
    return Digest(copied.dwData,
                  std::string_view(static_cast<const char*>(copied.lpData), copied.cbData));
}

std::string Bytes(std::size_t count) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    }
    return bytes;
}

LRESULT HandOver(HWND window, UINT_PTR tag, std::string_view bytes, LRESULT& answer) {
    const COPYDATASTRUCT copied{tag, static_cast<DWORD>(bytes.size()), bytes.data()};
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copied),
                               SMTO_ABORTIFHUNG, 400, &answer);
}

// A host on the real clock for the second program: it waits as long as it is allowed to.
class RealTimeHost final : public Host {
  public:
    explicit RealTimeHost(milliseconds limit)
        : start_(std::chrono::steady_clock::now()), limit_(limit) {}

    bool Raised() const { return raised_; }

    int DeviceScale() const override { return 1; }
    void Present(const Bitmap&) override {}
    std::optional<InputEvent> NextInput() override { return std::nullopt; }
    HostTime Now() const override {
        return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start_);
    }
    WaitResult Wait(std::optional<HostTime> deadline) override {
        if (Now() >= limit_) {
            return WaitResult::Idle;
        }
        const HostTime until = deadline ? std::min(*deadline, limit_) : limit_;
        std::this_thread::sleep_for(std::max(until - Now(), HostTime(0)));
        return WaitResult::Deadline;
    }
    void SetTitle(std::u16string_view) override {}
    void Raise() override { raised_ = true; }
    void SetBusy(bool) override {}

  private:
    std::chrono::steady_clock::time_point start_;
    HostTime limit_;
    bool raised_ = false;
};

class RendezvousTest : public ::testing::Test {
  protected:
    RendezvousTest() {
        char pattern[] = "/tmp/qv-rendezvous-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        meeting_ = folder_ / "meet";
    }
    ~RendezvousTest() override { fs::remove_all(folder_); }

    static ATOM RegisterMainClass() {
        WNDCLASSW attributes;
        attributes.lpfnWndProc = TakingProcedure;
        attributes.lpszClassName = kClass;
        return RegisterClassW(&attributes);
    }

    // A second program: shows its main window and another above it, says it is ready, and ends
    // with 0 once another program has raised the main window and handed it three lots of bytes,
    // the last of which asks it to quit.
    pid_t StartSecondProgram(int& ready) {
        int channel[2];
        EXPECT_EQ(::pipe(channel), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(channel[0]);
            RealTimeHost host(milliseconds(10000));
            WindowSystem system(host, {Rendezvous::Open(meeting_)});
            RegisterMainClass();
            const HWND main = CreateWindowExW(0, kClass, kTitle, WS_VISIBLE, 0, 0, 240, 320,
                                              nullptr, 0, nullptr, nullptr);
            const HWND other = CreateWindowExW(0, kClass, u"Другое", WS_VISIBLE, 0, 0, 10, 10,
                                               nullptr, 0, nullptr, nullptr);
            const bool made = main && other && GetActiveWindow() == other;
            (void)!::write(channel[1], "r", 1);
            const bool quit = system.Pump() == WindowSystem::PumpResult::Quit;
            // The largest bytes, the empty ones and the last; the oversized never came.
            const bool handed = quit && handedOver == 3;
            ::_exit(made && handed && host.Raised() && GetActiveWindow() == main ? 0 : 1);
        }
        ::close(channel[1]);
        ready = channel[0];
        return pid;
    }

    static bool WaitReady(int fd) {
        pollfd entry{fd, POLLIN, 0};
        char byte = 0;
        const bool ready = ::poll(&entry, 1, 10000) == 1 && ::read(fd, &byte, 1) == 1;
        ::close(fd);
        return ready;
    }

    static int ExitCode(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static sockaddr_un AddressOf(const fs::path& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.c_str());
        return address;
    }

    static UniqueFd Bind(const fs::path& path) {
        UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
        const sockaddr_un address = AddressOf(path);
        EXPECT_EQ(::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)),
                  0);
        return fd;
    }

    // A socket file nobody listens on, as a program that died leaves it.
    static void LeaveDeadSocket(const fs::path& path) { Bind(path); }

    // A socket that takes calls into its backlog and never answers them.
    static UniqueFd Listen(const fs::path& path) {
        UniqueFd fd = Bind(path);
        EXPECT_EQ(::listen(fd.Get(), 8), 0);
        return fd;
    }

    static UniqueFd Call(const fs::path& path) {
        UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
        const sockaddr_un address = AddressOf(path);
        EXPECT_EQ(::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)),
                  0);
        return fd;
    }

    // Everything until the other side ends, or what came within 15 s.
    static std::string ReceiveToEnd(int fd) {
        std::string bytes;
        char buffer[256];
        pollfd entry{fd, POLLIN, 0};
        ssize_t got = 0;
        while (::poll(&entry, 1, 15000) == 1 && (got = ::recv(fd, buffer, sizeof(buffer), 0)) > 0) {
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return bytes;
    }

    static std::string EncodedFind() {
        RendezvousRequest request;
        request.className = kClass;
        return request.Encode();
    }

    static std::string EncodedWindow(std::uint64_t window) {
        return std::string(reinterpret_cast<const char*>(&window), sizeof(window));
    }

    static double SecondsSince(Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    fs::path folder_;
    fs::path meeting_;
};

TEST_F(RendezvousTest, TwoProgramsFindEachOtherAndTheSecondRaisesTheFirstAndHandsItBytes) {
    int ready = -1;
    const pid_t first = StartSecondProgram(ready);
    ASSERT_TRUE(WaitReady(ready));

    HeadlessHost host;
    WindowSystem system(host, {Rendezvous::Open(meeting_)});
    // On a busy machine the other program may still be drawing its first picture when asked.
    HWND found = nullptr;
    for (int tries = 0; !found && tries < 10; ++tries) {
        found = FindWindowW(kClass, kTitle);
    }
    ASSERT_NE(found, nullptr);
    EXPECT_FALSE(IsWindow(found));  // a window of the other program
    EXPECT_EQ(FindWindowW(kClass, kTitle), found);
    EXPECT_EQ(FindWindowW(kClass, u"Схема метро 2"), nullptr);  // the title must match whole
    EXPECT_EQ(FindWindowW(u"OtherClass", nullptr), nullptr);
    EXPECT_NE(FindWindowW(kClass, nullptr), nullptr);
    EXPECT_TRUE(SetForegroundWindow(found));

    // Bytes reach the window and its answer comes back; too many are refused.
    const std::string largest = Bytes(RendezvousRequest::kMaxData);
    LRESULT answer = 0;
    EXPECT_EQ(HandOver(found, kDataTag, largest, answer), 1);
    EXPECT_EQ(answer, Digest(kDataTag, largest));
    answer = 0;
    EXPECT_EQ(HandOver(found, kDataTag, Bytes(RendezvousRequest::kMaxData + 1), answer), 0);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(HandOver(found, kDataTag, {}, answer), 1);
    EXPECT_EQ(answer, Digest(kDataTag, {}));
    // Only WM_COPYDATA goes to another program.
    EXPECT_EQ(SendMessageTimeoutW(found, WM_CLOSE, 0, 0, SMTO_NORMAL, 400, &answer), 0);
    EXPECT_EQ(HandOver(found, kQuitTag, "end", answer), 1);
    EXPECT_EQ(answer, Digest(kQuitTag, "end"));
    EXPECT_EQ(ExitCode(first), 0);

    // Once it has ended, nobody is found, nothing answers and its socket is gone.
    EXPECT_EQ(FindWindowW(kClass, kTitle), nullptr);
    EXPECT_FALSE(SetForegroundWindow(found));
    EXPECT_EQ(HandOver(found, kDataTag, "late", answer), 0);
    std::vector<fs::path> left;
    for (const auto& entry : fs::directory_iterator(meeting_)) {
        left.push_back(entry.path());
    }
    EXPECT_EQ(
        left,
        (std::vector<fs::path>{static_cast<Rendezvous*>(system.GetRendezvous())->SocketPath()}));
}

TEST_F(RendezvousTest, AProgramFindsItsOwnWindowsWithoutAsking) {
    HeadlessHost host;
    WindowSystem system(host, {Rendezvous::Open(meeting_)});
    RegisterMainClass();
    const HWND main =
        CreateWindowExW(0, kClass, kTitle, 0, 0, 0, 240, 320, nullptr, 0, nullptr, nullptr);
    EXPECT_EQ(FindWindowW(kClass, kTitle), main);
    EXPECT_TRUE(SetForegroundWindow(main));
    EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(RendezvousTest, SocketsOfDeadProgramsAreRemovedAndOtherFilesLeft) {
    ASSERT_EQ(::mkdir(meeting_.c_str(), 0700), 0);
    LeaveDeadSocket(meeting_ / "999999.sock");
    std::ofstream(meeting_ / "notes.sock") << "not a socket";
    LeaveDeadSocket(folder_ / "elsewhere.sock");
    fs::create_symlink(folder_ / "elsewhere.sock", meeting_ / "1.sock");
    // A program that dies without cleaning up.
    const pid_t crashed = ::fork();
    if (crashed == 0) {
        HeadlessHost host;
        WindowSystem system(host, {Rendezvous::Open(meeting_)});
        ::_exit(system.GetRendezvous() ? 0 : 1);  // no destructors run
    }
    ASSERT_EQ(ExitCode(crashed), 0);
    const fs::path crashedSocket = meeting_ / (std::to_string(crashed) + ".sock");
    ASSERT_TRUE(fs::exists(crashedSocket));

    HeadlessHost host;
    WindowSystem system(host, {Rendezvous::Open(meeting_)});
    EXPECT_EQ(FindWindowW(kClass, nullptr), nullptr);
    EXPECT_FALSE(fs::exists(meeting_ / "999999.sock"));
    EXPECT_FALSE(fs::exists(crashedSocket));
    EXPECT_TRUE(fs::exists(meeting_ / "notes.sock"));
    EXPECT_TRUE(fs::is_symlink(meeting_ / "1.sock"));
    EXPECT_TRUE(fs::is_socket(folder_ / "elsewhere.sock"));
}

TEST_F(RendezvousTest, PeersThatNeverAnswerHoldAFindOrAHandingOnlyUntilOneDeadline) {
    ASSERT_EQ(::mkdir(meeting_.c_str(), 0700), 0);
    std::vector<fs::path> silent;
    std::vector<UniqueFd> listeners;
    for (int i = 0; i < 10; ++i) {
        silent.push_back(meeting_ / ("1000" + std::to_string(i) + ".sock"));
        listeners.push_back(Listen(silent.back()));
    }
    // Asked after all of them by the order of names, it finds its window 7 for the caller, then
    // takes the bytes handed to that window and keeps the call open.
    UniqueFd answering = Listen(meeting_ / "99999.sock");
    std::atomic<bool> done = false;
    std::string taken;
    std::thread peer([&] {
        pollfd entry{answering.Get(), POLLIN, 0};
        if (::poll(&entry, 1, 15000) == 1) {
            UniqueFd fd(::accept(answering.Get(), nullptr, nullptr));
            if (ReceiveToEnd(fd.Get()) == EncodedFind()) {
                ::send(fd.Get(), EncodedWindow(7).data(), 8, MSG_NOSIGNAL);
            }
        }
        if (::poll(&entry, 1, 15000) == 1) {
            UniqueFd fd(::accept(answering.Get(), nullptr, nullptr));
            taken = ReceiveToEnd(fd.Get());
            while (!done) {
                std::this_thread::sleep_for(10ms);
            }
        }
    });
    auto rendezvous = Rendezvous::Open(meeting_);
    ASSERT_NE(rendezvous, nullptr);
    const HWND handle = reinterpret_cast<HWND>(std::uintptr_t{0x1000});
    auto start = Clock::now();
    EXPECT_EQ(rendezvous->Find(kClass, std::nullopt, [&] { return handle; }), handle);
    EXPECT_LT(SecondsSince(start), 2);
    start = Clock::now();
    // A longer timeout asked for is held to the rendezvous' own deadline.
    EXPECT_FALSE(rendezvous->SendCopyData(handle, kDataTag, "map", 10s));
    const double waited = SecondsSince(start);
    done = true;
    peer.join();
    EXPECT_GE(waited, 0.4);
    EXPECT_LT(waited, 1.5);
    const auto request = RendezvousRequest::Decode(taken);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->window, 7u);
    EXPECT_EQ(request->data, "map");
    for (const fs::path& path : silent) {
        EXPECT_TRUE(fs::is_socket(path)) << path;  // alive, only slow
    }
}

TEST_F(RendezvousTest, BadCallersAreCutOffOrDroppedWithoutHoldingTheLoopOrTheCallersAfterThem) {
    auto rendezvous = Rendezvous::Open(meeting_);
    ASSERT_NE(rendezvous, nullptr);
    const fs::path socket = rendezvous->SocketPath();
    const HWND window = reinterpret_cast<HWND>(std::uintptr_t{0x42});
    const auto start = Clock::now();
    // One sends byte by byte, another asks to find a window meanwhile.
    std::atomic<double> cutOffAfter = -1;
    std::thread trickler([&] {
        UniqueFd fd = Call(socket);
        while (SecondsSince(start) < 3) {
            if (::send(fd.Get(), "F", 1, MSG_NOSIGNAL) != 1) {
                cutOffAfter = SecondsSince(start);
                return;
            }
            std::this_thread::sleep_for(150ms);
        }
    });
    std::atomic<double> answeredAfter = -1;
    std::thread caller([&] {
        std::this_thread::sleep_for(100ms);
        UniqueFd fd = Call(socket);
        const std::string request = EncodedFind();
        ::send(fd.Get(), request.data(), request.size(), MSG_NOSIGNAL);
        ::shutdown(fd.Get(), SHUT_WR);
        if (ReceiveToEnd(fd.Get()) == EncodedWindow(0x42)) {
            answeredAfter = SecondsSince(start);
        }
    });
    // Handings past what a whole request may be, one byte too many, cut short, to a window not
    // there, and at last a good one.
    RendezvousRequest handing;
    handing.kind = RendezvousRequest::Kind::CopyData;
    handing.window = 0x42;
    handing.tag = kDataTag;
    handing.data = Bytes(RendezvousRequest::kMaxData);
    const std::string oversized = handing.Encode() + std::string(64, 'x');
    const std::string longer = handing.Encode() + "x";
    std::string cut = handing.Encode();
    cut.pop_back();
    RendezvousRequest elsewhere = handing;
    elsewhere.window = 0x43;
    elsewhere.data = "x";
    const std::vector<std::string> requests = {oversized, longer, cut, elsewhere.Encode(),
                                               handing.Encode()};
    std::vector<std::string> answers(requests.size());
    std::atomic<bool> allAnswered = false;
    std::thread callers([&] {
        for (std::size_t i = 0; i < requests.size(); ++i) {
            UniqueFd fd = Call(socket);
            ::send(fd.Get(), requests[i].data(), requests[i].size(), MSG_NOSIGNAL);
            ::shutdown(fd.Get(), SHUT_WR);
            answers[i] = ReceiveToEnd(fd.Get());
        }
        allAnswered = true;
    });

    // The message loop: serve, then wait a little.
    int delivered = 0;
    Clock::duration longestServe{};
    while (SecondsSince(start) < 5 && (cutOffAfter < 0 || answeredAfter < 0 || !allAnswered)) {
        const auto before = Clock::now();
        rendezvous->Serve(
            [&](std::u16string_view, std::optional<std::u16string_view>) { return window; },
            [](HWND) { return false; },
            [&](HWND to, std::uint64_t tag, std::string_view data) -> std::optional<LRESULT> {
                if (to != window) {
                    return std::nullopt;
                }
                ++delivered;
                return Digest(tag, data);
            });
        longestServe = std::max(longestServe, Clock::now() - before);
        std::this_thread::sleep_for(5ms);
    }
    trickler.join();
    caller.join();
    callers.join();
    EXPECT_LT(longestServe, 1s);
    EXPECT_GE(cutOffAfter, 0);
    EXPECT_LT(cutOffAfter, 2);
    EXPECT_GE(answeredAfter, 0);
    EXPECT_LT(answeredAfter, 2);
    for (std::size_t i = 0; i + 1 < answers.size(); ++i) {
        EXPECT_EQ(answers[i], "") << i;
    }
    const LRESULT digest = Digest(kDataTag, handing.data);
    EXPECT_EQ(answers.back(), std::string(reinterpret_cast<const char*>(&digest), sizeof(digest)));
    EXPECT_EQ(delivered, 1);
}

TEST_F(RendezvousTest, WhatHoldsTheSocketsNameIsLeftAlone) {
    ASSERT_EQ(::mkdir(meeting_.c_str(), 0700), 0);
    const fs::path usual = meeting_ / (std::to_string(::getpid()) + ".sock");
    std::ofstream(folder_ / "target") << "kept";
    fs::create_symlink(folder_ / "target", usual);
    {
        auto first = Rendezvous::Open(meeting_);
        ASSERT_NE(first, nullptr);
        EXPECT_NE(first->SocketPath(), usual);
        EXPECT_TRUE(fs::is_socket(fs::symlink_status(first->SocketPath())));
        // A second program in this process takes neither name, and leaves the first's socket.
        auto second = Rendezvous::Open(meeting_);
        ASSERT_NE(second, nullptr);
        EXPECT_NE(second->SocketPath(), first->SocketPath());
        EXPECT_NE(second->SocketPath(), usual);
        second.reset();
        EXPECT_TRUE(fs::is_socket(first->SocketPath()));
    }
    EXPECT_TRUE(fs::is_symlink(usual));
    std::string text;
    std::ifstream(folder_ / "target") >> text;
    EXPECT_EQ(text, "kept");
}

TEST_F(RendezvousTest, TheFolderIsTheUsersAloneOrNotUsed) {
    // A folder left open to others is closed first; the socket is the user's alone.
    ASSERT_EQ(::mkdir(meeting_.c_str(), 0755), 0);
    ::chmod(meeting_.c_str(), 0755);
    auto rendezvous = Rendezvous::Open(meeting_);
    ASSERT_NE(rendezvous, nullptr);
    struct stat status {};
    ::stat(meeting_.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ::stat(rendezvous->SocketPath().c_str(), &status);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & 077, 0u);
    const fs::path socket = rendezvous->SocketPath();
    rendezvous.reset();
    EXPECT_FALSE(fs::exists(socket));

    // A link or a file in its place is not used.
    const fs::path link = folder_ / "link";
    fs::create_directory_symlink(meeting_, link);
    EXPECT_EQ(Rendezvous::Open(link), nullptr);
    std::ofstream(folder_ / "file") << "x";
    EXPECT_EQ(Rendezvous::Open(folder_ / "file"), nullptr);
    // Then a program runs alone.
    HeadlessHost host;
    WindowSystem system(host, {Rendezvous::Open(link)});
    EXPECT_EQ(system.GetRendezvous(), nullptr);
    EXPECT_EQ(FindWindowW(kClass, kTitle), nullptr);
}

TEST_F(RendezvousTest, TheDefaultFolderIsTheRuntimeFolderOrTheUsersOwnUnderTmp) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string previous = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(Rendezvous::DefaultFolder(), fs::path("/run/user/1234/quorvane"));
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(Rendezvous::DefaultFolder(),
              fs::path("/tmp/quorvane-" + std::to_string(::geteuid())));
    if (saved) {
        ::setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
    }
}

TEST_F(RendezvousTest, OfTwoPeersWithTheWindowTheFirstByNameIsFoundEveryTime) {
    ASSERT_EQ(::mkdir(meeting_.c_str(), 0700), 0);
    // "1.sock" owns window 10, "2.sock" window 20; each answers a find with its window and a
    // raise with yes, and notes which windows it was asked to raise.
    UniqueFd listeners[] = {Listen(meeting_ / "2.sock"), Listen(meeting_ / "1.sock")};
    const std::uint64_t windows[] = {20, 10};
    std::vector<std::uint64_t> raised[2];
    std::atomic<bool> done = false;
    std::vector<std::thread> peers;
    for (int i = 0; i < 2; ++i) {
        peers.emplace_back([&, i] {
            pollfd entry{listeners[i].Get(), POLLIN, 0};
            while (!done) {
                if (::poll(&entry, 1, 20) != 1) {
                    continue;
                }
                UniqueFd call(::accept(listeners[i].Get(), nullptr, nullptr));
                const auto request = RendezvousRequest::Decode(ReceiveToEnd(call.Get()));
                if (request && request->kind == RendezvousRequest::Kind::Find) {
                    ::send(call.Get(), EncodedWindow(windows[i]).data(), 8, MSG_NOSIGNAL);
                } else if (request && request->kind == RendezvousRequest::Kind::Raise) {
                    raised[i].push_back(request->window);
                    ::send(call.Get(), "\1", 1, MSG_NOSIGNAL);
                }
            }
        });
    }
    auto rendezvous = Rendezvous::Open(meeting_);
    ASSERT_NE(rendezvous, nullptr);
    std::uintptr_t next = 0x1000;
    for (int round = 0; round < 3; ++round) {
        const HWND found =
            rendezvous->Find(kClass, std::nullopt, [&] { return reinterpret_cast<HWND>(next++); });
        ASSERT_NE(found, nullptr);
        EXPECT_TRUE(rendezvous->Raise(found));
    }
    done = true;
    for (std::thread& peer : peers) {
        peer.join();
    }
    EXPECT_EQ(raised[1], (std::vector<std::uint64_t>{10, 10, 10}));
    EXPECT_TRUE(raised[0].empty());
}

TEST(RendezvousRequestTest, RequestsSurviveTheTripAndBrokenOnesAreRefused) {
    RendezvousRequest find;
    find.className = u"QuorvaneWnd";
    find.title = u"Схема метро";
    const auto decoded = RendezvousRequest::Decode(find.Encode());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->className, find.className);
    EXPECT_EQ(decoded->title, find.title);

    RendezvousRequest any;
    any.className = u"X";
    EXPECT_FALSE(RendezvousRequest::Decode(any.Encode())->title);

    RendezvousRequest raise;
    raise.kind = RendezvousRequest::Kind::Raise;
    raise.window = 0x12345678;
    EXPECT_EQ(RendezvousRequest::Decode(raise.Encode())->window, 0x12345678u);

    RendezvousRequest handing;
    handing.kind = RendezvousRequest::Kind::CopyData;
    handing.window = 9;
    handing.tag = 0x51564D50;
    handing.data = std::string("a\0b", 3);
    const auto handed = RendezvousRequest::Decode(handing.Encode());
    ASSERT_TRUE(handed);
    EXPECT_EQ(handed->window, 9u);
    EXPECT_EQ(handed->tag, 0x51564D50u);
    EXPECT_EQ(handed->data, handing.data);

    for (const std::string& bytes : {find.Encode(), handing.Encode()}) {
        for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
            EXPECT_FALSE(RendezvousRequest::Decode(bytes.substr(0, cut))) << cut;
        }
        EXPECT_FALSE(RendezvousRequest::Decode(bytes + "x"));
    }
    handing.data.assign(RendezvousRequest::kMaxData + 1, 'a');
    EXPECT_FALSE(RendezvousRequest::Decode(handing.Encode()));
    EXPECT_FALSE(RendezvousRequest::Decode("Q"));
    // Names of the longest length pass whole; one unit more is refused.
    RendezvousRequest longest;
    longest.className.assign(RendezvousRequest::kMaxName, u'a');
    longest.title = std::u16string(RendezvousRequest::kMaxName, u'b');
    const auto kept = RendezvousRequest::Decode(longest.Encode());
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->className, longest.className);
    EXPECT_EQ(kept->title, longest.title);
    RendezvousRequest huge = longest;
    huge.className += u'a';
    EXPECT_FALSE(RendezvousRequest::Decode(huge.Encode()));
    huge = longest;
    *huge.title += u'b';
    EXPECT_FALSE(RendezvousRequest::Decode(huge.Encode()));
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
    EXPECT_EQ(whole(u"/home/ann/moscow.qvn"), 1);
    EXPECT_EQ(whole(u"/home/ann/moscow.qvn\0"sv), 0) << "a terminator sent along";
    EXPECT_EQ(whole(u"/home/ann\0/etc/passwd"sv), 0) << "a path cut short inside";
    EXPECT_EQ(whole(u"\0"sv), 0);
    EXPECT_EQ(whole(u""), 0);
    EXPECT_EQ(answer(kOpenMapDataTag, u"/a.qvn", 11), 0) << "half a unit";
    EXPECT_EQ(answer(kOpenMapDataTag + 1, u"/a.qvn", 12), 0) << "another tag";
    const std::u16string longest(kMapPathCapacity - 1, u'a');
    EXPECT_EQ(whole(longest), 1);
    EXPECT_EQ(whole(longest + u"a"), 0) << "no room for it";
}

}  // namespace
}  // namespace qv
