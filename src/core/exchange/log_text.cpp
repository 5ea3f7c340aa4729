#include "exchange/log_text.h"

#include "exchange/frame.h"

namespace {

QString latencyText(int latencyMs) {
    return QStringLiteral(" (") + QString::number(latencyMs) + QStringLiteral(" мс)");
}

} // namespace

QString LogByteText(std::uint8_t b, bool hex) {
    if (hex)
        return QString::fromStdString(ValueToHex(1, true, b));
    return QString::asprintf("%3d", b);
}

QString LogBytesText(const std::uint8_t* bytes, std::size_t count, bool hex) {
    QString text;
    text.reserve(static_cast<qsizetype>(count * 4));
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0)
            text += QLatin1Char('.');
        text += LogByteText(bytes[k], hex);
    }
    return text;
}

QString LogNumberPrefix(int lineNo) {
    return QString::asprintf("%5d : ", lineNo);
}

QString CmdRequestText(int lineNo, const std::uint8_t* bytes, std::size_t count, int attempts,
                       bool hex) {
    QString text = LogNumberPrefix(lineNo);
    if (count == 0)
        return text + QStringLiteral("нет запроса");
    text += LogBytesText(bytes, count, hex);
    if (attempts > 1)
        text += QStringLiteral(" (") + QString::number(attempts) + QLatin1Char(')');
    return text;
}

QString CmdReplyText(const std::uint8_t* bytes, std::size_t count, int latencyMs, bool hex) {
    const QString indent(8, QLatin1Char(' '));
    if (count == 0)
        return indent + QStringLiteral("нет ответа");
    return indent + LogBytesText(bytes, count, hex) + latencyText(latencyMs);
}

QString ByteLineText(int lineNo, const QString& chars, bool hex, int latencyMs) {
    QString text = LogNumberPrefix(lineNo);
    const QString latency = latencyText(latencyMs);
    for (qsizetype k = 0; k < chars.size(); ++k) {
        if (k > 0)
            text += QLatin1Char('.');
        text += LogByteText(static_cast<std::uint8_t>(chars[k].unicode() & 0xFF), hex);
        text += latency;
    }
    return text;
}

QString TakeStatusText(TAnalyzeLog& record) {
    QString text = record.sStr;
    if (record.fWithIntVal) {
        text += QStringLiteral(" : ") + QString::number(record.iVal);
        record.fWithIntVal = false;
    }
    return text;
}
