#include "shell/keyboard.h"

#include "shell/app_windows.h"
#include "shell/relcon4_window.h"

#include "devices/qv4m/stat_err_form.h"
#include "exchange/monitor_form.h"
#include "port/case_com_form.h"
#include "port/param_port_form.h"

#include <QDialog>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

namespace {

// Function keys work whatever the keyboard layout (Latin or Cyrillic). A key
// acts only on the page shown, so the pages share F5..F9: F5 reads or starts a
// session, F6 writes, F7 restarts or rereads, F8 commits or ends the session.
struct PageKey {
    const char* button;
    QKeyCombination key;
};

const PageKey kPageKeys[] = {
    // RO-4D: port and commands
    {"RdDataButton", Qt::Key_F5},
    {"WrDataButton", Qt::Key_F6},
    {"RestartButton", Qt::Key_F7},
    {"SaveToFlashButton", Qt::Key_F8},
    {"RdErrButton", Qt::Key_F9},
    // RO-4D: mode parameters (configuration file)
    {"Button3", Qt::CTRL | Qt::Key_S},
    {"Button4", Qt::CTRL | Qt::Key_O},
    // RO-4D: times, options, voltages (ADC channel)
    {"Button18", Qt::Key_F5},
    // RI1-R
    {"Button5", Qt::Key_F5},
    {"Button7", Qt::Key_F6},
    {"Button10", Qt::Key_F7},
    {"Button9", Qt::Key_F8},
    {"Button14", Qt::CTRL | Qt::Key_S},
    {"Button15", Qt::CTRL | Qt::Key_O},
    // ZI2-Z3
    {"Button17", Qt::Key_F5},
    {"QV2_WriteButton", Qt::Key_F6},
    {"QV2_RereadButton", Qt::Key_F7},
};

// The order of the numbered steps of the first page.
const char* const kFirstPageSteps[] = {
    "Button1",      "LogButton",     "ParamComButton",    "RdDataButton",
    "WrDataButton", "RestartButton", "SaveToFlashButton", "RdErrButton",
};

void windowKey(TRelcon4* window, QKeyCombination key, QPushButton* button) {
    auto* shortcut = new QShortcut(QKeySequence(key), window);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled())
            button->click();
    });
}

// A key on one page for a button of another: it acts while that page is shown.
void pageKey(QWidget* page, QKeyCombination key, QPushButton* button) {
    if (!page || !button)
        return;
    auto* shortcut = new QShortcut(QKeySequence(key), page);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled())
            button->click();
    });
}

void defaultButton(QDialog* dialog, const char* name) {
    if (!dialog)
        return;
    if (auto* button = dialog->findChild<QPushButton*>(QLatin1String(name)))
        button->setDefault(true);
}

} // namespace

void InstallKeyboard(TRelcon4* window) {
    for (const PageKey& k : kPageKeys) {
        // A button's own key acts only while the button is shown, that is on its page.
        for (auto* button : window->findChildren<QPushButton*>(QLatin1String(k.button)))
            button->setShortcut(QKeySequence(k.key));
    }
    // The port and the exchange settings serve every page.
    windowKey(window, Qt::Key_F2, window->Button1);
    windowKey(window, Qt::Key_F3, window->LogButton);
    windowKey(window, Qt::Key_F4, window->ParamComButton);
    // Read and write also where the technician edits the mode.
    pageKey(window->TabSheet3, Qt::Key_F5,
            window->TabSheet1->findChild<QPushButton*>(QStringLiteral("RdDataButton")));
    pageKey(window->TabSheet3, Qt::Key_F6,
            window->TabSheet1->findChild<QPushButton*>(QStringLiteral("WrDataButton")));
    // Escape closes the log window as it closes the other windows.
    if (MonitorForm) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), MonitorForm);
        QObject::connect(escape, &QShortcut::activated, MonitorForm, &QWidget::close);
    }

    QWidget* previous = nullptr;
    for (const char* name : kFirstPageSteps) {
        auto* next = window->TabSheet1->findChild<QWidget*>(QLatin1String(name));
        if (!next)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }

    // Enter confirms a dialog; Escape closes it as its window's close button would.
    defaultButton(ParamPortForm, "ExitButton");
    defaultButton(CaseComForm, "Button1");
    defaultButton(StatErrForm, "Button2");
}
