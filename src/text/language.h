#pragma once

#include <optional>
#include <string_view>

namespace qv {

// The languages the program's texts come in.
enum class Language { Russian, English };

inline constexpr Language kLanguages[] = {Language::Russian, Language::English};

// The language a locale asks for, as the C library reads it: the first of LC_ALL, LC_MESSAGES
// and LANG that is set and not empty decides; English when it begins with "en", else Russian.
// A null value is unset.
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);
// The same for this process's environment.
Language LanguageOfEnvironment();

// "en" or "ru", as a command line names them.
std::optional<Language> LanguageNamed(std::string_view name);

}  // namespace qv
