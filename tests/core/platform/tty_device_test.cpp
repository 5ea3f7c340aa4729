// The tty backend on a pseudo-terminal: exclusive open, error codes, rates,
// and the bounded write.
#include "platform/clock.h"
#include "platform/port_map.h"
#include "platform/pty.h"
#include "platform/tty_device.h"
#include "platform/user_folders.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>

namespace {

class TtyDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetSysfsRoot(testenv::TempRoot() + "/no-sysfs");
        QDir().mkpath(platform::PortsFolder());
        ASSERT_TRUE(pty.open());
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(pty.slavePath(), link));
    }
    void TearDown() override {
        QFile::remove(link);
        platform::SetSysfsRoot({});
    }
    platform::PseudoTerminal pty;
    const QString link = platform::PortsFolder() + "/COM40";
};

TEST(TtyOpenCodes, ErrnoMapsToTheCodesThePortManagementTellsApart) {
    for (int e : {ENOENT, ENODEV, ENXIO})
        EXPECT_EQ(platform::OpenErrorCode(e), 2u) << e;
    for (int e : {ENOTDIR, EISDIR, ENAMETOOLONG, ENOTTY})
        EXPECT_EQ(platform::OpenErrorCode(e), 123u) << e;
    for (int e : {EBUSY, EAGAIN})
        EXPECT_EQ(platform::OpenErrorCode(e), 5u) << e;
    // Permission denied is no busy port: the user is not in the device's group.
    for (int e : {EACCES, EPERM})
        EXPECT_EQ(platform::OpenErrorCode(e), 1314u) << e;
    EXPECT_EQ(platform::OpenErrorCode(EIO), 31u);
}

TEST_F(TtyDeviceTest, OpensExclusivelyAndPassesBytesBothWays) {
    platform::TtyDevice dev("COM40");
    const serial::OpenResult r = dev.open();
    ASSERT_EQ(r.code, 0u) << r.reason.toStdString();
    EXPECT_EQ(r.devicePath, pty.slavePath());
    EXPECT_TRUE(dev.isOpen());

    platform::TtyDevice second("COM40");
    const serial::OpenResult busy = second.open();
    EXPECT_EQ(busy.code, 5u);
    EXPECT_FALSE(busy.reason.isEmpty());
    EXPECT_FALSE(second.isOpen()) << "a failed open must not count as open";

    const std::uint8_t out[] = {0x00, 0x0D, 0x0A, 0x11, 0x13, 0xFF};
    const serial::WriteResult w = dev.writeWithin(out, sizeof out, 2000);
    EXPECT_TRUE(w.complete);
    EXPECT_EQ(pty.readExactly(sizeof out, 1000), std::vector<std::uint8_t>(out, out + sizeof out));

    ASSERT_TRUE(pty.write({0x13, 0x11, 0x7F}));
    ASSERT_TRUE(testenv::WaitFor([&] { return dev.inputCount() == 3; }));
    std::uint8_t in[8] = {};
    EXPECT_EQ(dev.readNow(in, sizeof in), 3);
    EXPECT_EQ(in[0], 0x13);
    EXPECT_EQ(in[2], 0x7F);

    dev.close();
    EXPECT_EQ(second.open().code, 0u) << "closing releases the port";
}

TEST_F(TtyDeviceTest, StandardAndCustomRates) {
    platform::TtyDevice dev("COM40");
    ASSERT_EQ(dev.open().code, 0u);
    serial::LineSettings s;
    std::uint32_t baud = 0;
    for (std::uint32_t rate : {9600u, 14400u, 115200u, 256000u, 2400u}) {
        s.baudRate = rate;
        ASSERT_TRUE(dev.applyLine(s)) << rate;
        ASSERT_TRUE(dev.readBaudRate(baud));
        EXPECT_EQ(baud, rate);
    }
    ASSERT_TRUE(dev.setBaudRate(128000));
    ASSERT_TRUE(dev.readBaudRate(baud));
    EXPECT_EQ(baud, 128000u);
    serial::ModemLines lines;
    EXPECT_TRUE(dev.modemStatus(lines));
    EXPECT_TRUE(dev.setDtr(true) && dev.setRts(true) && dev.setBreak(false));
}

TEST_F(TtyDeviceTest, WriteGivesUpAtItsLimitWhenTheLineIsStuck) {
    platform::TtyDevice dev("COM40");
    ASSERT_EQ(dev.open().code, 0u);
    // Nobody reads the master side: fill the pty until it takes no more, and
    // keep at it until the kernel, having moved what it could to the master's
    // side, has made no more room for a while.
    std::vector<std::uint8_t> block(4096, 0xA5);
    const auto fill = [&] {
        long total = 0;
        for (int i = 0; i < 1000; ++i) {
            const long n = dev.writeNow(block.data(), block.size());
            if (n <= 0)
                break;
            total += n;
        }
        return total;
    };
    fill();
    ASSERT_TRUE(testenv::WaitFor(
        [&] {
            platform::SleepMs(20);
            return fill() == 0;
        },
        std::chrono::seconds(5)));
    const auto start = std::chrono::steady_clock::now();
    const serial::WriteResult w = dev.writeWithin(block.data(), 1, 100);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(w.complete);
    EXPECT_FALSE(w.failedToStart);
    EXPECT_GE(took, std::chrono::milliseconds(100));
    EXPECT_LT(took, std::chrono::milliseconds(100 + 500));
}

TEST_F(TtyDeviceTest, HangUpFailsWritesAtOnce) {
    platform::TtyDevice dev("COM40");
    ASSERT_EQ(dev.open().code, 0u);
    pty.close();
    const std::uint8_t b = 1;
    const serial::WriteResult w = dev.writeWithin(&b, 1, 2000);
    EXPECT_FALSE(w.complete);
    EXPECT_TRUE(w.failedToStart);
    EXPECT_EQ(dev.waitWritable(2000), serial::WaitResult::Failed);
    dev.close();
    EXPECT_FALSE(dev.isOpen());
}

TEST_F(TtyDeviceTest, NamesWithoutAUsableDevice) {
    platform::TtyDevice missing("COM41");
    serial::OpenResult r = missing.open();
    EXPECT_EQ(r.code, 2u);
    EXPECT_TRUE(r.devicePath.isEmpty());

    const QString file = platform::PortsFolder() + "/plain.txt";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString entry = platform::PortsFolder() + "/COM42";
    QFile::remove(entry);
    ASSERT_TRUE(QFile::link(file, entry));
    platform::TtyDevice plain("COM42");
    r = plain.open();
    EXPECT_EQ(r.code, 123u);
    EXPECT_FALSE(plain.isOpen());
    QFile::remove(entry);
}

} // namespace
