#include "platform/port_identity.h"
#include "platform/pty.h"
#include "port/case_com_form.h"
#include "port/status_com_form.h"
#include "port_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class PortScan : public PortFixture {
protected:
    static QStringList ComboItems() {
        QStringList items;
        for (int i = 0; i < CaseComForm->ComPortComboBox->count(); ++i)
            items << CaseComForm->ComPortComboBox->itemText(i);
        return items;
    }
};

} // namespace

TEST_F(PortScan, ExplicitAndAutomaticEntriesInNumberOrder) {
    AddKernelTty(QStringLiteral("ttyS0"), 4); // a UART answers: COM1
    AddKernelTty(QStringLiteral("ttyS1"), 0); // listed by the kernel, no UART
    AddKernelTty(QStringLiteral("ttyUSB0"));  // COM33, but the explicit COM33 wins
    AddKernelTty(QStringLiteral("ttyUSB1"));  // COM34
    AddKernelTty(QStringLiteral("ttyACM1"));  // COM66
    AddKernelTty(QStringLiteral("tty0"));     // not a serial family
    LinkPort(QStringLiteral("COM3"), QStringLiteral("/dev/null"));
    LinkPort(QStringLiteral("COM33"), QStringLiteral("/dev/null"));
    // An adapter pulled out: its link stays, pointing at nothing.
    LinkPort(QStringLiteral("COM7"), QStringLiteral("/dev/serial/by-id/usb-pulled-out"));
    StatusCOMForm->prShowStatus(1);

    CaseComForm->prScanComPort();

    const QStringList expected{QStringLiteral("COM 1"), QStringLiteral("COM 3"),
                               QStringLiteral("COM 33"), QStringLiteral("COM 34"),
                               QStringLiteral("COM 66")};
    EXPECT_EQ(ComPortList, expected);
    EXPECT_EQ(CaseComForm->iNumCounterPorts, 5);
    EXPECT_EQ(ComboItems(), expected);
    EXPECT_EQ(CaseComForm->ComPortComboBox->currentIndex(), 0);
    EXPECT_EQ(CaseComForm->ComPortComboBox->currentText(), QStringLiteral("COM 1"));
    EXPECT_FALSE(StatusCOMForm->isVisible());

    QString name = QStringLiteral("COM3");
    CaseComForm->prCheckNameComPort(name);
    EXPECT_EQ(name, QStringLiteral("COM3"));
    name = QStringLiteral("COM35");
    CaseComForm->prCheckNameComPort(name);
    EXPECT_TRUE(name.isEmpty());
    name = QStringLiteral("com3");
    CaseComForm->prCheckNameComPort(name);
    EXPECT_TRUE(name.isEmpty()) << "compared exactly";
    name = QStringLiteral("COM");
    CaseComForm->prCheckNameComPort(name);
    EXPECT_EQ(name, QStringLiteral("COM")) << "fewer than four characters stay";

    // A port that appears later is found by the rescan button, in its place.
    LinkPort(QStringLiteral("COM10"), QStringLiteral("/dev/null"));
    QTest::mouseClick(CaseComForm->ReNewButton, Qt::LeftButton);
    EXPECT_EQ(ComboItems(), (QStringList{QStringLiteral("COM 1"), QStringLiteral("COM 3"),
                                         QStringLiteral("COM 10"), QStringLiteral("COM 33"),
                                         QStringLiteral("COM 34"), QStringLiteral("COM 66")}));
    EXPECT_EQ(CaseComForm->iNumCounterPorts, 6);
}

// Each port says what stands behind it: a pseudo-terminal its /dev/pts path,
// a USB adapter its maker, product and serial number; the items stay "COM n".
TEST_F(PortScan, EachPortIsDescribedInItsTooltipAndUnderTheList) {
    platform::PseudoTerminal pty;
    ASSERT_TRUE(pty.open());
    LinkPort(QStringLiteral("COM5"), pty.slavePath());
    AddKernelTty(QStringLiteral("ttyUSB1")); // COM34
    platform::SetAdapterSource([] {
        return QList<platform::SerialAdapter>{
            {"/dev/ttyUSB1", "FTDI", "FT232R USB UART", "A1B2C3"}};
    });
    CaseComForm->prScanComPort();
    platform::SetAdapterSource({});

    const QString ptyTitle = QStringLiteral("COM 5 — ") + pty.slavePath();
    const QString usbTitle = QStringLiteral("COM 34 — /dev/ttyUSB1, FTDI FT232R USB UART, A1B2C3");
    QComboBox* combo = CaseComForm->ComPortComboBox;
    EXPECT_EQ(ComboItems(), (QStringList{QStringLiteral("COM 5"), QStringLiteral("COM 34")}));
    EXPECT_EQ(combo->itemData(0, Qt::ToolTipRole).toString(), ptyTitle);
    EXPECT_EQ(combo->itemData(1, Qt::ToolTipRole).toString(), usbTitle);
    EXPECT_EQ(CaseComForm->PortInfoLabel->text(), ptyTitle);
    combo->setCurrentIndex(1);
    EXPECT_EQ(CaseComForm->PortInfoLabel->text(), usbTitle);
    EXPECT_EQ(combo->currentText(), QStringLiteral("COM 34"));
}
