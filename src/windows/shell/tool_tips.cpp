#include "shell/tool_tips.h"

#include "port/param_port_rules.h"

#include <QRegularExpression>
#include <QWidget>

namespace {

struct Hint {
    const char* names; // a pattern over object names
    QString text;
};

QString pauseHint(int item) {
    if (item == kManualPauseItem)
        return QStringLiteral("Пауза перед запросом задаётся в поле ниже: от %1 до %2 мс")
            .arg(kMinManualPause)
            .arg(kMaxManualPause);
    return QStringLiteral("Пауза перед запросом: %1 мс").arg(PauseOfItem(item));
}

} // namespace

void InstallToolTips(QWidget* root) {
    const Hint hints[] = {
        // The mode page's column between start and Stop has no caption.
        {"^(K1|Op|K3|Zp|C1|C3|DopIfAfterTwait)_?M[12]_?ToggleSwitch$",
         QStringLiteral("Уровень сигнала, при котором выполняется условие: Вкл или Выкл")},
        {"^PreSendPauseItem0$", pauseHint(0)},
        {"^PreSendPauseItem1$", pauseHint(1)},
        {"^PreSendPauseItem2$", pauseHint(2)},
        {"^PreSendPauseItem3$", pauseHint(3)},
        {"^PreSendPauseItem4$", pauseHint(kManualPauseItem)},
        {"^DebugLogCheckBox$",
         QStringLiteral("Показывать в логе серые строки открытия порта (для поиска неполадок)")},
        {"^CmdLogCheckBox$", QStringLiteral("Записывать в лог каждый запрос и ответ устройства")},
    };
    for (const Hint& hint : hints) {
        const QRegularExpression names(QLatin1String(hint.names));
        for (QWidget* w : root->findChildren<QWidget*>(names))
            w->setToolTip(hint.text);
    }
}
