// Opening, closing and settings of the component, on a pseudo-terminal and
// on the in-process fake device.
#include "platform/fake_serial_device.h"
#include "platform/tty_device.h"
#include "platform/user_folders.h"
#include "pty_line.h"
#include "serial/com_port.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace {

TEST(ComPortSettings, ValuesAfterConstruction) {
    TComPortD port;
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.Port(), "COM1");
    EXPECT_EQ(port.BaudRate(), br2400);
    EXPECT_EQ(port.CustomBaudRate(), 2400);
    EXPECT_EQ(port.DataBits(), db8Bits);
    EXPECT_EQ(port.StopBits(), sb1Bit);
    EXPECT_EQ(port.Parity()->Bits(), prNone);
    EXPECT_TRUE(port.Events().empty());
    EXPECT_EQ(port.Buffer()->InputSize(), 48);
    EXPECT_EQ(port.Buffer()->OutputSize(), 0);
    const TComTimeoutsD& t = *port.Timeouts();
    EXPECT_EQ(t.ReadInterval(), 0);
    EXPECT_EQ(t.ReadTotalMultiplier(), 0);
    EXPECT_EQ(t.ReadTotalConstant(), 1);
    EXPECT_EQ(t.WriteTotalMultiplier(), 100);
    EXPECT_EQ(t.WriteTotalConstant(), 1000);
    EXPECT_EQ(t.Write1Wait2(), 15);
    EXPECT_EQ(t.Write2WaitN(), 2);
    EXPECT_EQ(t.ReadTimeOut(), 50);
    EXPECT_EQ(t.WaitTimeAfterSending(), 0);
    EXPECT_EQ(t.WaitTimePrevSending(), 50);
    EXPECT_EQ(port.FlowControl()->FlowControl(), fcNone);
    EXPECT_EQ(port.FlowControl()->ControlDTR(), dtrDisable);
    EXPECT_EQ(port.FlowControl()->ControlRTS(), rtsDisable);
    EXPECT_EQ(port.FlowControl()->XonChar(), 17);
    EXPECT_EQ(port.FlowControl()->XoffChar(), 19);
    EXPECT_FALSE(port.WorkSendError());
    EXPECT_EQ(port.LastError(), 0u);
    EXPECT_EQ(port.SyncMethod(), smThreadSync);
    EXPECT_TRUE(port.sWindowsVersion.isEmpty());
}

TEST(ComPortSettings, OddBufferSizesAreStoredOneLower) {
    TComPortD port;
    port.Buffer()->SetInputSize(65);
    port.Buffer()->SetOutputSize(7);
    EXPECT_EQ(port.Buffer()->InputSize(), 64);
    EXPECT_EQ(port.Buffer()->OutputSize(), 6);
}

TEST(ComPortSettings, FlowControlGroupReadsAndSetsItsFields) {
    TComPortD port;
    TComFlowControlD& f = *port.FlowControl();
    f.SetFlowControl(fcHardware);
    EXPECT_EQ(f.ControlRTS(), rtsHandshake);
    EXPECT_TRUE(f.OutCTSFlow());
    EXPECT_EQ(f.FlowControl(), fcHardware);
    f.SetFlowControl(fcSoftware);
    EXPECT_EQ(f.ControlRTS(), rtsDisable);
    EXPECT_FALSE(f.OutCTSFlow());
    EXPECT_TRUE(f.XonXoffIn() && f.XonXoffOut());
    EXPECT_EQ(f.FlowControl(), fcSoftware);
    f.SetXonXoffIn(false);
    EXPECT_EQ(f.FlowControl(), fcCustom);
    f.SetFlowControl(fcCustom);
    EXPECT_FALSE(f.XonXoffIn()) << "custom changes nothing";
    f.SetDTRstatus(true);
    f.SetFlowControl(fcNone);
    EXPECT_FALSE(f.DTRstatus());
    EXPECT_EQ(f.FlowControl(), fcNone);
}

TEST(ComPortSettings, PortNameRule) {
    serial::FakeSerialPorts fakes;
    const auto line = fakes.line("COM3");
    TComPortD port;
    port.SetPort("com3");
    EXPECT_EQ(port.Port(), "COM3");
    EXPECT_EQ(line->opens(), 0) << "naming a port opens nothing";
    for (const char* bad : {"COM97", "abc", "", "COM0", "COMX"}) {
        port.SetPort("COM3");
        port.SetPort(bad);
        EXPECT_EQ(port.Port(), "COM1") << bad;
    }
    port.SetPort("12");
    EXPECT_EQ(port.Port(), "COM12");
    port.SetPort("COM96");
    EXPECT_EQ(port.Port(), "COM96");
}

