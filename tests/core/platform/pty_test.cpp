#include "platform/pty.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(PseudoTerminal, BytesCrossBothWaysUnchanged) {
    platform::PseudoTerminal pty;
    ASSERT_TRUE(pty.open());
    ASSERT_FALSE(pty.slavePath().isEmpty());
    const int slave = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);

    // Raw mode: CR, LF, NUL and 0xFF pass untouched.
    const std::vector<std::uint8_t> frame{0x0D, 0x0A, 0x00, 0xFF, 0x03, 0x11, 0x13};
    ASSERT_TRUE(pty.write(frame));
    std::uint8_t got[16] = {};
    ssize_t n = 0;
    for (int i = 0; i < 100 && n < static_cast<ssize_t>(frame.size()); ++i) {
        const ssize_t r = ::read(slave, got + n, sizeof got - n);
        if (r > 0)
            n += r;
    }
    ASSERT_EQ(n, static_cast<ssize_t>(frame.size()));
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), got));

    ASSERT_EQ(::write(slave, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_EQ(pty.readExactly(frame.size(), 2000), frame);
    ::close(slave);
}

TEST(PseudoTerminal, ReadTimesOutAndCloseHangsUpTheSlave) {
    platform::PseudoTerminal pty;
    ASSERT_TRUE(pty.open());
    std::vector<std::uint8_t> out;
    EXPECT_EQ(pty.read(out, 20), 0);
    EXPECT_TRUE(pty.readExactly(3, 30).empty());

    const int slave = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    pty.close();
    std::uint8_t b = 0;
    EXPECT_LE(::read(slave, &b, 1), 0) << "the slave sees the line drop";
    ::close(slave);
    EXPECT_EQ(pty.read(out, 0), -1);
}
