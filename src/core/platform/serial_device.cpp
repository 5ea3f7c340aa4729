#include "platform/serial_device.h"

#include "platform/clock.h"

namespace serial {

namespace {

DeviceFactory& Factory() {
    static DeviceFactory factory;
    return factory;
}

} // namespace

void SetDeviceFactory(DeviceFactory factory) {
    Factory() = std::move(factory);
}

const DeviceFactory& InstalledDeviceFactory() {
    return Factory();
}

WriteResult SerialDevice::writeWithin(const std::uint8_t* data, std::size_t count, int limitMs) {
    WriteResult result;
    if (count == 0) {
        result.complete = true;
        return result;
    }
    const long first = writeNow(data, count);
    if (first < 0) {
        result.failedToStart = true;
        return result;
    }
    return finishWrite(data, count, static_cast<std::size_t>(first), limitMs);
}

WriteResult SerialDevice::finishWrite(const std::uint8_t* data, std::size_t count, std::size_t done,
                                      int limitMs) {
    WriteResult result;
    result.transferred = done;
    const std::uint32_t start = platform::TickCount();
    while (result.transferred < count) {
        const int left = limitMs - static_cast<int>(platform::TickCount() - start);
        if (left <= 0 || waitWritable(left) != WaitResult::Ready)
            return result;
        const long n = writeNow(data + result.transferred, count - result.transferred);
        if (n < 0)
            return result;
        result.transferred += static_cast<std::size_t>(n);
    }
    result.complete = true;
    return result;
}

} // namespace serial
