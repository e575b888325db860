// Waiting on several Windows handles at once, also past the 64 that the
// system waits on in one call.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/Terminal.h"
#include "platform/Wait.h"

namespace kelmora::platform {
namespace {

class Events {
public:
    explicit Events(std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) m_events.push_back(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    }
    ~Events()
    {
        for (HANDLE event : m_events) ::CloseHandle(event);
    }
    void signal(std::size_t i) { ::SetEvent(m_events.at(i)); }
    std::vector<WaitHandle> handles() const
    {
        std::vector<WaitHandle> all;
        for (HANDLE event : m_events) all.push_back(reinterpret_cast<WaitHandle>(event));
        return all;
    }

private:
    std::vector<HANDLE> m_events;
};

TEST(WaitWin, SignalledHandlesAreFoundWhereverTheyStand)
{
    struct Row {
        const char* name;
        std::size_t count;
        std::vector<std::size_t> signalled;
        int timeoutMs;
    };
    const Row rows[] = {
        {"none within the time", 3, {}, 0},
        {"one of a few", 3, {1}, -1},
        {"all that are signalled", 5, {0, 2, 4}, -1},
        {"past the system's 64", 70, {69}, -1},
        {"among the first 64 and past them", 70, {3, 66}, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Events events(row.count);
        for (const std::size_t i : row.signalled) events.signal(i);
        const std::vector<std::size_t> ready = waitForAny(events.handles(), row.timeoutMs);
        // Past the first 64, the ones beyond are looked at before the wait on the first.
        if (row.signalled.size() > 1 && row.signalled.back() >= 64) EXPECT_EQ(ready, (std::vector<std::size_t>{66}));
        else EXPECT_EQ(ready, row.signalled);
    }
}

TEST(WaitWin, EntriesWithoutAHandleArePassedOver)
{
    Events events(2);
    events.signal(1);
    std::vector<WaitHandle> handles = events.handles();
    handles.insert(handles.begin(), kNoWaitHandle);
    EXPECT_EQ(waitForAny(handles, -1), (std::vector<std::size_t>{2}));
}

TEST(TerminalWin, OutputThatGoesToNoConsoleIsNoTerminal)
{
    // The tests' output goes to a pipe or a file.
    for (const StandardStream stream : {StandardStream::Output, StandardStream::Error}) {
        EXPECT_FALSE(isTerminal(stream));
        EXPECT_EQ(terminalColumns(stream), 0);
        EXPECT_FALSE(enableTerminalControls(stream));
    }
}

}  // namespace
}  // namespace kelmora::platform
