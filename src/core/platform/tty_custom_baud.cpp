// The kernel's termios2 carries the rate as a plain number. Its header clashes
// with the C library's <termios.h>, so it lives in a file of its own.
#include "platform/tty_device.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace platform {

bool SetCustomBaud(int fd, std::uint32_t baud) {
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    tio.c_cflag &= ~CBAUD;
    tio.c_cflag |= BOTHER;
    tio.c_cflag &= ~(CBAUD << IBSHIFT); // input follows the output rate
    tio.c_ospeed = baud;
    tio.c_ispeed = baud;
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}

bool GetActualBaud(int fd, std::uint32_t& baud) {
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    baud = tio.c_ospeed;
    return true;
}

} // namespace platform
