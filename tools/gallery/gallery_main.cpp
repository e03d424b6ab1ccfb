// quorvane-gallery [--out DIR] [--scale K] [--window] [--lang en|ru]: every control family in each
// of its states, one screen per family. Headless it writes DIR/NAME-kK.png for each screen (K 1 and
// 2 unless --scale names one); with --window the screens are shown in a real window, the "<" and
// ">" buttons at the bottom going from one to the next.

#include <filesystem>
#include <string>

#include "command_line.h"
#include "gallery_screens.h"
#include "platform/host/headless_host.h"
#include "platform/host/sdl_host.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "resources/main_toolbar.h"
#include "text/printable.h"

namespace {

using namespace qv;

constexpr tools::OptionRule kOptions[] = {
    {"--out", 1}, {"--scale", 1}, {"--window", 0}, {"--lang", 1}};
constexpr tools::ToolSyntax kSyntax{
    "quorvane-gallery",
    "Usage: quorvane-gallery [--out DIR] [--scale K] [--window] [--lang en|ru]\n"
    "Draws every control in each of its states, one screen per family, as DIR/NAME-kK.png (DIR\n"
    "defaults to the current folder, K to both 1 and 2); with --window shows the screens in a\n"
    "real window instead. The captions, the program's and the system's texts are English when\n"
    "the first set of LC_ALL, LC_MESSAGES and LANG begins with \"en\", else Russian; --lang\n"
    "chooses instead. Sample data (station and line names, typed letters) stays as it is.\n"
    "\n"
    "Examples:\n"
    "  $ quorvane-gallery --out /tmp/gallery --scale 2\n",
    kOptions};

int WriteScreens(const std::filesystem::path& folder, int scale) {
    for (const gallery::Screen& screen : gallery::Screens()) {
        HeadlessHost host(scale);
        WindowSystem system(host);
        const gallery::DialogFonts fonts;
        if (!gallery::StartControls()) {
            return tools::Fail(kSyntax, "cannot register the controls");
        }
        const HWND page = gallery::MakePage(
            fonts, static_cast<std::size_t>(&screen - gallery::Screens().data()), false);
        if (!page) {
            return tools::Fail(kSyntax, "cannot make the page of " + std::string(screen.name));
        }
        system.Pump();
        const std::filesystem::path path =
            folder / (std::string(screen.name) + "-k" + std::to_string(scale) + ".png");
        const bool written = host.WriteScreenshot(path.string());
        DestroyWindow(page);
        if (!written) {
            return tools::Fail(kSyntax, "cannot write " + qv::Printable(path.string()));
        }
    }
    return 0;
}

// The screens one after another in a real window, until it is closed.
int ShowScreens(int scale) {
    std::string error;
    auto host = SdlHost::Open(scale, error);
    if (!host) {
        return tools::Fail(kSyntax, error);
    }
    WindowSystem system(*host);
    const gallery::DialogFonts fonts;
    if (!gallery::StartControls()) {
        return tools::Fail(kSyntax, "cannot register the controls");
    }
    std::size_t shown = 0;
    HWND page = gallery::MakePage(fonts, shown, true);
    MSG message;
    while (page && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == gallery::kTurnScreen) {
            shown = gallery::TurnedScreen(shown, message.wParam != 0);
            DestroyWindow(page);
            page = gallery::MakePage(fonts, shown, true);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyWindow(page);
    return 0;
}

int RunGallery(const tools::CommandLine& line) {
    if (!line.Plain().empty()) {
        throw tools::UsageError("no plain arguments wanted, " +
                                std::to_string(line.Plain().size()) + " given");
    }
    const int scale = static_cast<int>(line.Number("--scale", 1, 3, 0));
    SelectProgramLanguage(line.LanguageWanted());
    if (line.Has("--window")) {
        return ShowScreens(scale == 0 ? 2 : scale);
    }
    const std::filesystem::path folder = line.Text("--out", ".");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return tools::Fail(
            kSyntax, "cannot make " + qv::Printable(folder.string()) + ": " + error.message());
    }
    for (const int k : {1, 2}) {
        if (scale == 0 || scale == k) {
            if (const int status = WriteScreens(folder, k); status != 0) {
                return status;
            }
        }
    }
    if (scale == 3) {
        return WriteScreens(folder, 3);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return qv::tools::RunTool(argc, argv, kSyntax, RunGallery);
}
