// The program as a user starts it: a page, a message box and the menu speak the locale's (or
// --lang's) language.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kScratch = fs::temp_directory_path() / ("qv-language-" + std::to_string(getpid()));

int RunProgram(const std::string& locale, const std::string& arguments) {
    const std::string r = kScratch.string();
    const std::string command = "env -u LC_ALL -u LC_MESSAGES -u LANG " + locale +
                                " PATH= HOME=" + r + " XDG_CONFIG_HOME=" + r +
                                "/config XDG_RUNTIME_DIR=" + r + " " + QV_HEADLESS + " " +
                                arguments + " >" + r + "/out 2>" + r + "/err";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Written(const char* name) {
    std::stringstream text;
    text << std::ifstream(kScratch / name).rdbuf();
    return text.str();
}

TEST(Language, TheLocaleOrLangChoosesTheTextsAndAnUnknownLanguageIsRefused) {
    // The first radio button of the settings page, the box shown when help cannot be opened,
    // the station picker with a row tapped and then the space below the rows (no row is chosen,
    // though the row keeps the focus), and the about box's version line, each opened by the text
    // of its menu item. In Russian, then in English.
    const std::pair<std::string, std::string> texts[] = {
        {"по количеству пересадок", "fewest transfers"},
        {"Ошибка", "Error"},
        {"Ошибка", "Could not open help"},
        {"Станции по алфавиту", "Stations A-Z"},
        {"Станции", "Stations"},
        {"\"Вер. ", "\"Version "},
        {"Помощь", "Help"},
        {"O программе", "About"}};
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"LANG=en_GB.UTF-8", "", true},
        {"", "", false},
        {"LC_ALL= LC_MESSAGES=en_US.UTF-8 LANG=ru_RU.UTF-8", "", true},
        {"LC_ALL=en_GB.UTF-8 LC_MESSAGES=ru_RU.UTF-8", "", true},
        {"LANG=en_GB.UTF-8", "--lang ru", false},
    };
    fs::create_directories(kScratch);
    const std::string script = (kScratch / "run.script").string();
    for (const auto& [locale, options, english] : cases) {
        SCOPED_TRACE(locale + " " + options);
        const auto text = [&](int i) { return english ? texts[i].second : texts[i].first; };
        fs::remove_all(kScratch / "config");
        std::ofstream(script) << "menu " << (english ? "Settings" : "Настройки")
                              << "\nwait 50\nstate\nkey escape\nwait 50\nmenu " << text(6)
                              << "\nwait 50\nstate\nkey return\nwait 50\nmenu " << text(3)
                              << "\nwait 50\ntap 50 80\ntap 50 200\nstate\nkey escape\nmenu "
                              << text(7) << "\nwait 50\nstate\nkey return\nkey ctrl+q\n";
        ASSERT_EQ(RunProgram(locale, options + " --script " + script + " --out " +
                                         kScratch.string() + " " + QV_MAPS_DIR + "/example.qvn"),
                  0);
        std::istringstream out(Written("out"));
        std::vector<nlohmann::json> states;
        for (std::string line; std::getline(out, line);) {
            states.push_back(nlohmann::json::parse(line));
        }
        ASSERT_EQ(states.size(), 4u);
        EXPECT_NE(states[0]["windows"].dump().find(text(0)), std::string::npos);
        ASSERT_EQ(states[1]["messageBoxes"].size(), 1u);
        EXPECT_EQ(states[1]["messageBoxes"][0]["caption"], text(1));
        EXPECT_EQ(states[1]["messageBoxes"][0]["text"], text(2));
        EXPECT_NE(states[2]["windows"].dump().find("\"" + text(4) + "\""), std::string::npos);
        EXPECT_NE(states[2]["windows"].dump().find("\"selection\":-1,"), std::string::npos);
        EXPECT_NE(states[3]["windows"].dump().find(text(5)), std::string::npos);
    }
    EXPECT_EQ(RunProgram("", "--lang de --script /dev/null"), 2);
    EXPECT_NE(Written("err").find("--lang wants en or ru"), std::string::npos) << Written("err");
    fs::remove_all(kScratch);
}

}  // namespace
