#include "platform/Paths.h"

namespace kelmora::platform {

PathStyle nativePathStyle() { return PathStyle::Windows; }

}  // namespace kelmora::platform
