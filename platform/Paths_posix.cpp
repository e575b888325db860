#include "platform/Paths.h"

namespace kelmora::platform {

PathStyle nativePathStyle() { return PathStyle::Posix; }

}  // namespace kelmora::platform
