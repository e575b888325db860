// What a terminal program needs of the system: a child's output through a
// pipe, waiting on several handles at once, and the interrupt key.
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

// Reads the pipe to its end, waiting on its handle between reads.
std::string readToEnd(OutputPipe& pipe)
{
    std::string text;
    const WaitHandle handles[] = {pipe.readyHandle()};
    while (pipe.readAvailable(text)) waitForAny(handles, -1);
    return text;
}

TEST(OutputPipe, CarriesAChildsOutputToItsEnd)
{
    auto pipe = OutputPipe::create();
    ASSERT_TRUE(pipe);
    StartOptions options;
    options.standardOutput = pipe->writingEnd();
    // Longer than a pipe holds at once, so the child writes while it is read.
    const std::string line(100000, 'x');
    auto child = ChildProcess::startHidden("printf", {"%s|%s", line, "end"}, options);
    ASSERT_TRUE(child);
    pipe->closeWritingEnd();
    EXPECT_EQ(readToEnd(*pipe), line + "|end");
    ASSERT_TRUE(child->waitFor(-1));
    EXPECT_EQ(child->exitStatus(), 0);
}

TEST(OutputPipe, TheEndComesWhenTheChildEndsWithoutWriting)
{
    auto pipe = OutputPipe::create();
    ASSERT_TRUE(pipe);
    StartOptions options;
    options.standardOutput = pipe->writingEnd();
    auto child = ChildProcess::startHidden("true", {}, options);
    ASSERT_TRUE(child);
    pipe->closeWritingEnd();
    EXPECT_EQ(readToEnd(*pipe), "");
    child->waitFor(-1);
}

TEST(WaitForAny, ReportsEveryReadyHandleAndPassesOverMissingOnes)
{
    auto quiet = OutputPipe::create();
    auto ended = OutputPipe::create();
    ASSERT_TRUE(quiet && ended);
    ended->closeWritingEnd();
    const WaitHandle handles[] = {quiet->readyHandle(), kNoWaitHandle, ended->readyHandle()};
    EXPECT_EQ(waitForAny(handles, -1), std::vector<std::size_t>{2});
    const WaitHandle nothingReady[] = {quiet->readyHandle(), kNoWaitHandle};
    EXPECT_TRUE(waitForAny(nothingReady, 0).empty());
}

TEST(WaitForAny, AChildsEndIsAHandleLikeAnyOther)
{
    auto child = ChildProcess::startHidden("true", {});
    ASSERT_TRUE(child);
    if (child->exitNotifier() < 0) GTEST_SKIP() << "no exit descriptor on this system";
    const WaitHandle handles[] = {child->exitNotifier()};
    EXPECT_EQ(waitForAny(handles, -1), std::vector<std::size_t>{0});
    EXPECT_TRUE(child->waitFor(0));
}

TEST(StartOptions, AChildOfItsOwnGroupIsOutOfTheTerminalsReach)
{
    for (const bool own : {false, true}) {
        SCOPED_TRACE(own ? "own group" : "our group");
        auto pipe = OutputPipe::create();
        ASSERT_TRUE(pipe);
        StartOptions options;
        options.standardOutput = pipe->writingEnd();
        options.ownProcessGroup = own;
        // The child says its own group: "pid (name) state parent group ...".
        auto child = ChildProcess::startHidden("cat", {"/proc/self/stat"}, options);
        ASSERT_TRUE(child);
        pipe->closeWritingEnd();
        const std::string said = readToEnd(*pipe);
        child->waitFor(-1);
        char state = 0;
        long parent = 0, group = 0;
        ASSERT_EQ(std::sscanf(said.c_str() + said.rfind(')') + 1, " %c %ld %ld", &state, &parent, &group), 3) << said;
        if (own) EXPECT_EQ(group, child->pid());
        else EXPECT_EQ(group, ::getpgrp());
    }
}

TEST(InterruptWatch, TheKeyIsNotedInsteadOfEndingTheProgram)
{
    struct Row {
        const char* name;
        int signal;
        int status;
    };
    const Row rows[] = {{"interrupt key", SIGINT, 130}, {"terminal closed", SIGHUP, 129}, {"asked to end", SIGTERM, 143}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        InterruptWatch watch;
        EXPECT_EQ(watch.exitStatus(), 0);
        const WaitHandle handles[] = {watch.handle()};
        EXPECT_TRUE(waitForAny(handles, 0).empty());
        ::raise(row.signal);
        ::raise(SIGINT);
        EXPECT_EQ(waitForAny(handles, -1), std::vector<std::size_t>{0});
        EXPECT_EQ(watch.takeRequests(), 2);
        EXPECT_EQ(watch.exitStatus(), row.status) << "the first request decides";
        EXPECT_TRUE(waitForAny(handles, 0).empty()) << "taken requests clear the handle";
    }
    // Without a watch the signal's own handling is back.
    struct sigaction now {};
    ::sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
