#include "devices/qv1m/qv1m_file.h"

#include "devices/qv1m/qv1m_convert.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

// One line of the file: a whole number of a field's width, a constant zero,
// or the reference voltage.
struct TLine {
    enum Kind { Word, Byte, Zero, Real } kind;
    std::uint16_t* word = nullptr;
    std::uint8_t* byte = nullptr;
    double* real = nullptr;
};

// The 95 lines in file order, bound to the fields of set.
QList<TLine> fileLines(TQv1mSet& set) {
    QList<TLine> lines;
    for (int n = 0; n < kQv1ModeCount; ++n)
        for (int c = 1; c <= kQv1ChannelCount; ++c) {
            RQV1M_val1& r = set.channel(c)[static_cast<std::size_t>(n)];
            lines << TLine{TLine::Word, &r.wTimePrevOn} << TLine{TLine::Word, &r.wTime6sec}
                  << TLine{TLine::Word, &r.wTimePrevOff} << TLine{TLine::Byte, nullptr, &r.bFlag};
        }
    RQV1M_val2& s = set.mQV1M_s;
    for (std::uint8_t* k :
         {&s.bTimePausePrevErr_K1, &s.bTimePausePrevErr_K2, &s.bTimePausePrevErr_K3})
        lines << TLine{TLine::Byte, nullptr, k} << TLine{TLine::Zero};
    lines << TLine{TLine::Byte, nullptr, &s.bFlagMode_E} << TLine{TLine::Word, &s.wBut_Lvl_DO}
          << TLine{TLine::Word, &s.wBut_Lvl_UD} << TLine{TLine::Word, &s.wBut_Lvl_SC}
          << TLine{TLine::Real, nullptr, nullptr, &s.rVolt};
    return lines;
}

bool isTextByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x20 ? b != 0x7F : (c == '\r' || c == '\n' || c == '\t');
}

// A decimal number with an optional sign and blanks around it; one too big
// for 64 bits counts as out of every range.
std::optional<std::int64_t> wholeNumber(const QString& text) {
    const QString t = text.trimmed();
    const qsizetype first =
        t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (t.size() == first)
        return std::nullopt;
    for (qsizetype i = first; i < t.size(); ++i)
        if (!t[i].isDigit() || t[i].unicode() > '9')
            return std::nullopt;
    bool ok = false;
    const std::int64_t value = t.toLongLong(&ok);
    if (!ok)
        return first && t[0] == QLatin1Char('-') ? -1 : std::numeric_limits<std::int64_t>::max();
    return value;
}

// Takes one line's value into its field; why not, when it cannot.
std::optional<QString> takeLine(const TLine& line, const QString& text) {
    if (line.kind == TLine::Zero)
        return std::nullopt;
    if (line.kind == TLine::Real) {
        const std::optional<double> volts = Qv1ParseReal(text);
        if (!volts)
            return QStringLiteral("не число");
        *line.real = *volts;
        return std::nullopt;
    }
    const std::optional<std::int64_t> value = wholeNumber(text);
    if (!value)
        return QStringLiteral("не число");
    const std::int64_t top = line.kind == TLine::Word ? 0xFFFF : 0xFF;
    if (*value < 0 || *value > top)
        return QStringLiteral("число вне диапазона 0..%1").arg(top);
    if (line.kind == TLine::Word)
        *line.word = static_cast<std::uint16_t>(*value);
    else
        *line.byte = static_cast<std::uint8_t>(*value);
    return std::nullopt;
}

} // namespace

QByteArray Qv1mFileBytes(const TQv1mSet& set) {
    TQv1mSet copy = set;
    QByteArray bytes;
    for (const TLine& line : fileLines(copy)) {
        switch (line.kind) {
        case TLine::Word:
            bytes += QByteArray::number(*line.word);
            break;
        case TLine::Byte:
            bytes += QByteArray::number(*line.byte);
            break;
        case TLine::Zero:
            bytes += '0';
            break;
        case TLine::Real:
            bytes += Qv1RealText(*line.real, 3).toUtf8();
            break;
        }
        bytes += "\r\n";
    }
    return bytes;
}

TQv1mFileRead Qv1mParseFile(const QByteArray& bytes) {
    TQv1mFileRead result;
    const QList<TLine> lines = fileLines(result.set);
    QList<QByteArray> texts = bytes.split('\n');
    if (!texts.isEmpty() && texts.last().isEmpty())
        texts.removeLast(); // the line end of the last line
    // Only the lines the set is read from count; whatever follows them is ignored.
    texts = texts.mid(0, lines.size());
    for (const QByteArray& text : texts)
        if (!std::all_of(text.begin(), text.end(), isTextByte)) {
            result.reason = QStringLiteral("это не текстовый файл");
            return result;
        }
    if (texts.size() < lines.size()) {
        result.tooShort = true;
        return result;
    }
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray raw = texts[i];
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (const std::optional<QString> problem = takeLine(lines[i], QString::fromUtf8(raw))) {
            result.reason = QStringLiteral("строка %1 — %2").arg(i + 1).arg(*problem);
            return result;
        }
    }
    result.ok = true;
    return result;
}

TQv1mFileRead Qv1mReadFile(const QString& path) {
    TQv1mFileRead result;
    const QFileInfo info(path);
    // A pipe or a device could block the read or never end.
    if (info.exists() && !info.isFile()) {
        result.reason = QStringLiteral("это не обычный файл");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.openProblem = QStringLiteral("не удаётся открыть (%1)").arg(file.errorString());
        return result;
    }
    const QByteArray bytes = file.read(kQv1mFileReadLimit);
    if (file.error() != QFileDevice::NoError) {
        result.reason = QStringLiteral("ошибка чтения (%1)").arg(file.errorString());
        return result;
    }
    return Qv1mParseFile(bytes);
}

bool Qv1mFileHasSetLayout(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kQv1mFileReadLimit)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const qsizetype lines = bytes.count('\n') + (bytes.endsWith('\n') || bytes.isEmpty() ? 0 : 1);
    return lines >= kQv1mFileLines;
}
