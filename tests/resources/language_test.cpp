// The program as a user starts it, in different locales: the texts of a page, a message box and
// the menu come in the language the locale (or --lang) asks for.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Texts {
    std::string settingsItem;  // the first radio button of the settings page
    std::string helpCaption;   // the box shown when help cannot be opened
    std::string helpText;
    std::string menuItem;  // chosen by its text, it opens the station picker
    std::string pickerTitle;
};

const Texts kRussian{"по количеству пересадок", "Ошибка", "Ошибка", "Станции по алфавиту",
                     "Станции"};
const Texts kEnglish{"fewest transfers", "Error", "Could not open help", "Stations A-Z",
                     "Stations"};

class Scratch {
  public:
    Scratch() : root_(fs::temp_directory_path() / ("qv-language-" + std::to_string(getpid()))) {
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~Scratch() { fs::remove_all(root_); }
    const fs::path& Root() const { return root_; }

  private:
    fs::path root_;
};

// Runs the program with only the given locale variables set, and returns its state lines.
std::vector<json> RunProgramIn(const Scratch& scratch, const std::string& locale,
                               const std::string& menu, const std::string& options) {
    const fs::path script = scratch.Root() / "run.script";
    std::ofstream(script) << "command ID_SETTINGS\nwait 50\nstate\nkey escape\nwait 50\n"
                             "command ID_HELP\nwait 50\nstate\nkey return\nwait 50\n"
                             "menu "
                          << menu << "\nwait 50\nstate\nkey escape\nkey ctrl+q\n";
    const std::string r = scratch.Root().string();
    fs::remove_all(scratch.Root() / "config");
    const std::string command = "env -u LC_ALL -u LC_MESSAGES -u LANG " + locale +
                                " PATH= HOME=" + r + " XDG_CONFIG_HOME=" + r +
                                "/config XDG_RUNTIME_DIR=" + r + " " + QV_HEADLESS + " " + options +
                                " --script " + script.string() + " --out " + r + " " + QV_MAPS_DIR +
                                "/example.qvn >" + r + "/out 2>" + r + "/err";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << locale << " " << options;
    std::vector<json> states;
    std::ifstream out(scratch.Root() / "out");
    for (std::string line; std::getline(out, line);) {
        states.push_back(json::parse(line));
    }
    return states;
}

bool HasWindowText(const json& state, const std::string& text) {
    for (const json& window : state["windows"]) {
        if (window["text"] == text) {
            return true;
        }
    }
    return false;
}

TEST(Language, TheLocaleOrLangChoosesTheTexts) {
    struct Case {
        std::string locale;
        std::string options;
        const Texts* texts;
    };
    const Case cases[] = {
        {"LANG=en_GB.UTF-8", "", &kEnglish},
        {"LANG=ru_RU.UTF-8", "", &kRussian},
        {"", "", &kRussian},
        {"LANG=C", "", &kRussian},
        {"LC_ALL=ru LANG=en_GB.UTF-8", "", &kRussian},
        {"LC_ALL= LC_MESSAGES=en_US.UTF-8 LANG=ru_RU.UTF-8", "", &kEnglish},
        {"LANG=en_GB.UTF-8", "--lang ru", &kRussian},
        {"", "--lang en", &kEnglish},
    };
    const Scratch scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale + " " + c.options);
        const std::vector<json> states =
            RunProgramIn(scratch, c.locale, c.texts->menuItem, c.options);
        ASSERT_EQ(states.size(), 3u);
        EXPECT_TRUE(HasWindowText(states[0], c.texts->settingsItem));
        ASSERT_EQ(states[1]["messageBoxes"].size(), 1u);
        EXPECT_EQ(states[1]["messageBoxes"][0]["caption"], c.texts->helpCaption);
        EXPECT_EQ(states[1]["messageBoxes"][0]["text"], c.texts->helpText);
        EXPECT_TRUE(HasWindowText(states[2], c.texts->pickerTitle));
    }
}

TEST(Language, AnUnknownLanguageIsRefused) {
    const Scratch scratch;
    const std::string r = scratch.Root().string();
    const std::string command =
        std::string(QV_HEADLESS) + " --lang de --script /dev/null >" + r + "/out 2>" + r + "/err";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::stringstream errors;
    errors << std::ifstream(scratch.Root() / "err").rdbuf();
    EXPECT_NE(errors.str().find("--lang wants en or ru"), std::string::npos) << errors.str();
}

}  // namespace
