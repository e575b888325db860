#include "platform/Beep.h"

#include <windows.h>

namespace kelmora::platform {

void systemBeep() { ::MessageBeep(MB_OK); }

}  // namespace kelmora::platform
