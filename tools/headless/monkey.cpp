#include "headless/monkey.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "headless/monkey_host.h"
#include "resources/program_resources.h"
#include "shell/program_entry.h"
#include "text/printable.h"
#include "text/utf.h"

// Present when the process runs under the leak sanitizer.
extern "C" int __lsan_do_recoverable_leak_check() __attribute__((weak));

namespace qv::tools {

namespace {

// Real time without a single host call after which the program counts as hung, even in a build
// with sanitizers on a busy machine.
constexpr std::chrono::seconds kStallLimit{60};
constexpr std::chrono::seconds kWatchInterval{1};

MonkeyLog* g_log = nullptr;

void ReportDeath() {
    if (g_log) {
        g_log->Report("the sanitizer's report above");
    }
}

void ReportSignal(int number) {
    if (g_log) {
        g_log->Report("signal " + std::to_string(number));
    }
    std::signal(number, SIG_DFL);
    std::raise(number);
}

using SetDeathCallback = void (*)(void (*)());
constexpr const char* kSetDeathCallback = "__sanitizer_set_death_callback";

void RegisterDeathCallback(void* symbol, std::vector<void*>& registered) {
    if (symbol && std::find(registered.begin(), registered.end(), symbol) == registered.end()) {
        registered.push_back(symbol);
        reinterpret_cast<SetDeathCallback>(symbol)(ReportDeath);
    }
}

// Each sanitizer runtime in the process has a death callback of its own (one compiler links
// the address and the undefined-behaviour runtimes as two libraries): the report is given to all.
int RegisterInLibrary(dl_phdr_info* library, std::size_t, void* registered) {
    if (!library->dlpi_name || !*library->dlpi_name) {
        return 0;
    }
    if (void* handle = ::dlopen(library->dlpi_name, RTLD_LAZY | RTLD_NOLOAD)) {
        RegisterDeathCallback(::dlsym(handle, kSetDeathCallback),
                              *static_cast<std::vector<void*>*>(registered));
        ::dlclose(handle);
    }
    return 0;
}

// With a sanitizer its death callback reports the events; without, the fatal signals do.
void WatchForCrashes(MonkeyLog& log) {
    g_log = &log;
    std::vector<void*> registered;
    RegisterDeathCallback(::dlsym(RTLD_DEFAULT, kSetDeathCallback), registered);
    ::dl_iterate_phdr(RegisterInLibrary, &registered);
    if (!registered.empty()) {
        return;
    }
    for (const int number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        std::signal(number, ReportSignal);
    }
}

// Reports a program that stops calling its host at all, a loop the virtual clock cannot see.
class Watchdog {
  public:
    Watchdog(const MonkeyHost& host, MonkeyLog& log)
        : host_(host), log_(log), thread_([this] { Watch(); }) {}
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

  private:
    void Watch() {
        std::unique_lock lock(mutex_);
        std::uint64_t seen = host_.Progress();
        auto since = std::chrono::steady_clock::now();
        while (!wake_.wait_for(lock, kWatchInterval, [this] { return stop_; })) {
            const std::uint64_t now = host_.Progress();
            if (now != seen) {
                seen = now;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > kStallLimit) {
                log_.Fail("hang: the program has not called its host for " +
                          std::to_string(kStallLimit.count()) + " s of real time");
            }
        }
    }

    const MonkeyHost& host_;
    MonkeyLog& log_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace

// No other program can be started (the help command's opener, the documents folder's lookup are
// not found on an empty PATH), and the program's rendezvous lies beside its settings, where no
// other copy of the program looks for it.
bool SetUpSandbox() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (!config || *config != '/') {
        return false;
    }
    const std::filesystem::path rendezvous = std::filesystem::path(config) / "monkey-run";
    std::error_code error;
    std::filesystem::create_directories(rendezvous, error);
    if (error) {
        return false;
    }
    std::filesystem::permissions(rendezvous, std::filesystem::perms::owner_all, error);
    return !error && ::setenv("XDG_RUNTIME_DIR", rendezvous.c_str(), 1) == 0 &&
           ::setenv("PATH", "", 1) == 0;
}

int RunMonkey(const MonkeyOptions& options) {
    std::printf("quorvane-headless: monkey seed %u, %llu events%s%s\n", options.seed,
                static_cast<unsigned long long>(options.events), options.map.empty() ? "" : ", ",
                Printable(options.map).c_str());
    std::fflush(stdout);
    MonkeyLog log(options.seed, options.out, options.map);
    WatchForCrashes(log);
    MonkeyHost host(options.seed, options.events, options.scale, log);
    int starts = 0;
    {
        const Watchdog watchdog(host, log);
        for (;;) {
            log.Started(++starts);
            host.NewStart();
            ProgramStart start;
            if (starts == 1) {
                start.map = FileNameText(options.map);
            }
            const int exitCode = RunProgram(host, ProgramModule(), start);
            if (exitCode != 0) {
                log.Fail("the program ended with exit code " + std::to_string(exitCode));
            }
            if (host.EventsThisStart() == 0) {
                log.Fail("the program ended before it asked for any input");
            }
            if (host.Finishing()) {
                break;
            }
        }
    }
    if (__lsan_do_recoverable_leak_check && __lsan_do_recoverable_leak_check() != 0) {
        log.Fail("memory leaks, reported above");
    }
    std::printf(
        "quorvane-headless: monkey seed %u: ok, %llu events in %d starts, %lld s of "
        "virtual time, at most %llu host calls for one event\n",
        options.seed, static_cast<unsigned long long>(log.Events()), starts,
        static_cast<long long>(host.Now().count() / 1000),
        static_cast<unsigned long long>(host.MostHostCallsForOneEvent()));
    for (const auto& [window, events] : host.ActiveWindows()) {
        std::printf("  %8llu events in %s\n", static_cast<unsigned long long>(events),
                    window.c_str());
    }
    g_log = nullptr;
    return 0;
}

}  // namespace qv::tools
