#include "platform/CodePage.h"

namespace kelmora::platform {

// File names and texts are UTF-8 here; the locale is not consulted, since the
// names on disk are bytes whatever it says.
CodePage systemCodePage() { return CodePage::Utf8; }

}  // namespace kelmora::platform
