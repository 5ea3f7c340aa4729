// The port selection dialog "Выбор СОМ-порта": the ports found by the last
// scan in display form ("COM 3"), a rescan button and the tries left.
#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
namespace Ui {
class TCaseComForm;
}

// The ports found by the last scan, in display form, in the port map's order.
extern QStringList ComPortList;

class TCaseComForm : public QDialog {
    Q_OBJECT
public:
    explicit TCaseComForm(QWidget* parent = nullptr);
    ~TCaseComForm() override;

    // Fills ComPortList and iNumCounterPorts from the port map.
    void rsEnumerateComPorts();
    // Rescans and refills the list; selects the first port and hides the
    // port status window.
    void prScanComPort();
    // Empties sCom when that port is not among the ports found; a name of
    // fewer than four characters is left as it is.
    void prCheckNameComPort(QString& sCom);
    // The port with what stands behind it ("COM 34 — /dev/ttyUSB1, FTDI ...")
    // as the last scan found it; the shown name alone when it was not found.
    QString prPortTitle(const QString& shownName) const;
    // Shows the tries left of three.
    void prShowNumEffort(std::uint8_t bCount);

    void ReNewButtonClick();
    void Button1Click();

    QGroupBox* GroupBox2 = nullptr;
    QLabel* CountShowLabel = nullptr;
    QComboBox* ComPortComboBox = nullptr;
    // Under the list: what the selected port is (device path, adapter maker,
    // product and serial number); each item's tooltip says the same.
    QLabel* PortInfoLabel = nullptr;
    QPushButton* ReNewButton = nullptr;
    QPushButton* Button1 = nullptr;

    // The program is about to be ended: the port change loop stops.
    bool fExtraClose = false;
    // Ports found by the last scan.
    int iNumCounterPorts = 0;

private:
    void FormCreate();
    void FormDestroy();
    void ShowSelectedPort();

    // What stands behind each entry of ComPortList, in the same order.
    QStringList portDetails_;

    std::unique_ptr<Ui::TCaseComForm> ui;
};
