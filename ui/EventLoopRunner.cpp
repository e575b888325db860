#include "ui/EventLoopRunner.h"

#include <QEventLoop>
#include <memory>
#include <vector>

#include "ui/ProcessEndWatch.h"

namespace kelmora {

CutRunEnd EventLoopRunner::waitForEnd()
{
    for (;;) {
        if (std::optional<CutRunEnd> end = takeEnded()) return *end;
        QEventLoop loop;
        std::vector<std::unique_ptr<ProcessEndWatch>> watches;
        for (auto& [job, run] : runs()) {
            watches.push_back(std::make_unique<ProcessEndWatch>());
            watches.back()->Watch(run, [&loop] { loop.quit(); });
        }
        loop.exec();
    }
}

}  // namespace kelmora
