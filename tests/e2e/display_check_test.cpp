// SPDX-License-Identifier: GPL-3.0-or-later
// Without a display the program says so in one line and exits with status 1,
// instead of the toolkit's abort; a platform chosen on purpose still works.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
    bool exited = false; // false: still running after the time limit, then killed
    int status = -1;
    std::string out, err;
    std::chrono::duration<double> took{};
};

// Runs the program with exactly this environment for at most `limit`.
Outcome RunProgram(std::vector<std::string> args, std::vector<std::string> env,
                   std::chrono::milliseconds limit) {
    int out[2], err[2];
    EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
    EXPECT_EQ(pipe2(err, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<char*> argv, envp;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    for (std::string& var : env) {
        envp.push_back(var.data());
    }
    envp.push_back(nullptr);

    Outcome run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    EXPECT_EQ(spawned, 0) << argv[0];

    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0 && spawned == 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            limit - (std::chrono::steady_clock::now() - start));
        if (left.count() <= 0 || poll(fds, 2, int(left.count())) <= 0) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP))) {
                char buffer[4096];
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, std::size_t(n));
                } else {
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    if (spawned == 0) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        while (done == 0 && std::chrono::steady_clock::now() - start < limit) {
            usleep(10'000);
            done = waitpid(pid, &status, WNOHANG);
        }
        run.took = std::chrono::steady_clock::now() - start;
        if (done == pid) {
            run.exited = true;
            run.status = status;
        } else {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
    }
    close(out[0]);
    close(err[0]);
    return run;
}

const char* gProgram = nullptr;

struct NoDisplayCase {
    const char* name;
    std::vector<std::string> options;
    std::vector<std::string> env;
};

void PrintTo(const NoDisplayCase& c, std::ostream* os) {
    *os << c.name;
}

class NoDisplayTest : public testing::TestWithParam<NoDisplayCase> {};

TEST_P(NoDisplayTest, SaysSoAndExitsWithOne) {
    std::vector<std::string> args{gProgram};
    args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
    const Outcome run = RunProgram(args, GetParam().env, std::chrono::seconds(5));
    ASSERT_TRUE(run.exited) << "still running after 5 s";
    ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << WTERMSIG(run.status);
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_EQ(run.err, drill::kNoDisplayMessage);
    EXPECT_EQ(run.out, "");
    EXPECT_LT(run.took.count(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Program, NoDisplayTest,
    testing::Values(NoDisplayCase{"EmptyEnvironment", {}, {"PATH=/usr/bin:/bin"}},
                    NoDisplayCase{"NoSuchDisplay", {}, {"PATH=/usr/bin:/bin", "DISPLAY=:987"}},
                    NoDisplayCase{
                        "NoSuchDisplayOption", {"-display", ":987"}, {"PATH=/usr/bin:/bin"}}),
    [](const testing::TestParamInfo<NoDisplayCase>& info) { return info.param.name; });

// A platform chosen on purpose is the toolkit's business: the program starts
// (and is still running when stopped) though no display exists.
TEST(ChosenPlatform, StillStarts) {
    for (const auto& [args, env] :
         std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>>{
             {{gProgram, "-platform", "offscreen"}, {"DISPLAY=:987"}},
             {{gProgram}, {"DISPLAY=:987", "QT_QPA_PLATFORM=offscreen"}}}) {
        const Outcome run = RunProgram(args, env, std::chrono::milliseconds(1500));
        EXPECT_FALSE(run.exited) << args.size() << " arguments: exited with " << run.status << ": "
                                 << run.err;
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
