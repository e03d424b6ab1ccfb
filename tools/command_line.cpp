#include "command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>

#include "resources/version.h"
#include "text/printable.h"

namespace qv::tools {

namespace {

bool IsOption(std::string_view argument) {
    return argument.size() > 1 && argument[0] == '-';
}

bool IsHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

bool IsVersion(std::string_view argument) {
    return argument == "--version";
}

std::string Quoted(std::string_view text) {
    return "\"" + Printable(text) + "\"";
}

template <typename T>
std::string RangeText(T minimum, T maximum) {
    auto text = [](T value) {
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        return std::string(buffer, end);
    };
    return "from " + text(minimum) + " to " + text(maximum);
}

}  // namespace

CommandLine::CommandLine(std::span<const char* const> arguments,
                         std::span<const OptionRule> rules) {
    std::size_t i = 0;
    for (; i < arguments.size() && std::string_view(arguments[i]) != "--"; ++i) {
        helpWanted_ = IsHelp(arguments[i]);
        versionWanted_ = IsVersion(arguments[i]);
        if (helpWanted_ || versionWanted_) {
            return;
        }
    }
    bool optionsEnded = false;
    for (i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || !IsOption(argument)) {
            plain_.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const auto rule = std::find_if(rules.begin(), rules.end(), [&](const OptionRule& known) {
            return known.name == argument;
        });
        if (rule == rules.end()) {
            throw UsageError("unknown option " + Quoted(argument));
        }
        const auto count = static_cast<std::size_t>(rule->values);
        if (arguments.size() - i - 1 < count) {
            throw UsageError(std::string(rule->name) + " needs " +
                             (count == 1 ? "a value" : std::to_string(count) + " values"));
        }
        Use use{rule->name, {}};
        for (std::size_t k = 1; k <= count; ++k) {
            use.values.emplace_back(arguments[i + k]);
        }
        uses_.push_back(std::move(use));
        i += count;
    }
}

std::vector<std::string_view> CommandLine::GivenOptions() const {
    std::vector<std::string_view> options;
    for (const Use& use : uses_) {
        options.push_back(use.option);
    }
    return options;
}

const CommandLine::Use* CommandLine::LastUse(std::string_view option) const {
    const auto last = std::find_if(uses_.rbegin(), uses_.rend(),
                                   [&](const Use& use) { return use.option == option; });
    return last == uses_.rend() ? nullptr : &*last;
}

bool CommandLine::Has(std::string_view option) const {
    return LastUse(option) != nullptr;
}

std::vector<std::vector<std::string>> CommandLine::Uses(std::string_view option) const {
    std::vector<std::vector<std::string>> values;
    for (const Use& use : uses_) {
        if (use.option == option) {
            values.push_back(use.values);
        }
    }
    return values;
}

std::string CommandLine::Text(std::string_view option, std::string fallback) const {
    const Use* use = LastUse(option);
    return use ? use->values.at(0) : std::move(fallback);
}

Language CommandLine::LanguageWanted() const {
    const Use* use = LastUse("--lang");
    if (!use) {
        return LanguageOfEnvironment();
    }
    if (const auto named = LanguageNamed(use->values.at(0))) {
        return *named;
    }
    throw UsageError("--lang wants en or ru, not " + Printable(use->values.at(0)));
}

std::size_t CommandLine::Choice(std::string_view option,
                                std::initializer_list<std::string_view> choices,
                                std::size_t fallback) const {
    const Use* use = LastUse(option);
    if (!use) {
        return fallback;
    }
    const std::string& value = use->values.at(0);
    const auto chosen = std::find(choices.begin(), choices.end(), value);
    if (chosen == choices.end()) {
        std::string names;
        for (const std::string_view choice : choices) {
            names += (names.empty() ? "" : " or ") + std::string(choice);
        }
        throw UsageError(std::string(option) + ": " + Quoted(value) + " is not " + names);
    }
    return static_cast<std::size_t>(chosen - choices.begin());
}

std::int64_t CommandLine::Number(std::string_view option, std::int64_t minimum,
                                 std::int64_t maximum, std::int64_t fallback) const {
    const Use* use = LastUse(option);
    if (!use) {
        return fallback;
    }
    const std::optional<std::int64_t> value = WholeNumber(use->values.at(0), minimum, maximum);
    if (!value) {
        throw UsageError(std::string(option) + ": " + Quoted(use->values[0]) +
                         " is not a whole number " + RangeText(minimum, maximum));
    }
    return *value;
}

std::optional<double> CommandLine::Real(std::string_view option, double minimum,
                                        double maximum) const {
    const Use* use = LastUse(option);
    if (!use) {
        return std::nullopt;
    }
    const std::optional<double> value = WholeReal(use->values.at(0), minimum, maximum);
    if (!value) {
        throw UsageError(std::string(option) + ": " + Quoted(use->values[0]) + " is not a number " +
                         RangeText(minimum, maximum));
    }
    return value;
}

std::optional<std::int64_t> WholeNumber(std::string_view text, std::int64_t minimum,
                                        std::int64_t maximum) {
    std::int64_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> WholeReal(std::string_view text, double minimum, double maximum) {
    double value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || !std::isfinite(value) ||
        value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

int Fail(const ToolSyntax& syntax, std::string_view message) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(syntax.name.size()), syntax.name.data(),
                 static_cast<int>(message.size()), message.data());
    return kToolFailed;
}

int RunTool(int argc, const char* const* argv, const ToolSyntax& syntax,
            const std::function<int(const CommandLine&)>& body) {
    int status = kToolFailed;
    try {
        const CommandLine line(
            std::span<const char* const>(argv + 1, static_cast<std::size_t>(std::max(argc - 1, 0))),
            syntax.options);
        if (line.HelpWanted()) {
            std::fwrite(syntax.usage.data(), 1, syntax.usage.size(), stdout);
            status = 0;
        } else if (line.VersionWanted()) {
            std::printf("%.*s %.*s\n", static_cast<int>(syntax.name.size()), syntax.name.data(),
                        static_cast<int>(kVersionNumber.size()), kVersionNumber.data());
            status = 0;
        } else {
            status = body(line);
        }
    } catch (const UsageError& error) {
        Fail(syntax, error.what());
        std::fwrite(syntax.usage.data(), 1, syntax.usage.size(), stderr);
        return kToolFailed;
    } catch (const std::bad_alloc&) {
        std::fflush(stdout);
        return Fail(syntax, "out of memory");
    } catch (const std::exception& error) {
        std::fflush(stdout);
        return Fail(syntax, Printable(error.what()));
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        return Fail(syntax, "cannot write the output");
    }
    return status;
}

}  // namespace qv::tools