TEST(ComPortSettings, CustomBaudRateOnAClosedPortIsStoredAndReported) {
    serial::FakeSerialPorts fakes;
    const auto line = fakes.line("COM2");
    TComPortD port;
    port.SetPort("COM2");
    port.SetBaudRate(brCustom);
    port.FlowControl()->SetDTRstatus(true);
    port.SetCustomBaudRate(9600);
    EXPECT_EQ(port.CustomBaudRate(), 9600);
    EXPECT_EQ(port.LastError(), 22u);
    EXPECT_FALSE(port.FlowControl()->DTRstatus());
    port.Open();
    ASSERT_TRUE(port.Connected());
    EXPECT_EQ(port.LastError(), 0u);
    EXPECT_EQ(line->baudRate(), 9600u);
    // On an open port the rate goes straight to the device.
    port.SetCustomBaudRate(19200);
    EXPECT_EQ(port.LastError(), 0u);
    EXPECT_EQ(line->baudRate(), 19200u);
}

TEST(ComPortSettings, SyncMethodIsRefusedWhileOpen) {
    serial::FakeSerialPorts fakes;
    fakes.line("COM1");
    TComPortD port;
    port.SetSyncMethod(smNone);
    EXPECT_EQ(port.SyncMethod(), smNone);
    port.SetSyncMethod(smThreadSync);
    port.Open();
    ASSERT_TRUE(port.Connected());
    port.SetSyncMethod(smNone);
    EXPECT_EQ(port.SyncMethod(), smThreadSync);
    EXPECT_EQ(port.LastError(), 14u);
}

TEST(ComPortOpen, SettingsReachTheDeviceOnOpenAndOnChange) {
    serial::FakeSerialPorts fakes;
    const auto line = fakes.line("COM4");
    TComPortD port;
    port.SetPort("COM4");
    port.SetBaudRate(br9600);
    port.SetDataBits(db7Bits);
    port.Parity()->SetBits(prEven);
    port.SetStopBits(sb2Bits);
    port.FlowControl()->SetControlDTR(dtrEnable);
    port.Open();
    ASSERT_TRUE(port.Connected());
    serial::LineSettings s = line->lastLine();
    EXPECT_EQ(s.baudRate, 9600u);
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_EQ(s.parity, serial::Parity::Even);
    EXPECT_EQ(s.stopBits, serial::StopBits::Two);
    EXPECT_TRUE(line->dtr());
    EXPECT_FALSE(line->rts());
    port.SetBaudRate(br115200);
    EXPECT_EQ(line->lastLine().baudRate, 115200u);
    port.SetRTS(true);
    EXPECT_TRUE(line->rts());
    EXPECT_TRUE(port.FlowControl()->RTSstatus());
}

TEST(ComPortOpen, OpenAndCloseRunTheirEventsOnceAndInOrder) {
    serial::FakeSerialPorts fakes;
    const auto line = fakes.line("COM5");
    TComPortD port;
    port.SetPort("COM5");
    std::vector<std::string> seen;
    port.OnBeforeOpen = [&] { seen.push_back("before-open"); };
    port.OnAfterOpen = [&] { seen.push_back("after-open"); };
    port.OnCTSChange = [&](bool on) { seen.push_back(on ? "cts+" : "cts-"); };
    port.OnBeforeClose = [&] { seen.push_back("before-close"); };
    port.OnAfterClose = [&] { seen.push_back("after-close"); };
    line->setModemLines({true, false, false, false});
    port.Open();
    port.Open();
    EXPECT_EQ(line->opens(), 1);
    port.Close();
    port.Close();
    EXPECT_EQ(line->closes(), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"before-open", "after-open", "cts+", "cts-",
                                              "before-close", "after-close"}));
    port.SetConnected(true);
    EXPECT_TRUE(port.Connected());
    port.SetConnected(false);
    EXPECT_FALSE(port.Connected());
}

TEST(ComPortOpen, RenamingAnOpenPortReopensIt) {
    serial::FakeSerialPorts fakes;
    const auto a = fakes.line("COM6");
    const auto b = fakes.line("COM8");
    TComPortD port;
    port.SetPort("COM6");
    port.Open();
    port.SetPort("com8");
    EXPECT_TRUE(port.Connected());
    EXPECT_FALSE(a->isOpen());
    EXPECT_TRUE(b->isOpen());
}

