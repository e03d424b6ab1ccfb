// quorvane [--lang en|ru] [MAP]: the program in a real window. MAP (a path or a file:// URI) is
// loaded as if chosen on the open-file page.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/host/sdl_host.h"
#include "resources/main_toolbar.h"
#include "resources/program_resources.h"
#include "resources/version.h"
#include "shell/map_argument_uri.h"
#include "shell/program_entry.h"
#include "text/language.h"
#include "text/printable.h"
#include "text/utf.h"

namespace {

constexpr char kUsage[] =
    "Usage: quorvane [--lang en|ru] [MAP]\n"
    "Shows a metro scheme and finds routes between its stations, in a window.\n"
    "MAP (a path or a file:// URI) is loaded as if chosen on the open-file page; a second start\n"
    "hands it to the running copy. The wheel pans a zoomed scheme (Shift+wheel sideways),\n"
    "Ctrl+wheel zooms in and out, and a map file dropped on the window loads.\n"
    "The texts are English when the first set of LC_ALL, LC_MESSAGES and LANG begins with \"en\",\n"
    "else Russian; --lang chooses instead.\n"
    "\n"
    "Examples:\n"
    "  $ quorvane /usr/share/quorvane/maps/zarechensk.qvn\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace qv;
    Language language = LanguageOfEnvironment();
    if (argc >= 3 && std::strcmp(argv[1], "--lang") == 0) {
        const auto named = LanguageNamed(argv[2]);
        if (!named) {
            std::fprintf(stderr, "quorvane: --lang wants en or ru, not %s\n",
                         Printable(argv[2]).c_str());
            return 2;
        }
        language = *named;
        argv += 2;
        argc -= 2;
    }
    SelectProgramLanguage(language);
    if (argc > 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    ProgramStart start;
    if (argc == 2) {
        if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[1], "--version") == 0) {
            std::printf("quorvane %.*s\n", static_cast<int>(kVersionNumber.size()),
                        kVersionNumber.data());
            return 0;
        }
        const auto path = MapArgumentPath(argv[1]);
        if (!path) {
            std::fprintf(stderr, "quorvane: not a file path or file:// URI: %s\n",
                         Printable(argv[1]).c_str());
            return 2;
        }
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(*path, error);
        // By its bytes, as a file name need not be UTF-8.
        start.map = FileNameText(error ? *path : absolute.string());
    }
    std::string error;
    auto host = SdlHost::Open(SdlHost::kFitDisplay, error);
    if (!host) {
        std::fprintf(stderr, "quorvane: %s\n", error.c_str());
        return 1;
    }
    return RunProgram(*host, ProgramModule(), start);
}
