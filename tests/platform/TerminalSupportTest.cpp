// What a terminal program needs of the system: a child's output through a
// pipe, waiting on several handles at once, a child out of the terminal's
// reach, and the interrupt key noted instead of ending the program.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "platform/Interrupt.h"
#include "platform/OutputPipe.h"
#include "platform/Process.h"
#include "platform/Wait.h"

using namespace kelmora::platform;

namespace {

// Starts program with its output into a new pipe, and reads the pipe to its end.
std::string outputOf(const std::string& program, const std::vector<std::string>& arguments, bool ownGroup, long* pid)
{
    auto pipe = OutputPipe::create();
    EXPECT_TRUE(pipe);
    StartOptions options;
    options.standardOutput = pipe->writingEnd();
    options.ownProcessGroup = ownGroup;
    auto child = ChildProcess::startHidden(program, arguments, options);
    EXPECT_TRUE(child);
    pipe->closeWritingEnd();
    std::string text;
    const WaitHandle handles[] = {pipe->readyHandle()};
    while (pipe->readAvailable(text)) waitForAny(handles, -1);
    if (pid) *pid = child->pid();
    const WaitHandle ended[] = {child->exitNotifier()};
    EXPECT_EQ(waitForAny(ended, -1), std::vector<std::size_t>{0}) << "a child's end is a handle like any other";
    EXPECT_TRUE(child->waitFor(0));
    return text;
}

TEST(OutputPipe, CarriesAChildsOutputToItsEnd)
{
    // More than a pipe holds at once: the child writes while it is read.
    const std::string line(100000, 'x');
    EXPECT_EQ(outputOf("printf", {"%s|%s", line, "end"}, false, nullptr), line + "|end");
    EXPECT_EQ(outputOf("true", {}, false, nullptr), "");
}

TEST(WaitForAny, ReportsTheReadyHandlesAndPassesOverMissingOnes)
{
    auto quiet = OutputPipe::create(), ended = OutputPipe::create();
    ended->closeWritingEnd();
    const WaitHandle handles[] = {quiet->readyHandle(), kNoWaitHandle, ended->readyHandle()};
    EXPECT_EQ(waitForAny(handles, -1), std::vector<std::size_t>{2});
    EXPECT_TRUE(waitForAny(std::span(handles, 2), 0).empty());
}

TEST(StartOptions, AChildOfItsOwnGroupIsOutOfTheTerminalsReach)
{
    for (const bool own : {false, true}) {
        // The child says its group: "pid (name) state parent group ...".
        long pid = 0;
        const std::string stat = outputOf("cat", {"/proc/self/stat"}, own, &pid);
        long parent = 0, group = 0;
        ASSERT_EQ(std::sscanf(stat.c_str() + stat.rfind(')') + 1, " %*c %ld %ld", &parent, &group), 2) << stat;
        EXPECT_EQ(group, own ? pid : ::getpgrp()) << own;
    }
}

TEST(InterruptWatch, RequestsAreNotedInsteadOfEndingTheProgram)
{
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, {SIGHUP, 129}, {SIGTERM, 143}}) {
        InterruptWatch watch;
        const WaitHandle handles[] = {watch.handle()};
        EXPECT_TRUE(waitForAny(handles, 0).empty());
        ::raise(signal);
        ::raise(SIGINT);
        EXPECT_EQ(waitForAny(handles, -1), std::vector<std::size_t>{0});
        EXPECT_EQ(watch.takeRequests(), 2);
        EXPECT_EQ(watch.exitStatus(), status) << "the first request decides";
        EXPECT_TRUE(waitForAny(handles, 0).empty()) << "taken requests clear the handle";
    }
    struct sigaction now {};
    ::sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << "without a watch the signal ends the program again";
}

}  // namespace
