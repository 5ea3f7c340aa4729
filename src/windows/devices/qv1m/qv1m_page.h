// The "RI1-R" page of the main window: the seven-mode editor with its rules,
// the session and write commands, and the QV1M.ini file buttons. The page
// holds the data set (mQV1M_1..3, mQV1M_s) and the shown mode iNumMode; the
// busy flag and the release date are the main window's.
#pragma once

#include "devices/entries/entry_rule.h"
#include "devices/qv1m/qv1_frame.h"
#include "devices/qv1m/qv1m_data.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TEditMarks;
class TRelcon4;
struct TQv1mUnitRead;

namespace Ui {
class TQv1mPage;
}

class TQv1mPage : public QWidget, public TQv1mSet {
    Q_OBJECT
public:
    explicit TQv1mPage(TRelcon4* owner, QWidget* parent = nullptr);
    ~TQv1mPage() override;

    // 0-based index of the mode shown on the page.
    int iNumMode = 0;

    // Mode editor.
    void prQV1ShowMode(int n);
    void prQV1StoreMode(int n);
    void prQV1ChannelRules(int c);
    void prQV1ShowTimeErr();
    void prQV1GetTimeErr();
    void prQV1ShowVoltFlags();
    void prQV1GetVoltFlags();
    void prQV1ControlsOn();
    void prQV1ControlsOff();

    // One frame each; true when the exchange succeeded.
    bool funQV1StartSession();
    bool funQV1WriteMode(int n);
    bool funQV1WriteTimeErr();
    bool funQV1WriteVoltFlags();
    bool funQV1SendCmdT();
    bool funQV1WriteDate();
    bool funQV1EndSessionRestart();
    bool funQV1DateIsSet() const;

    // Event handlers.
    void ComboBox2Click();
    void RadioGroup1Click() { channelRadioClick(1); }
    void RadioGroupK1Click() { channelRadioClick(1); }
    void RadioGroup3Click() { channelRadioClick(2); }
    void RadioGroupK2Click() { channelRadioClick(2); }
    void RadioGroup5Click() { channelRadioClick(3); }
    void RadioGroupK3Click() { channelRadioClick(3); }
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button13Click();
    void Button16Click();
    void Button14Click();
    void Button15Click();
    // The same set under a name and in a folder of the technician's choice
    // (a unit per file): the two buttons' context menu and Ctrl+Shift+S/O.
    void SaveSetAsClick();
    void LoadSetFromClick();

    // A whole set onto the page, as "load from file" puts it.
    void LoadSet(const TQv1mSet& set);
    // The session start's exchanges into read, in the port opening of the
    // caller; nothing on the page changes. They stop at the first failure.
    bool ReadSession(TQv1mUnitRead& read);
    // Command "o" for mode index n into read.
    bool ReadMode(int n, TQv1mUnitRead& read);
    // Unless a command runs: holds the busy flag, shows the progress text, runs body.
    void runCommand(const QString& progress, const std::function<void()>& body);
    void setStatus(const QString& text);
    QString statusText() const;
    // Uацп on the page when it is a positive number, else nothing.
    std::optional<double> pageReference() const;
    // Runs after a write succeeded, as part of its command: mode index n
    // after "Записать настройки выбранного режима…", -1 after the whole set.
    std::function<void(int mode)> AfterWrite;

    // Marks every entry a write would not send as typed, by the rules of the
    // shown mode and its radio choices, and returns their faults.
    std::vector<TEntryFault> CheckEntries();

    // The entries changed since the set was last read, loaded, written whole
    // or saved (a write of one mode or of the common settings leaves the
    // rest unsent, so its marks stay); NoteBaseline says the page now shows
    // what the unit or file holds.
    TEditMarks* Marks = nullptr;
    void NoteBaseline();
    void RevertToBaseline();

private:
    // The controls of one channel column.
    struct TChannelControls {
        QLineEdit* ton = nullptr;
        QLineEdit* t6sec = nullptr;
        QLineEdit* toff = nullptr;
        std::array<QLabel*, 3> hints{};
        QGroupBox* control = nullptr; // "Управление реле"
        QGroupBox* work = nullptr;    // "Работа реле"
        QButtonGroup* controlItems = nullptr;
        QButtonGroup* workItems = nullptr;
        QCheckBox* faultCheck = nullptr;
        QCheckBox* inverse = nullptr;
    };
    // How a write command ended: no reply, refused by the unit, accepted.
    enum class TStep { Failed, Refused, Done };

    void bindChannel(int c);
    void connectHandlers();
    TChannelControls& controls(int c) { return channels_[static_cast<std::size_t>(c - 1)]; }
    void setChannelEditable(int c, bool editable);
    void setControlsEnabled(bool on);
    void channelRadioClick(int c);
    // Reads Uацп into rVolt; false when the field holds no positive number.
    bool readReferenceVoltage();
    bool blocked() const;
    // Shows where the file buttons write and read, so the technician can find the
    // file; by default where a save would write.
    void showFilePath(const QString& path = QString());
    // The status bar's file of this page.
    void noteFile(const QString& path);
    void saveSetTo(const QString& path,
                   const QString& doneStatus = QStringLiteral("Статус: успешно"));
    void loadSetFrom(const QString& path);
    // The whole set on the page: common settings, rules, the mode shown.
    void showWholeSet();
    bool exchange(const TQv1Request& request);
    TStep judge(bool exchanged) const;
    // True when the exchange went through and the unit accepted it; a refusal
    // is logged in red with the step's name and the unit's code.
    bool accepted(bool exchanged, const QString& step) const;
    // One request in a port opening of its own.
    TStep sendAlone(const TQv1Request& request);
    // The identification label and the release date from a session reply;
    // forgetUnit: "Устройство: ?" and no date known, until a reply comes.
    void showUnit(const QString& ident, const QString& releaseDate);
    void forgetUnit();
    // The status bar's session part.
    void showSession(bool open);
    // "q": ends the session, with or without a restart of the unit.
    void endSession(const QString& progress, bool restart);
    static QString stepText(TStep step, const QString& refused);
    // Makes every edit re-check the entries as it changes.
    void watchEntries();
    // True when no entry is marked; otherwise a message names each one, the
    // status line shows failure and nothing is sent.
    bool entriesAllowWrite(const QString& failure);

    TRelcon4* owner_;
    std::unique_ptr<Ui::TQv1mPage> ui;
    std::array<TChannelControls, kQv1ChannelCount> channels_{};
    TMasBytes reply_;
    TQv1mSet baseline_;
    int baselineMode_ = 0;
};

// Puts the page into the main window's "RI1-R" tab.
TQv1mPage* InstallQv1mPage(TRelcon4* window);
