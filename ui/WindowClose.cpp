#include "ui/WindowClose.h"

#include <QString>

#include "ui/BatchView.h"
#include "ui/Notice.h"
#include "ui/WindowSettings.h"

namespace kelmora {

bool windowMayClose(WindowSettings& settings, BatchView& batch)
{
    // A second "×" while the first close waits for the settings file: that close decides.
    if (settings.saving()) return false;
    if (batch.running()) {
        const bool stop = askQuestion(QStringLiteral("カット中です。中止して閉じますか？"));
        // The settings are saved (or the user closes without them); the
        // program ends once the batch returns, without saving again.
        if (settings.saveBeforeClose()) batch.closeWhenDone(stop);
        return false;
    }
    return batch.closingAfterBatch() || settings.saveBeforeClose();
}

}  // namespace kelmora
