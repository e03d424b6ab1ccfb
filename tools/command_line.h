#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "text/language.h"

namespace qv::tools {

// The rules every tool's command line follows:
// - "--help" or "-h" before "--" prints the usage on standard output and ends with status 0;
//   "--version" there prints "NAME VERSION" instead; the first of them counts;
// - an argument that starts with "-" (other than "-" alone) before "--" is an option, and an
//   option the tool does not know is refused;
// - an option takes its values from the arguments after it, whatever they look like;
// - "--" ends the options: every argument after it is a plain argument;
// - a number is the whole argument, in decimal, and within the range the option allows.
// Whatever is refused ends the tool with status 2, a one-line reason and the usage.

inline constexpr int kToolFailed = 2;

// An option a tool knows, with how many values follow it (0 for a switch).
struct OptionRule {
    std::string_view name;
    int values = 0;
};

// A command-line argument the tool refuses; the runner prints the reason and the usage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A tool's command line, read once by the rules above.
class CommandLine {
  public:
    // Throws UsageError for an unknown option or an option without its values.
    CommandLine(std::span<const char* const> arguments, std::span<const OptionRule> rules);

    bool HelpWanted() const { return helpWanted_; }
    bool VersionWanted() const { return versionWanted_; }
    const std::vector<std::string>& Plain() const { return plain_; }
    // Options given, in their order; used to tell which apply to a tool's sub-command.
    std::vector<std::string_view> GivenOptions() const;

    bool Has(std::string_view option) const;
    // The values of every use of the option, in order.
    std::vector<std::vector<std::string>> Uses(std::string_view option) const;
    // The value of the option's last use, or the fallback when it is not given.
    std::string Text(std::string_view option, std::string fallback) const;
    // One of `choices`, given as the option's last value; its position in the list.
    std::size_t Choice(std::string_view option, std::initializer_list<std::string_view> choices,
                       std::size_t fallback) const;
    std::int64_t Number(std::string_view option, std::int64_t minimum, std::int64_t maximum,
                        std::int64_t fallback) const;
    std::optional<double> Real(std::string_view option, double minimum, double maximum) const;
    // The language --lang names ("en" or "ru"), else the one the locale asks for.
    Language LanguageWanted() const;

  private:
    struct Use {
        std::string_view option;
        std::vector<std::string> values;
    };
    const Use* LastUse(std::string_view option) const;

    std::vector<Use> uses_;
    std::vector<std::string> plain_;
    bool helpWanted_ = false;
    bool versionWanted_ = false;
};

// The whole text as a decimal number from minimum to maximum: digits with an optional "-", no
// spaces, no sign "+", nothing after the digits.
std::optional<std::int64_t> WholeNumber(std::string_view text,
                                        std::int64_t minimum = std::numeric_limits<int>::min(),
                                        std::int64_t maximum = std::numeric_limits<int>::max());
std::optional<double> WholeReal(std::string_view text, double minimum, double maximum);

// What a tool is called and how it is used, for its messages.
struct ToolSyntax {
    std::string_view name;
    std::string_view usage;  // whole lines, each ended by "\n"
    std::span<const OptionRule> options;
};

// Reads the command line and runs the tool's body with it, standing between the body and the
// shell: prints the usage for --help and the version for --version, refuses bad arguments, and
// turns running out of memory or any other escaping exception, and a standard output that cannot be
// written, into a one-line reason and status 2.
int RunTool(int argc, const char* const* argv, const ToolSyntax& syntax,
            const std::function<int(const CommandLine&)>& body);

// Prints "NAME: MESSAGE" on standard error; returns kToolFailed for the caller to return.
int Fail(const ToolSyntax& syntax, std::string_view message);

}  // namespace qv::tools
