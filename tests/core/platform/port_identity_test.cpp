// What a COM name stands for: the device path it ends at and an adapter's
// identity as the system's port enumeration reports it (a stand-in here, since
// no adapter is plugged in).
#include "platform/port_identity.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::SerialAdapter;

struct IdentityCase {
    const char* devicePath;
    SerialAdapter adapter;
    const char* expected;
};

TEST(PortIdentity, DetailsOfAPath) {
    const IdentityCase cases[] = {
        {"/dev/ttyUSB1",
         {"/dev/ttyUSB1", "FTDI", "FT232R USB UART", "A1B2C3"},
         "/dev/ttyUSB1, FTDI FT232R USB UART, A1B2C3"},
        // A product that already names its maker is not prefixed twice.
        {"/dev/ttyUSB0",
         {"/dev/ttyUSB0", "Silicon Labs", "Silicon Labs CP2102 USB to UART", " 0001 "},
         "/dev/ttyUSB0, Silicon Labs CP2102 USB to UART, 0001"},
        {"/dev/ttyUSB2", {"/dev/ttyUSB2", "Prolific", "", ""}, "/dev/ttyUSB2, Prolific"},
        {"/dev/ttyACM0", {"/dev/ttyACM0", "", "", "8D1234"}, "/dev/ttyACM0, 8D1234"},
        // Another device's identity is not borrowed; a pty has none.
        {"/dev/ttyS0", {"/dev/ttyUSB0", "FTDI", "FT232R USB UART", "A1"}, "/dev/ttyS0"},
        {"/dev/pts/7", {}, "/dev/pts/7"},
    };
    for (const IdentityCase& c : cases)
        EXPECT_EQ(platform::PortDetails(c.devicePath, {c.adapter}).toStdString(), c.expected)
            << c.devicePath;
}

// A COM link to a stable by-id name shows the node it ends at, with the
// identity of the adapter found there; the stand-in replaces the enumeration.
TEST(PortIdentity, LinkedPortResolvedAndLookedUpThroughTheSource) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString node = dir.filePath(QStringLiteral("ttyUSB1"));
    const QString byId = dir.filePath(QStringLiteral("usb-FTDI_FT232R_USB_UART_A1B2C3-if00"));
    QFile f(node);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(node, byId));
    int lookups = 0;
    platform::SetAdapterSource([&] {
        ++lookups;
        return QList<SerialAdapter>{{node, "FTDI", "FT232R USB UART", "A1B2C3"}};
    });
    EXPECT_EQ(platform::PortDetails(byId, platform::ListAdapters()),
              node + QStringLiteral(", FTDI FT232R USB UART, A1B2C3"));
    EXPECT_EQ(lookups, 1);
    platform::SetAdapterSource({});
}

} // namespace
