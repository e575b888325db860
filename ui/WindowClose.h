#pragma once
// What a close of the main window does ("×", the system's close): it saves the
// settings first, and a close during a batch asks whether to stop the batch
// and leaves the window open until the batch returns.

namespace kelmora {

class BatchView;
class WindowSettings;

// Whether the window closes now.
bool windowMayClose(WindowSettings& settings, BatchView& batch);

}  // namespace kelmora
