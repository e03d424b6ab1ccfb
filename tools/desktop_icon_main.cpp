// quorvane-desktop-icon [--out DIR] [--toolbar FILE]: writes the application icon for the
// desktop into the icon theme's folders under DIR (data/icons unless given):
// hicolor/48x48/apps/quorvane.png and hicolor/scalable/apps/quorvane.svg; with --toolbar also the
// toolbar's image strip as a PNG, for the help page.

#include <filesystem>
#include <fstream>
#include <string>

#include "command_line.h"
#include "desktop_icon.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/resource_module.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "text/printable.h"

namespace {

using namespace qv;

constexpr int kPngSize = 48;

constexpr tools::OptionRule kOptions[] = {{"--out", 1}, {"--toolbar", 1}};
constexpr tools::ToolSyntax kSyntax{
    "quorvane-desktop-icon",
    "Usage: quorvane-desktop-icon [--out DIR] [--toolbar FILE]\n"
    "Draws the application icon for the desktop as DIR/hicolor/48x48/apps/quorvane.png and\n"
    "DIR/hicolor/scalable/apps/quorvane.svg (DIR defaults to data/icons); with --toolbar also\n"
    "the toolbar's image strip to FILE.\n"
    "\n"
    "Examples:\n"
    "  $ quorvane-desktop-icon --out /tmp/icons\n",
    kOptions};

bool WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    return !file.fail();
}

int WriteIcons(const tools::CommandLine& line) {
    if (!line.Plain().empty()) {
        throw tools::UsageError("no plain arguments wanted, " +
                                std::to_string(line.Plain().size()) + " given");
    }
    const std::filesystem::path theme =
        std::filesystem::path(line.Text("--out", "data/icons")) / "hicolor";
    const std::filesystem::path png = theme / "48x48" / "apps" / "quorvane.png";
    const std::filesystem::path svg = theme / "scalable" / "apps" / "quorvane.svg";
    for (const std::filesystem::path& file : {png, svg}) {
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            return tools::Fail(kSyntax, "cannot make " +
                                            qv::Printable(file.parent_path().string()) + ": " +
                                            error.message());
        }
    }
    if (!tools::WritePng(tools::RenderDesktopIcon(kPngSize), png.string())) {
        return tools::Fail(kSyntax, "cannot write " + qv::Printable(png.string()));
    }
    if (!WriteText(svg, tools::DesktopIconSvg())) {
        return tools::Fail(kSyntax, "cannot write " + qv::Printable(svg.string()));
    }
    if (line.Has("--toolbar")) {
        const std::string strip = line.Text("--toolbar", "");
        const UniqueBitmap bitmap(LoadBitmapW(ProgramModule(), IDB_TOOLBAR));
        if (!bitmap || !bitmap->WritePng(strip.c_str())) {
            return tools::Fail(kSyntax, "cannot write " + qv::Printable(strip));
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return qv::tools::RunTool(argc, argv, kSyntax, WriteIcons);
}
