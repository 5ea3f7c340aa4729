// The page "Параметры режима VI-4D": the M1/M2 condition matrix, the main
// mode and the mode times. The editor's rules and packing are plain functions
// (mode_editor.h); this page moves values between them and its widgets.
#pragma once

#include "devices/qv4m/mode_editor.h"

#include <QWidget>
#include <array>
#include <memory>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLineEdit;
class TRadioGroup;
class TRelcon4;

namespace Ui {
class TQv4mModePage;
}

// Holds the window's fNotSetCheckBoxs set for a scope, so the program's own
// changes of the editor's controls never re-enter its rules.
class TEditorQuiet {
public:
    explicit TEditorQuiet(TRelcon4& window);
    ~TEditorQuiet();
    TEditorQuiet(const TEditorQuiet&) = delete;
    TEditorQuiet& operator=(const TEditorQuiet&) = delete;

private:
    TRelcon4& window_;
    bool before_;
};

// The window's 20 mode fields as mode words, and back.
TModeWords ModeWordsOf(const TRelcon4& window);
void SetModeWords(TRelcon4& window, const TModeWords& words);

class TQv4mModePage : public QWidget {
    Q_OBJECT
public:
    TQv4mModePage(TRelcon4* owner, QWidget* parent = nullptr);
    ~TQv4mModePage() override;

    // Change handlers; each does nothing while the window's fNotSetCheckBoxs is set.
    void K1_M1_CheckBoxClick();
    void K1_M1_ToggleSwitchClick();
    void MainModeComboBoxChange();

    void prMirrorStartChecks();
    void prMirrorToggles();
    void prEnableM2Controls(bool enabled, bool tmin6EditEnabled);
    void prApplyMainMode();
    // The matrix into the window's 20 mode fields, and the controls back from them.
    void prPackModeWords();
    void prUnpackModeWords();
    // After a read or a load: the editor from the window's mode fields and wFlag_Mode_1.
    void prRestoreModeEditor(std::uint16_t flagMode1);

    TModeEditor ReadEditor() const;
    // Sets the controls; the handlers stay quiet meanwhile.
    void WriteEditor(const TModeEditor& ed);

private:
    struct ChannelWidgets {
        std::array<QAbstractButton*, kMatrixRows> start{}, toggle{}, stop{};
        QComboBox* main1 = nullptr;
        QComboBox* main2 = nullptr;
        TRadioGroup* orAnd = nullptr;
        TRadioGroup* stopVariant = nullptr;
        QAbstractButton* activateTwait = nullptr;
        QAbstractButton* dopIf = nullptr;
        QAbstractButton* dopToggle = nullptr;
        QAbstractButton* activateTend = nullptr;
        QAbstractButton* activateT240 = nullptr;
        QLineEdit* tmin6Edit = nullptr;
    };
    ChannelWidgets bindChannel(const QString& ch, const QString& tmin6Edit) const;
    void connectHandlers();
    template <typename F> void edit(F&& rule);

    std::unique_ptr<Ui::TQv4mModePage> ui;
    TRelcon4* owner_;
    ChannelWidgets m1_, m2_;
    QComboBox* mainMode_ = nullptr;
    QGroupBox* m2Group_ = nullptr;
};
