#include "platform/console.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

void UseUtf8Console() {
#ifdef _WIN32
    ::SetConsoleOutputCP(CP_UTF8);
#endif
}

} // namespace platform
