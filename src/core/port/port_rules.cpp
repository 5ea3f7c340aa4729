#include "port/port_rules.h"

#include "platform/open_error_hint.h"
#include "platform/port_map.h"
#include "platform/serial_device.h"

#include <QRegularExpression>
#include <QTime>
#include <algorithm>

namespace {

const QString kNoAccessText =
    QStringLiteral("Нет прав на СОМ-порт: добавьте пользователя в группу, которой принадлежит "
                   "устройство (обычно dialout), и войдите в систему заново");

TSecondsClock& Clock() {
    static TSecondsClock clock;
    return clock;
}

} // namespace

QString PortDisplayName(const QString& storedName) {
    QString shown = storedName;
    if (shown.size() < 3)
        shown += QLatin1Char(' ');
    else
        shown.insert(3, QLatin1Char(' '));
    return shown;
}

QString PortTitle(const QString& shownName, const QString& details) {
    return details.isEmpty() ? shownName : shownName + QStringLiteral(" — ") + details;
}

QString PortStoredName(const QString& name) {
    QString stored = name;
    if (stored.size() >= 4 && stored.at(3) == QLatin1Char(' '))
        stored.remove(3, 1);
    return stored;
}

QString ComPortName(const QString& typed) {
    static const QRegularExpression re(QStringLiteral("^COM ?([1-9][0-9]?)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(typed);
    if (!m.hasMatch() || m.captured(1).toInt() > platform::kMaxComNumber)
        return {};
    return QStringLiteral("COM") + m.captured(1);
}

bool PortIsListed(const QString& name, const QStringList& shown, int count) {
    const QString display = PortDisplayName(name);
    const int n = std::min<int>(count, static_cast<int>(shown.size()));
    for (int i = 0; i < n; ++i)
        if (shown.at(i) == display)
            return true;
    return false;
}

QString TriesLeftText(std::uint8_t triesUsed) {
    return QStringLiteral("Попыток: ") + QString::number(3 - static_cast<int>(triesUsed));
}

QString TriesToolTip(std::int32_t requestAttempts) {
    const QString repeat =
        requestAttempts >= 65535 ? QStringLiteral("вечно") : QString::number(requestAttempts);
    return QStringLiteral("Осталось попыток выбора порта. Попыток запроса к устройству "
                          "(параметры обмена): %1")
        .arg(repeat);
}

void SetSecondsOfDayClock(TSecondsClock clock) {
    Clock() = std::move(clock);
}

int SecondsOfDay() {
    if (Clock())
        return Clock()();
    const QTime now = QTime::currentTime();
    return now.hour() * 3600 + now.minute() * 60 + now.second();
}

bool OpenAttemptIsSlow(int attempt, int startSec, int endSec) {
    const int limit = attempt == 1 ? 5 : 3;
    return endSec - startSec > limit;
}

TOpenVerdict JudgeOpenResult(std::uint32_t code, bool connected) {
    switch (code) {
    case serial::kErrFileNotFound:
    case serial::kErrInvalidName:
        return TOpenVerdict::Missing;
    case serial::kErrAccessDenied:
        return TOpenVerdict::Busy;
    case serial::kErrNoPermission:
        return TOpenVerdict::NoAccess;
    case serial::kErrGenFailure:
        return TOpenVerdict::Reserved;
    default:
        return connected ? TOpenVerdict::Open : TOpenVerdict::Failed;
    }
}

QString OpenVerdictMessage(TOpenVerdict verdict, std::uint32_t code, const QString& reason) {
    switch (verdict) {
    case TOpenVerdict::Open:
        return {};
    case TOpenVerdict::Missing:
        return QStringLiteral("СОМ-порт в системе отсутствует");
    case TOpenVerdict::Busy:
        return QStringLiteral("СОМ-порт занят другим процессом");
    case TOpenVerdict::NoAccess:
        return kNoAccessText;
    case TOpenVerdict::Reserved:
        return QStringLiteral("СОМ-порт зарезервирован как виртуальный");
    case TOpenVerdict::Failed:
        break;
    }
    QString text = QStringLiteral("СОМ-порт открыть не удалось (ошибка %1)").arg(code);
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return text;
}

QString OpenTraceText(const QString& portName, const QString& devicePath, std::uint32_t code,
                      const QString& reason) {
    QString text = QStringLiteral("OpenNewPort: ") + portName + QStringLiteral(" = ") +
                   (devicePath.isEmpty() ? QStringLiteral("?") : devicePath);
    if (code == 0)
        return text;
    text += QStringLiteral(", ошибка %1").arg(code);
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    const QString hint = platform::OpenErrorHint(code);
    if (!hint.isEmpty())
        text += QStringLiteral(" (") + hint + QLatin1Char(')');
    return text;
}

QString StatusCOMText(std::uint8_t bNumStatus) {
    switch (bNumStatus) {
    case 1:
        return QStringLiteral("Подключение к СОМ-порту. Пожалуйста, подождите...");
    case 2:
        return QStringLiteral("При подключении к СОМ-порту возникли проблемы!!");
    default:
        return {};
    }
}
