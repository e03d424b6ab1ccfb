#include "text/language.h"

#include <cstdlib>

namespace qv {

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value && *value) {
            return std::string_view(value).starts_with("en") ? Language::English
                                                             : Language::Russian;
        }
    }
    return Language::Russian;
}

Language LanguageOfEnvironment() {
    return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

std::optional<Language> LanguageNamed(std::string_view name) {
    if (name == "en") {
        return Language::English;
    }
    if (name == "ru") {
        return Language::Russian;
    }
    return std::nullopt;
}

}  // namespace qv
