#pragma once

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "golden_picture.h"
#include "settings/settings_file.h"

namespace qv {

namespace fs = std::filesystem;
using nlohmann::json;

inline const fs::path kMaps = QV_MAPS_DIR;

struct Outcome {
    int exitCode = -1;
    std::vector<json> states;
    std::string errors;
};

// The program run through quorvane-headless scripts in a scratch home of its own.
class Home {
  public:
    Home() {
        char pattern[] = "/tmp/qv-program-XXXXXX";
        root_ = mkdtemp(pattern);
        fs::create_directories(root_ / "run");
        chmod((root_ / "run").c_str(), 0700);
        // The open-file page lists the (empty) documents folder and the one map installed with
        // the program: bin/quorvane-headless beside share/quorvane/maps.
        fs::create_directories(root_ / "home");
        fs::create_directories(Maps());
        fs::copy_file(kMaps / "example.qvn", Maps() / "example.qvn");
        fs::create_directories(root_ / "bin");
        std::error_code linked;  // a copy where the build lies on another file system
        fs::create_hard_link(QV_HEADLESS, root_ / "bin/quorvane-headless", linked);
        if (linked) {
            fs::copy_file(QV_HEADLESS, root_ / "bin/quorvane-headless");
        }
    }
    ~Home() { fs::remove_all(root_); }
    const fs::path& Root() const { return root_; }
    fs::path Maps() const { return root_ / "share/quorvane/maps"; }
    fs::path SettingsFile() const { return root_ / "config" / "quorvane" / "quorvane.ini"; }

    void Save(const Settings& settings) const {
        fs::create_directories(SettingsFile().parent_path());
        ASSERT_EQ(SaveSettings(settings, SettingsFile()), 1);
    }
    Settings Saved() const {
        Settings settings;
        EXPECT_EQ(LoadSettings(settings, SettingsFile()), 1);
        return settings;
    }

    std::string Command(const std::string& script, const std::string& map,
                        const std::string& tag) const {
        std::ofstream(root_ / (tag + ".script")) << script;
        const std::string r = root_.string();
        return "env -u QUORVANE_MAPS_DIR LC_ALL=C.UTF-8 HOME=" + r + "/home XDG_CONFIG_HOME=" + r +
               "/config XDG_RUNTIME_DIR=" + r + "/run " + r + "/bin/quorvane-headless --script " +
               r + "/" + tag + ".script --out " + r + (map.empty() ? "" : " " + map) + " >" + r +
               "/" + tag + ".out 2>" + r + "/" + tag + ".err";
    }
    Outcome Collect(int status, const std::string& tag) const {
        Outcome outcome;
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream out(root_ / (tag + ".out"));
        for (std::string line; std::getline(out, line);) {
            outcome.states.push_back(json::parse(line));
        }
        std::stringstream errors;
        errors << std::ifstream(root_ / (tag + ".err")).rdbuf();
        outcome.errors = errors.str();
        return outcome;
    }
    Outcome Run(const std::string& script, const std::string& map = {},
                const std::string& tag = "run") const {
        return Collect(std::system(Command(script, map, tag).c_str()), tag);
    }

  private:
    fs::path root_;
};

using testing::PngPixels;

inline json WindowOf(const json& state, std::string_view className) {
    for (const json& window : state["windows"]) {
        if (window["class"] == className) {
            return window;
        }
    }
    return nullptr;
}

inline json ErrorBoxes(const char* text) {
    return json::array({{{"caption", "Ошибка"}, {"text", text}, {"icon", "stop"}}});
}

}  // namespace qv
