#include "command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "json_writer.h"
#include "text/printable.h"

namespace qv::tools {
namespace {

constexpr OptionRule kRules[] = {{"--json", 0}, {"--by", 1}, {"--trip", 2}, {"--max", 1}};

CommandLine Read(std::vector<const char*> arguments) {
    return CommandLine(arguments, kRules);
}

TEST(WholeNumber, TakesOnlyAWholeDecimalOrRealWithinItsRange) {
    EXPECT_EQ(WholeNumber("5", 0, 5), 5);
    EXPECT_EQ(WholeNumber("-3", -3, 5), -3);
    EXPECT_EQ(WholeNumber("007", 0, 9), 7);
    for (const char* refused : {"6", "-1", "0-5", "5--", "2x", "", "-", "+1", " 1", "1 ", "0x1",
                                "1.0", "99999999999999999999"}) {
        EXPECT_EQ(WholeNumber(refused, 0, 5), std::nullopt) << refused;
    }
    EXPECT_EQ(WholeReal("0.3", 0.3, 1), 0.3);
    EXPECT_EQ(WholeReal("1", 0.3, 1), 1.0);
    for (const char* refused :
         {"0.29", "1.01", "0.5x", " 0.5", "+0.5", "nan", "inf", "", "1e999"}) {
        EXPECT_EQ(WholeReal(refused, 0.3, 1), std::nullopt) << refused;
    }
}

TEST(CommandLine, OptionsGoAnywhereAndDoubleDashEndsThem) {
    const CommandLine line = Read({"map", "--by", "-x", "--json", "-", "--", "--max", "-h"});
    EXPECT_TRUE(line.Has("--json"));
    EXPECT_EQ(line.Text("--by", ""), "-x");  // a value is taken whatever it looks like
    EXPECT_EQ(line.Plain(), (std::vector<std::string>{"map", "-", "--max", "-h"}));
}

TEST(CommandLine, RefusesUnknownOptionsAndMissingValues) {
    for (const auto& arguments : std::vector<std::vector<const char*>>{
             {"--jsn", "map"}, {"-j"}, {"--json=1"}, {"map", "--by"}, {"--trip", "a"}}) {
        EXPECT_THROW(Read(arguments), UsageError) << arguments.front();
    }
    EXPECT_NO_THROW(Read({"--trip", "a", "b"}));  // values that end the line
}

TEST(CommandLine, TheFirstOfHelpAndVersionBeforeDoubleDashWinsOverEverythingElse) {
    // The arguments, then whether help and the version are wanted.
    const std::tuple<std::vector<const char*>, bool, bool> cases[] = {
        {{"--bogus", "--help"}, true, false},
        {{"--", "--help"}, false, false},
        {{"--bogus", "--version", "--help"}, false, true},
        {{"--help", "--version"}, true, false},
        {{"-h"}, true, false},
        {{"--by", "--version"}, false, true},
        {{"-version", "--versions"}, false, false},
    };
    for (const auto& [arguments, help, version] : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        try {
            const CommandLine line = Read(arguments);
            EXPECT_EQ(line.HelpWanted(), help);
            EXPECT_EQ(line.VersionWanted(), version);
        } catch (const UsageError& error) {
            EXPECT_FALSE(help || version) << error.what();
        }
    }
}

TEST(CommandLine, RepeatedOptionsKeepEveryUseAndTheLastCounts) {
    const CommandLine line =
        Read({"--trip", "a", "b", "--by", "time", "--trip", "c", "d", "--by", "transfers"});
    EXPECT_EQ(line.Uses("--trip"), (std::vector<std::vector<std::string>>{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(line.Choice("--by", {"transfers", "time"}, 1), 0u);
    EXPECT_EQ(line.GivenOptions().size(), 4u);
}

TEST(CommandLine, TypedValuesAreCheckedWithTheOptionNamed) {
    EXPECT_EQ(Read({}).Number("--max", 0, 9, 3), 3);
    EXPECT_EQ(Read({"--max", "9"}).Number("--max", 0, 9, 3), 9);
    EXPECT_THROW(Read({"--by", "speed"}).Choice("--by", {"transfers", "time"}, 0), UsageError);
    EXPECT_THROW(Read({"--max", "0.1"}).Real("--max", 0.3, 1), UsageError);
    EXPECT_EQ(Read({}).Real("--max", 0.3, 1), std::nullopt);
}

// Runs a tool body through the runner, capturing both streams.
struct ToolRun {
    int status;
    std::string out;
    std::string err;
    bool bodyRan;
};

ToolRun RunWith(std::vector<const char*> arguments, const std::function<int()>& body) {
    static constexpr ToolSyntax kSyntax{"tool", "usage: tool [--json] FILE\n", kRules};
    arguments.insert(arguments.begin(), "tool");
    bool ran = false;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = RunTool(static_cast<int>(arguments.size()), arguments.data(), kSyntax,
                               [&](const CommandLine&) {
                                   ran = true;
                                   return body();
                               });
    std::string out = ::testing::internal::GetCapturedStdout();
    return {status, out, ::testing::internal::GetCapturedStderr(), ran};
}

TEST(RunTool, HelpAndVersionSucceedWithoutRunningTheToolAndEveryFailureIsOneReason) {
    // The arguments, then the status, the output (a pattern) and the error; the tool never runs.
    const std::tuple<std::vector<const char*>, int, std::string, std::string> cases[] = {
        {{"--help"}, 0, R"(usage: tool \[--json\] FILE\n)", ""},
        {{"--version", "--bogus"}, 0, R"(tool [0-9]+\.[0-9]+\.[0-9]+\n)", ""},
        {{"--bogus"}, 2, "", "tool: unknown option \"--bogus\"\nusage: tool [--json] FILE\n"},
    };
    for (const auto& [arguments, status, out, err] : cases) {
        const ToolRun run = RunWith(arguments, [] { return 1; });
        EXPECT_EQ(run.status, status) << err;
        EXPECT_TRUE(std::regex_match(run.out, std::regex(out))) << run.out;
        EXPECT_EQ(run.err, err);
        EXPECT_FALSE(run.bodyRan) << err;
    }
    const ToolRun memory = RunWith({}, []() -> int { throw std::bad_alloc(); });
    EXPECT_EQ(std::tuple(memory.status, memory.err), std::tuple(2, "tool: out of memory\n"));
    const ToolRun other = RunWith({}, []() -> int { throw std::runtime_error("broken\npipe"); });
    EXPECT_EQ(std::tuple(other.status, other.err), std::tuple(2, "tool: broken\\npipe\n"));
}

TEST(Printable, EscapesWhatCouldBreakOrForgeALine) {
    const std::pair<std::string, std::string> cases[] = {
        {"Пример अ🚇.qvn", "Пример अ🚇.qvn"},
        {"a\nb: ok: x\r\t", "a\\nb: ok: x\\r\\t"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\x1b[2J\x7f", "\\x1B[2J\\x7F"},
        {"back\\slash", "back\\\\slash"},
        {"\xff.qvn", "\\xFF.qvn"},
        {"\xd0", "\\xD0"},                    // cut short
        {"\xc0\xaf", "\\xC0\\xAF"},           // overlong
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},  // a surrogate
        {"\xc2\x85|\xe2\x80\xa8", "\\u0085|\\u2028"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(Printable(text), shown) << shown;
    }
}

std::string JsonObject(std::string_view text) {
    std::string written(128, '\0');
    std::FILE* stream = fmemopen(written.data(), written.size(), "w");
    JsonWriter(stream).BeginObject().Member(text, text).EndObject().EndLine();
    const long end = std::ftell(stream);
    std::fclose(stream);
    written.resize(static_cast<std::size_t>(end));
    return written;
}

TEST(JsonWriter, QuotesBackslashesAndControlCharactersAreEscapedInKeysAndValues) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {R"(say "hi")", R"("say \"hi\"")"},
        {"a\\b", R"("a\\b")"},
        {"one\ntwo\r\n\tcell", R"("one\ntwo\r\n\tcell")"},
        {std::string_view("\0\x01\x1f\x1b[2J", 7), R"("\u0000\u0001\u001f\u001b[2J")"},
        // Past the control characters, and UTF-8, as they are.
        {" ~\x7f\xd1\x91", "\" ~\x7f\xd1\x91\""},
    };
    for (const auto& [text, quoted] : cases) {
        EXPECT_EQ(JsonObject(text), "{" + std::string(quoted) + ":" + std::string(quoted) + "}\n");
    }
}

}  // namespace
}  // namespace qv::tools
