// SPDX-License-Identifier: GPL-3.0-or-later
// Without a display the program says so in one line and exits with status 1,
// instead of the toolkit's abort; a platform chosen on purpose still works.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "display_check.h"

namespace {

using drill::DisplayEnvironment;
using drill::DisplayPlan;
using drill::PlanDisplayCheck;

struct PlanCase {
    const char* name;
    std::vector<const char*> args;
    DisplayEnvironment env;
    DisplayPlan plan;
};

void PrintTo(const PlanCase& c, std::ostream* os) {
    *os << c.name;
}

class PlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, Plan) {
    const PlanCase& c = GetParam();
    const DisplayPlan got = PlanDisplayCheck(c.args, c.env);
    EXPECT_EQ(got.kind, c.plan.kind);
    EXPECT_EQ(got.x11Display, c.plan.x11Display);
}

const char* const kProgram = "transpose-drill";

INSTANTIATE_TEST_SUITE_P(
    Environments, PlanTest,
    testing::Values(
        PlanCase{"Nothing", {kProgram}, {}, {DisplayPlan::Missing}},
        PlanCase{"X11", {kProgram}, {"", "", ":0"}, {DisplayPlan::TryX11, ":0"}},
        PlanCase{"Wayland", {kProgram}, {"", "wayland-0", ""}, {DisplayPlan::LeaveToToolkit}},
        PlanCase{"Both", {kProgram}, {"", "wayland-0", ":0"}, {DisplayPlan::LeaveToToolkit}},
        PlanCase{
            "PlatformVariable", {kProgram}, {"offscreen", "", ""}, {DisplayPlan::LeaveToToolkit}},
        PlanCase{"PlatformOption",
                 {kProgram, "-platform", "offscreen"},
                 {},
                 {DisplayPlan::LeaveToToolkit}},
        PlanCase{"PlatformDoubleDash",
                 {kProgram, "--platform", "offscreen"},
                 {},
                 {DisplayPlan::LeaveToToolkit}},
        PlanCase{"DisplayOption",
                 {kProgram, "-display", ":5"},
                 {"", "", ":0"},
                 {DisplayPlan::TryX11, ":5"}},
        PlanCase{
            "DisplayOptionAlone", {kProgram, "--display", ":5"}, {}, {DisplayPlan::TryX11, ":5"}},
        // An option without its value is the toolkit's to complain about.
        PlanCase{"DisplayOptionLast", {kProgram, "-display"}, {}, {DisplayPlan::Missing}},
        // Only the program's own name: "-platform" here is no option.
        PlanCase{"ProgramNamedLikeOption", {"-platform"}, {}, {DisplayPlan::Missing}}),
    [](const testing::TestParamInfo<PlanCase>& info) { return info.param.name; });

struct Outcome {
    int status = -1; // the shell's: 128 + N after signal N
    std::string err;
};

const char* gProgram = nullptr;

// Runs the program through the shell with exactly the environment given
// (env -i) and reads what it writes on stderr.
Outcome RunProgram(const std::string& environment, const std::string& options,
                   const std::string& limit = "") {
    const std::string command = limit + "env -i PATH=/usr/bin:/bin " + environment + " '" +
                                gProgram + "' " + options + " 2>&1 >/dev/null";
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return outcome;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        outcome.err.append(buffer, n);
    }
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

struct NoDisplayCase {
    const char* name;
    const char* environment;
    const char* options;
};

void PrintTo(const NoDisplayCase& c, std::ostream* os) {
    *os << c.name;
}

class NoDisplayTest : public testing::TestWithParam<NoDisplayCase> {};

// A program left waiting for a display is killed, which no slow machine needs.
TEST_P(NoDisplayTest, SaysSoAndExitsWithOne) {
    const Outcome run =
        RunProgram(GetParam().environment, GetParam().options, "timeout -s KILL 60 ");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, drill::kNoDisplayMessage);
}

INSTANTIATE_TEST_SUITE_P(Program, NoDisplayTest,
                         testing::Values(NoDisplayCase{"EmptyEnvironment", "", ""},
                                         NoDisplayCase{"NoSuchDisplay", "DISPLAY=:987", ""},
                                         NoDisplayCase{"NoSuchDisplayOption", "", "-display :987"}),
                         [](const testing::TestParamInfo<NoDisplayCase>& info) {
                             return info.param.name;
                         });

// A platform chosen on purpose is the toolkit's business: the program starts
// though no display exists, and is still running when stopped.
TEST(ChosenPlatform, StillStarts) {
    const std::string limit = "timeout -s KILL 1.5 ";
    for (const auto& [environment, options] :
         {std::pair{"DISPLAY=:987", "-platform offscreen"},
          std::pair{"DISPLAY=:987 QT_QPA_PLATFORM=offscreen", ""}}) {
        const Outcome run = RunProgram(environment, options, limit);
        EXPECT_EQ(run.status, 128 + SIGKILL) << environment << " " << options << ": " << run.err;
        EXPECT_EQ(run.err.find("no graphical display"), std::string::npos) << run.err;
    }
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM\n", argv[0]);
        return 2;
    }
    gProgram = argv[1];
    return RUN_ALL_TESTS();
}