TEST(ComPortOpen, RefusedAndSlowOpens) {
    serial::FakeSerialPorts fakes;
    const auto line = fakes.line("COM9");
    TComPortD port;
    port.SetPort("COM9");
    line->refuseOpen(31, "Input/output error");
    port.Open();
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.LastError(), 31u);
    EXPECT_EQ(port.OpenFailReason(), "Input/output error");
    port.SetWorkSendError(true);
    port.Open();
    EXPECT_FALSE(port.Connected()) << "no failed open may count as open";

    line->refuseOpen(0);
    line->setOpenDelay(60);
    const auto start = std::chrono::steady_clock::now();
    port.Open();
    EXPECT_TRUE(port.Connected());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60 + 10));
}

// ---- on a pseudo-terminal, through the port map ----

TEST(ComPortPty, MissingPortGivesCode2) {
    serialtest::PtyPort line(11);
    ASSERT_TRUE(line.ok());
    TComPortD port;
    port.SetPort("COM12");
    port.Open();
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.LastError(), 2u);
    EXPECT_FALSE(port.OpenFailReason().isEmpty());

    // A map entry whose device is gone counts as missing too.
    const QString dangling = platform::PortsFolder() + "/COM13";
    QFile::remove(dangling);
    ASSERT_TRUE(QFile::link("/dev/relcon4-no-such-device", dangling));
    port.SetPort("COM13");
    port.Open();
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.LastError(), 2u);
    EXPECT_EQ(port.OpenDevicePath(), "/dev/relcon4-no-such-device");
    QFile::remove(dangling);
}

TEST(ComPortPty, EntryThatIsNoDeviceGivesCode123) {
    serialtest::PtyPort line(11);
    const QString notDevice = platform::PortsFolder() + "/COM14";
    QFile::remove(notDevice);
    ASSERT_TRUE(QFile::link(platform::PortsFolder(), notDevice));
    TComPortD port;
    port.SetPort("COM14");
    port.Open();
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.LastError(), 123u);
    QFile::remove(notDevice);
}

TEST(ComPortPty, PortHeldElsewhereGivesCode5) {
    serialtest::PtyPort line(15);
    ASSERT_TRUE(line.ok());
    const int other = ::open(line.pty().slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    TComPortD port;
    port.SetPort(line.comName());
    port.Open();
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.LastError(), 5u);
    ::close(other);
    port.Open();
    EXPECT_TRUE(port.Connected());

    // A second component of this process is refused while the first holds it.
    TComPortD second;
    second.SetPort(line.comName());
    second.Open();
    EXPECT_FALSE(second.Connected());
    EXPECT_EQ(second.LastError(), 5u);
}

TEST(ComPortPty, LineSettingsReachTheTty) {
    serialtest::PtyPort line(16);
    ASSERT_TRUE(line.ok());
    // Opened before the component takes the port exclusively.
    const int probe =
        ::open(line.pty().slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(probe, 0);
    TComPortD port;
    port.SetPort(line.comName());
    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(9600);
    port.Open();
    ASSERT_TRUE(port.Connected());
    std::uint32_t baud = 0;
    ASSERT_TRUE(platform::GetActualBaud(probe, baud));
    EXPECT_EQ(baud, 9600u);
    termios tio{};
    ASSERT_EQ(::tcgetattr(probe, &tio), 0);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO));

    port.SetCustomBaudRate(14400); // outside the standard table
    EXPECT_EQ(port.LastError(), 0u);
    ASSERT_TRUE(platform::GetActualBaud(probe, baud));
    EXPECT_EQ(baud, 14400u);
    port.SetBaudRate(br56000);
    ASSERT_TRUE(platform::GetActualBaud(probe, baud));
    EXPECT_EQ(baud, 56000u);
    // (A pseudo-terminal keeps 8 bits without parity whatever it is told;
    // the stop bits and the flow control it does keep.)
    port.SetBaudRate(br9600);
    port.SetStopBits(sb2Bits);
    port.FlowControl()->SetFlowControl(fcSoftware);
    ASSERT_EQ(::tcgetattr(probe, &tio), 0);
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(tio.c_cc[VSTART], 17);

    // A device without modem lines takes line control as done.
    port.SetLastError(0);
    port.SetDTR(true);
    port.SetRTS(false);
    port.SetBreak(false);
    port.Signals();
    port.ClearBuffer(true, true);
    EXPECT_EQ(port.LastError(), 0u);
    port.Close();
    ::close(probe);
}

} // namespace
