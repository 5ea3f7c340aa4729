// The ZI2-Z3 page (tab "ZE2-R3"): session and delay settings of the ZI2-Z3 test bench, its
// eight bench commands, and the two place panels that show its packets. Its
// exchanges and its watch are the core's ZI2-Z3 service.
#pragma once

#include "devices/entries/entry_rule.h"
#include "devices/qv2f3/bench_packet.h"
#include "exchange/frame.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QLineEdit;
class TEditMarks;
class TRelcon4;

namespace Ui {
class TQv2f3Page;
}

class TQv2f3Page : public QWidget {
    Q_OBJECT
public:
    // blockPressKey is the main window's flag that keeps device commands from overlapping.
    explicit TQv2f3Page(bool& blockPressKey, QWidget* parent = nullptr);
    ~TQv2f3Page() override;

    // Display operations. Places are 1 and 2; variants 1 idle voltages,
    // 2 working voltages, 3 working currents. Other numbers change nothing.
    void prSetStatus(std::uint8_t bSt1, std::uint8_t bSt2);
    void prSetVoltHH(std::uint8_t bVariant, std::uint8_t bVal1H, std::uint8_t bVal1L,
                     std::uint8_t bVal2H, std::uint8_t bVal2L);
    void prClearVoltHH(std::uint8_t bVariant);
    void prSetTimePreset(std::uint8_t bNumChannel, std::uint8_t bTon11, std::uint8_t bToff11,
                         std::uint8_t bTauto11, std::uint8_t bTon12, std::uint8_t bToff12,
                         std::uint8_t bTauto12);
    void prClearTimePreset(std::uint8_t bNumChannel);
    void prSetTimeIzmer(std::uint8_t bNumChannel, std::uint16_t wTon11, std::uint16_t wToff11,
                        std::uint16_t wTauto11, std::uint16_t wTon12, std::uint16_t wToff12,
                        std::uint16_t wTauto12);
    void prClearTimeIzmer(std::uint8_t bNumChannel);

    // Exchanges in the QV1 frame; the port must be open. The session start
    // hands over the unit's identification.
    bool funQV2StartSession(QString& ident);
    bool funQV2ReadTimes();
    bool funQV2WriteTimes();

    // Marks every delay entry a write would not send as typed and returns their faults.
    std::vector<TEntryFault> CheckEntries();

    // The delays changed since they were last read or written, and their values then.
    TEditMarks* Marks = nullptr;
    void NoteBaseline();
    void RevertToBaseline();

    void Button17Click();
    void QV2_RereadButtonClick();
    void QV2_WriteButtonClick();
    void QV2_cmd00_ButtonClick();
    void QV2_cmd01_ButtonClick();
    void QV2_cmd02_ButtonClick();
    void QV2_cmd03_ButtonClick();
    void QV2_cmd04_ButtonClick();
    void QV2_cmd05_ButtonClick();
    void QV2_cmd06_ButtonClick();
    void QV2_cmd80_ButtonClick();
    void QV2_start_ButtonClick();
    void QV2_stop_ButtonClick();

    // Shows one bench packet (as much of it as arrived) and logs its green line.
    void onPacket(const std::uint8_t* bytes, std::size_t count);
    void onPacket(const TMasBytes& bytes) { onPacket(bytes.data(), bytes.size()); }

private:
    template <class Body> void guarded(Body body);
    void runBenchCommand(std::uint8_t code);
    void setStatus(const QString& text);
    void setWatching(bool watching);
    void setTexts(const std::vector<qv2f3::TFieldText>& fields);
    void setChecks(const std::vector<qv2f3::TFieldCheck>& fields);
    template <std::size_t N> void clearFields(const std::array<QString, N>& names);
    void connectButtons();
    // The six delay edits in the settings' order T11, T12, T13, T21, T22, T23.
    std::array<QLineEdit*, 6> delayEdits() const;

    std::unique_ptr<Ui::TQv2f3Page> ui;
    std::array<QString, 6> baseline_;
    bool& blockPressKey_;
};

// The ZI2-Z3 page in the main window's tab "ZE2-R3"; null until installed.
extern TQv2f3Page* Qv2f3Page;
// Builds the page into the window's TabSheet4.
TQv2f3Page* InstallQv2f3Page(TRelcon4* window);
