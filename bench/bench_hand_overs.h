// The instant each write of the program returned on its side of the line:
// what the program controls, before the pseudo-terminal and the unit's
// reading thread add their own delays. It wraps the device the program opens
// ports with: the tty device, on Windows the COM device (tty_device.h), whose
// write returns once the bytes are handed to the driver.
#pragma once

#include "bench_common.h"

#include "platform/tty_device.h"

#include <functional>

namespace bench {

class HandOvers : public platform::TtyDevice {
public:
    using Seen =
        std::function<void(const std::uint8_t* data, std::size_t count, Clock::time_point)>;
    HandOvers(const QString& comName, Seen seen)
        : platform::TtyDevice(comName), seen_(std::move(seen)) {}
    long writeNow(const std::uint8_t* data, std::size_t count) override {
        const long n = platform::TtyDevice::writeNow(data, count);
        if (n > 0)
            seen_(data, static_cast<std::size_t>(n), Clock::now());
        return n;
    }

private:
    Seen seen_;
};

} // namespace bench
