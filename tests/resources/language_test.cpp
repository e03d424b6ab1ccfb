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
    // the station picker, and the about box's version line; the last three opened by the texts
    // of their menu items.
    const std::vector<std::string> russian{"по количеству пересадок",
                                           "Ошибка",
                                           "Ошибка",
                                           "Станции по алфавиту",
                                           "Станции",
                                           "\"Вер. ",
                                           "Помощь",
                                           "O программе"};
    const std::vector<std::string> english{"fewest transfers",
                                           "Error",
                                           "Could not open help",
                                           "Stations A-Z",
                                           "Stations",
                                           "\"Version ",
                                           "Help",
                                           "About"};
    const std::tuple<std::string, std::string, const std::vector<std::string>*> cases[] = {
        {"LANG=en_GB.UTF-8", "", &english},
        {"", "", &russian},
        {"LC_ALL= LC_MESSAGES=en_US.UTF-8 LANG=ru_RU.UTF-8", "", &english},
        {"LANG=en_GB.UTF-8", "--lang ru", &russian},
    };
    fs::create_directories(kScratch);
    const std::string script = (kScratch / "run.script").string();
    for (const auto& [locale, options, texts] : cases) {
        SCOPED_TRACE(locale + " " + options);
        fs::remove_all(kScratch / "config");
        std::ofstream(script) << "command ID_SETTINGS\nwait 50\nstate\nkey escape\nwait 50\nmenu "
                              << (*texts)[6] << "\nwait 50\nstate\nkey return\nwait 50\nmenu "
                              << (*texts)[3] << "\nwait 50\nstate\nkey escape\nmenu " << (*texts)[7]
                              << "\nwait 50\nstate\nkey return\nkey ctrl+q\n";
        ASSERT_EQ(RunProgram(locale, options + " --script " + script + " --out " +
                                         kScratch.string() + " " + QV_MAPS_DIR + "/example.qvn"),
                  0);
        std::istringstream out(Written("out"));
        std::vector<nlohmann::json> states;
        for (std::string line; std::getline(out, line);) {
            states.push_back(nlohmann::json::parse(line));
        }
        ASSERT_EQ(states.size(), 4u);
        EXPECT_NE(states[0]["windows"].dump().find((*texts)[0]), std::string::npos);
        ASSERT_EQ(states[1]["messageBoxes"].size(), 1u);
        EXPECT_EQ(states[1]["messageBoxes"][0]["caption"], (*texts)[1]);
        EXPECT_EQ(states[1]["messageBoxes"][0]["text"], (*texts)[2]);
        EXPECT_NE(states[2]["windows"].dump().find("\"" + (*texts)[4] + "\""), std::string::npos);
        EXPECT_NE(states[3]["windows"].dump().find((*texts)[5]), std::string::npos);
    }
    EXPECT_EQ(RunProgram("", "--lang de --script /dev/null"), 2);
    EXPECT_NE(Written("err").find("--lang wants en or ru"), std::string::npos) << Written("err");
    fs::remove_all(kScratch);
}

}  // namespace
