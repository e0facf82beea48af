#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string_view>
#include <tuple>
#include <vector>

#include "game/command_line.h"

namespace qv {
namespace {

using Action = CommandLine::Action;

CommandLine parse(std::vector<std::string_view> arguments) { return parseCommandLine(arguments); }

// What a player can type, and what the game makes of it. Files a launcher passes are no options.
TEST(CommandLineOptions, AcceptedLinesChooseWhatTheProgramDoes) {
    const struct {
        std::vector<std::string_view> arguments;
        Action action;
        std::optional<int32_t> scale;
        bool fullscreen = false;
        std::string recordPath = {};
        std::string replayPath = {};
    } cases[] = {
        {{}, Action::play, std::nullopt},
        {{"--scale", "2"}, Action::play, 2},
        {{"--scale=8"}, Action::play, 8},
        {{"--scale", "1"}, Action::play, 1},
        {{"--scale", "3", "--scale", "5"}, Action::play, 5},
        {{"picture.bmp", "--scale", "4", "other file"}, Action::play, 4},
        {{"--", "-not-an-option", "--scale", "--fullscreen"}, Action::play, std::nullopt},
        {{"--fullscreen"}, Action::play, std::nullopt, true},
        {{"--scale", "3", "--fullscreen"}, Action::play, 3, true},
        {{"--help"}, Action::showHelp, std::nullopt},
        {{"-h"}, Action::showHelp, std::nullopt},
        {{"--version"}, Action::showVersion, std::nullopt},
        {{"--version", "-h"}, Action::showHelp, std::nullopt},
        {{"--record", "game.replay"}, Action::play, std::nullopt, false, "game.replay"},
        {{"--replay=old.replay", "--record=new.replay"}, Action::play, std::nullopt, false, "new.replay", "old.replay"},
        {{"--replay", "a", "--replay", "b", "--fullscreen"}, Action::play, std::nullopt, true, "", "b"},
        {{"--record=-odd name"}, Action::play, std::nullopt, false, "-odd name"},
        {{"--record", "x=y"}, Action::play, std::nullopt, false, "x=y"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parse(c.arguments);
        EXPECT_EQ(std::tuple(line.action, line.scale, line.fullscreen, line.recordPath, line.replayPath, line.error),
                  std::tuple(c.action, c.scale, c.fullscreen, c.recordPath, c.replayPath, std::string()))
            << ::testing::PrintToString(c.arguments);
    }
}

// A mistake is refused with one line in the program's voice that names what was wrong and points
// to --help, even beside --help.
TEST(CommandLineOptions, MistakesAreRefusedWithALineNamingThem) {
    const struct {
        std::vector<std::string_view> arguments;
        std::string_view named;
    } cases[] = {
        {{"--scale", "0"}, "'0'"},     {{"--scale", "9"}, "'9'"},       {{"--scale", "-1"}, "'-1'"},
        {{"--scale", "2x"}, "'2x'"},   {{"--scale", "+2"}, "'+2'"},     {{"--scale", " 2"}, "' 2'"},
        {{"--scale", "1.5"}, "'1.5'"}, {{"--scale", ""}, "''"},         {{"--scale=0"}, "'0'"},
        {{"--scale="}, "''"},          {{"--scale", "99999999999"}, "'99999999999'"},
        {{"--scale"}, "--scale needs a value"},
        {{"--help", "--full-screen"}, "'--full-screen'"},
        {{"-H"}, "'-H'"},              {{"--Scale", "2"}, "'--Scale'"}, {{"-"}, "'-'"},
        {{"--record"}, "--record needs a file"},  {{"--record="}, "--record needs a file"},
        {{"--record", "--fullscreen"}, "--record needs a file"}, {{"--replay", "-"}, "--replay needs a file"},
        {{"--recording", "x"}, "'--recording'"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parse(c.arguments);
        EXPECT_EQ(line.action, Action::refuse) << ::testing::PrintToString(c.arguments);
        EXPECT_NE(line.error.find(c.named), std::string::npos) << line.error;
        EXPECT_TRUE(line.error.starts_with("quorvantile: ")) << line.error;
        EXPECT_TRUE(line.error.ends_with("'quorvantile --help' lists the options")) << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
}

// The usage names every option and every key a player has.
TEST(CommandLineOptions, VersionLineNamesTheProgramAndUsageTheOptionsAndKeys) {
    EXPECT_TRUE(::testing::Matches(::testing::MatchesRegex("quorvantile [0-9]+\\.[0-9]+\\.[0-9]+"))(versionLine()))
        << versionLine();
    const std::string usage = usageText();
    EXPECT_TRUE(usage.starts_with("usage: quorvantile ")) << usage;
    for (const char* told : {"--scale N", "--fullscreen", "--record FILE", "--replay FILE", "-h, --help", "--version",
                             "F11", "Alt+Enter", "Escape", "P, Pause"}) {
        EXPECT_NE(usage.find(told), std::string::npos) << told << " missing from\n" << usage;
    }
}

}  // namespace
}  // namespace qv
