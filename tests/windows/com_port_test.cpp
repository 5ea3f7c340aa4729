// The Windows build's serial component and transaction engine against a
// simulated RO-4D on the far side of a COM port. scripts/windows --test runs
// this program under Wine, with relcon4-sim's pseudo-terminal linked as a COM
// port, and names the ports in the environment:
//   RELCON4_TEST_COM      the port of the simulated RO-4D
//   RELCON4_TEST_MISSING  a COM port nothing stands behind
//   RELCON4_TEST_HELD     a port the system refuses to this process
#include "devices/qv4m/ro4d_protocol.h"
#include "exchange/exchange_state.h"
#include "exchange/frame.h"
#include "exchange/monitor_form.h"
#include "platform/clock.h"
#include "platform/port_map.h"
#include "platform/tty_device.h"
#include "port/exchange_settings.h"
#include "serial/exchange_port.h"
#include "shell/relcon4_window.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Three times what a page reply needs on the line, as in the Linux end-to-end tests.
constexpr int kReadTimeOut = 300;

QString Port(const char* variable) {
    return qEnvironmentVariable(variable);
}

// The request's bytes with their CRC, as the pages put them into TxBuf.
TMasBytes Framed(const TRo4dRequest& request, std::uint16_t& length) {
    TMasBytes buf(request.bytes);
    buf.resize(kTxBufSize, 0);
    length = static_cast<std::uint16_t>(request.bytes.size());
    AppendCrc16(buf, length);
    return buf;
}

// A frame that ends in its own CRC leaves no remainder.
bool CrcHolds(const TMasBytes& buf, std::size_t length) {
    return length >= 2 && length <= buf.size() && Crc16(buf.data(), length) == 0;
}

} // namespace

// Windows' own codes come through as they are: 2 for a port nothing stands
// behind, 123 for a name that cannot be a device, 5 for a port refused.
TEST(WindowsPorts, RegistryListAndOpenCodes) {
    const QString unit = Port("RELCON4_TEST_COM");
    ASSERT_FALSE(unit.isEmpty()) << "run through scripts/windows --test";
    QStringList listed;
    for (const platform::PortMapEntry& entry : platform::ListPorts())
        listed << entry.comName;
    EXPECT_TRUE(listed.contains(unit)) << listed.join(QLatin1Char(' ')).toStdString();

    const struct {
        QString name;
        std::uint32_t code;
    } cases[] = {{unit, 0},
                 {Port("RELCON4_TEST_MISSING"), 2},
                 {QStringLiteral("COM5<>"), 123},
                 {Port("RELCON4_TEST_HELD"), 5}};
    for (const auto& c : cases) {
        platform::TtyDevice device(c.name);
        const serial::OpenResult result = device.open();
        EXPECT_EQ(result.code, c.code)
            << c.name.toStdString() << ": " << result.reason.toStdString();
        EXPECT_EQ(device.isOpen(), c.code == 0) << c.name.toStdString();
    }
    // The component keeps the code for the port management, and counts nothing as open.
    const struct {
        const char* variable;
        std::uint32_t code;
    } refused[] = {{"RELCON4_TEST_MISSING", 2}, {"RELCON4_TEST_HELD", 5}};
    for (const auto& r : refused) {
        TComPortD port;
        EXPECT_FALSE(serialtest::OpenForExchange(port, Port(r.variable), kReadTimeOut));
        EXPECT_EQ(port.LastError(), r.code) << r.variable;
    }
}

// Bytes leave 4 ms apart, and a read waits for its time-out, no less.
TEST(WindowsPorts, PacedSendAndTimedRead) {
    TComPortD port;
    ASSERT_TRUE(serialtest::OpenForExchange(port, Port("RELCON4_TEST_COM"), kReadTimeOut))
        << port.LastError() << " " << port.OpenFailReason().toStdString();
    std::uint16_t length = 0;
    TMasBytes tx = Framed(VersionRequest(), length);

    const platform::MonoTime start = platform::MonoNow();
    ASSERT_TRUE(port.SendString(&tx, length));
    const auto sent = platform::MonoNow() - start;
    EXPECT_GE(sent, std::chrono::milliseconds(4 * (length - 1)));

    TMasBytes rx(4096, 0);
    std::uint16_t got = VersionRequest().replyLength;
    ASSERT_TRUE(port.ReadData(&rx, got, 0, 0, 0, 0));
    EXPECT_EQ(got, VersionRequest().replyLength);
    EXPECT_TRUE(CrcHolds(rx, got));

    // Nothing more comes: the read runs to its time-out.
    std::uint16_t more = 1;
    const std::uint32_t before = platform::TickCount();
    EXPECT_FALSE(port.ReadData(&rx, more, 0, 0, 0, 0));
    EXPECT_GE(platform::TickCount() - before, static_cast<std::uint32_t>(kReadTimeOut));
}

// A page of the RO-4D read the way the pages read it: through the transaction
// engine, with the pair in the log.
TEST(WindowsPorts, Ro4dPageReadEndToEnd) {
    ResetExchangeSettings();
    ExchangeState.Reset();
    Relcon4 = new TRelcon4;
    MonitorForm = new TMonitorForm(Relcon4);
    TComPortD* port = MonitorForm->ComPortD1;
    const QString unit = Port("RELCON4_TEST_COM");
    ASSERT_TRUE(serialtest::OpenForExchange(*port, unit, kReadTimeOut));
    port->SetPhonReceive(true);
    ExchangeState.PortOpen[0] = true;
    ExchangeState.PortName[0] = unit;

    const TRo4dRequest request = PageRequest(0);
    ExchangeState.TxBuf = Framed(request, ExchangeState.TxLength);
    ExchangeState.RxExpected = request.replyLength;
    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(ExchangeState.RxLength, request.replyLength);
    EXPECT_FALSE(ExchangeState.ReplyFailed);
    EXPECT_TRUE(CrcHolds(ExchangeState.RxBuf, ExchangeState.RxLength));
    EXPECT_EQ(ExchangeState.RxBuf[0], request.replyLength);

    port->Close();
    delete Relcon4;
    Relcon4 = nullptr;
    MonitorForm = nullptr;
}
