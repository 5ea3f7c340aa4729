#include "platform/pty.h"

#include "platform/clock.h"

namespace platform {

std::vector<std::uint8_t> PseudoTerminal::readExactly(std::size_t count, int timeoutMs) {
    std::vector<std::uint8_t> out;
    const std::uint32_t start = TickCount();
    while (out.size() < count) {
        const int left = timeoutMs - static_cast<int>(TickCount() - start);
        if (left <= 0)
            break;
        if (read(out, left, count - out.size()) < 0)
            break;
    }
    return out;
}

} // namespace platform
