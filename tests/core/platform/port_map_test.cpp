// The port map over a fake kernel device tree and a fake ports folder.
#include "platform/port_map.h"
#include "platform/user_folders.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PortMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sysfs.isValid());
        platform::SetSysfsRoot(sysfs.path());
        QDir(platform::PortsFolder()).removeRecursively();
        QDir().mkpath(platform::PortsFolder());
    }
    void TearDown() override {
        platform::SetSysfsRoot({});
        QDir(platform::PortsFolder()).removeRecursively();
    }
    // A /sys/class/tty/<name> entry; type < 0 leaves the type file out.
    void tty(const QString& name, bool device, int type = -1) {
        const QString dir = sysfs.path() + "/class/tty/" + name;
        QDir().mkpath(dir);
        if (device)
            QDir().mkpath(dir + "/device");
        if (type >= 0) {
            QFile f(dir + "/type");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::number(type) + "\n");
        }
    }
    void link(const QString& name, const QString& target) {
        ASSERT_TRUE(QFile::link(target, platform::PortsFolder() + "/" + name));
    }
    // "COM1=/dev/ttyS0 COM5=/dev/pts/9* ...", explicit entries starred.
    static std::string names(const QList<platform::PortMapEntry>& list) {
        QStringList out;
        for (const auto& e : list)
            out << e.comName + "=" + e.devicePath + (e.isExplicit ? "*" : "");
        return out.join(' ').toStdString();
    }
    QTemporaryDir sysfs;
};

TEST_F(PortMapTest, AutomaticEntriesNeedHardwareAndAreNumberedByFamily) {
    tty("ttyS0", true, 4); // a 16550A: COM1
    tty("ttyS1", true, 0); // listed by the kernel, no UART: skipped
    tty("ttyS2", true);    // no type file, but a device: COM3
    tty("ttyS3", false);   // neither: skipped
    tty("ttyUSB0", true);  // COM33
    tty("ttyUSB1", false); // skipped
    tty("ttyACM0", true);  // COM65
    tty("ttyACM31", true); // COM96, the last number
    tty("ttyACM32", true); // COM97: skipped
    tty("ttyUSB70", true); // COM103: skipped
    tty("tty1", true);     // not a serial family
    tty("console", true);
    EXPECT_EQ(names(platform::ListPorts()),
              "COM1=/dev/ttyS0 COM3=/dev/ttyS2 COM33=/dev/ttyUSB0 COM65=/dev/ttyACM0 "
              "COM96=/dev/ttyACM31");
}

TEST_F(PortMapTest, ExplicitEntriesComeFirstAndTakeTheirNames) {
    tty("ttyUSB0", true); // would be COM33
    tty("ttyS0", true, 4);
    link("COM33", "/dev/pts/9");
    link("COM5", "/dev/serial/by-id/usb-adapter");
    link("COM0", "/dev/pts/1");
    link("COM97", "/dev/pts/2");
    link("com6", "/dev/pts/3");
    link("COMX", "/dev/pts/4");
    link("COM07", "/dev/pts/5");
    QFile notes(platform::PortsFolder() + "/notes.txt");
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    EXPECT_EQ(names(platform::ListPorts()),
              "COM1=/dev/ttyS0 COM5=/dev/serial/by-id/usb-adapter* COM33=/dev/pts/9*");
    EXPECT_EQ(platform::ResolvePort("COM33"), "/dev/pts/9");
    EXPECT_EQ(platform::ResolvePort("COM1"), "/dev/ttyS0");
    EXPECT_EQ(platform::ResolvePort("COM2"), "");
}

TEST_F(PortMapTest, EmptyOrMissingFoldersGiveAnEmptyMap) {
    platform::SetSysfsRoot(sysfs.path() + "/absent");
    QDir(platform::PortsFolder()).removeRecursively();
    EXPECT_TRUE(platform::ListPorts().isEmpty());
    EXPECT_EQ(platform::ResolvePort("COM1"), "");
}

TEST(PortMapNumbers, FamiliesAndOffsets) {
    EXPECT_EQ(platform::AutomaticComNumber("ttyS0"), 1);
    EXPECT_EQ(platform::AutomaticComNumber("ttyS31"), 32);
    EXPECT_EQ(platform::AutomaticComNumber("ttyUSB0"), 33);
    EXPECT_EQ(platform::AutomaticComNumber("ttyUSB2"), 35);
    EXPECT_EQ(platform::AutomaticComNumber("ttyACM0"), 65);
    EXPECT_EQ(platform::AutomaticComNumber("ttyAMA0"), 0);
    EXPECT_EQ(platform::AutomaticComNumber("ttyUSB"), 0);
    EXPECT_EQ(platform::AutomaticComNumber("ttyS1x"), 0);
}

} // namespace
