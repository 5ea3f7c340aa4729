#include "port/case_com_form.h"
#include "port/status_com_form.h"
#include "port_fixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
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

TEST_F(PortScan, DialogAndStatusWindowAsDesigned) {
    TCaseComForm& form = *CaseComForm;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Выбор СОМ-порта"));
    EXPECT_EQ(form.size(), QSize(241, 133));
    EXPECT_EQ(form.GroupBox2->title(), QStringLiteral(" Выберите новый СОМ-порт"));
    EXPECT_EQ(form.CountShowLabel->text(), QStringLiteral("Попыток:"));
    EXPECT_FALSE(form.ComPortComboBox->isEditable());
    EXPECT_EQ(form.ReNewButton->text(), QStringLiteral("Поиск СОМ-портов"));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Принять"));
    for (const char* name :
         {"GroupBox2", "CountShowLabel", "ComPortComboBox", "ReNewButton", "Button1"})
        EXPECT_TRUE(form.findChild<QWidget*>(QLatin1String(name))) << name;
    form.prShowNumEffort(1);
    EXPECT_EQ(form.CountShowLabel->text(), QStringLiteral("Попыток: 2"));

    TStatusCOMForm& status = *StatusCOMForm;
    EXPECT_EQ(status.windowTitle(), QStringLiteral("Поиск СОМ-портов"));
    EXPECT_EQ(status.size(), QSize(428, 28));
    EXPECT_FALSE(status.windowFlags() & Qt::WindowCloseButtonHint);
    ASSERT_EQ(status.findChild<QPlainTextEdit*>(QStringLiteral("SearchCOMMemo")),
              status.SearchCOMMemo);
    EXPECT_TRUE(status.SearchCOMMemo->isReadOnly());
    EXPECT_EQ(status.SearchCOMMemo->font().pixelSize(), 16);
    EXPECT_EQ(status.SearchCOMMemo->toPlainText(),
              QStringLiteral("Идёт поиск СОМ-портов. Пожалуйста, подождите..."));
    status.prShowStatus(2);
    EXPECT_TRUE(status.isVisible());
    EXPECT_FALSE(status.isModal());
    EXPECT_EQ(status.SearchCOMMemo->toPlainText(),
              QStringLiteral("При подключении к СОМ-порту возникли проблемы!!"));
}

TEST_F(PortScan, ExplicitAndAutomaticEntriesInNumberOrder) {
    AddKernelTty(QStringLiteral("ttyS0"), 4); // a UART answers: COM1
    AddKernelTty(QStringLiteral("ttyS1"), 0); // listed by the kernel, no UART
    AddKernelTty(QStringLiteral("ttyUSB0"));  // COM33, but the explicit COM33 wins
    AddKernelTty(QStringLiteral("ttyUSB1"));  // COM34
    AddKernelTty(QStringLiteral("ttyACM1"));  // COM66
    AddKernelTty(QStringLiteral("tty0"));     // not a serial family
    LinkPort(QStringLiteral("COM3"), QStringLiteral("/dev/null"));
    LinkPort(QStringLiteral("COM33"), QStringLiteral("/dev/null"));
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

TEST_F(PortScan, NoPortsLeaveTheListEmptyWithNothingSelected) {
    LinkPort(QStringLiteral("COM5"), QStringLiteral("/dev/null"));
    CaseComForm->prScanComPort();
    ASSERT_EQ(CaseComForm->iNumCounterPorts, 1);
    QDir(platform::PortsFolder()).removeRecursively();

    CaseComForm->prScanComPort();
    EXPECT_TRUE(ComPortList.isEmpty());
    EXPECT_EQ(CaseComForm->iNumCounterPorts, 0);
    EXPECT_EQ(CaseComForm->ComPortComboBox->count(), 0);
    EXPECT_EQ(CaseComForm->ComPortComboBox->currentIndex(), -1);
    EXPECT_TRUE(CaseComForm->ComPortComboBox->currentText().isEmpty());
    QString name = QStringLiteral("COM5");
    CaseComForm->prCheckNameComPort(name);
    EXPECT_TRUE(name.isEmpty());
}
