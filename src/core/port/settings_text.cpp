#include "port/settings_text.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cctype>
#include <limits>

namespace {

constexpr int kFlagsLength = 7;
constexpr int kForeverAttempts = 65535;
constexpr int kForeverCode = 255;
constexpr int kMaxPortPairs = 10;

// Lines of a file's bytes, LF-ended, with one CR before the LF dropped.
class LineReader {
public:
    explicit LineReader(const QByteArray& text) : text_(text) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    QByteArray next() {
        qsizetype end = text_.indexOf('\n', pos_);
        qsizetype after = end + 1;
        if (end < 0)
            end = after = text_.size();
        QByteArray line = text_.mid(pos_, end - pos_);
        if (end < text_.size() && line.endsWith('\r'))
            line.chop(1);
        pos_ = after;
        return line;
    }

private:
    const QByteArray& text_;
    qsizetype pos_ = 0;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A whole number as a line of the file holds it: blanks around it, an optional
// sign, then decimal digits, or hex digits after "$" or "0x". False for anything
// else and for values beyond 32 bits.
bool FileNumber(const QByteArray& line, qint64& value) {
    QByteArray text = line;
    while (!text.isEmpty() && IsBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    bool negative = false;
    if (text.startsWith('+') || text.startsWith('-')) {
        negative = text.front() == '-';
        text.remove(0, 1);
    }
    int base = 10;
    if (text.startsWith('$')) {
        base = 16;
        text.remove(0, 1);
    } else if (text.startsWith("0x") || text.startsWith("0X")) {
        base = 16;
        text.remove(0, 2);
    }
    if (text.isEmpty() || text.size() > 10)
        return false;
    for (char c : text) {
        const bool digit = base == 10 ? (c >= '0' && c <= '9') : std::isxdigit(uchar(c)) != 0;
        if (!digit)
            return false;
    }
    bool ok = false;
    value = text.toLongLong(&ok, base);
    if (!ok)
        return false;
    if (negative)
        value = -value;
    return value >= std::numeric_limits<qint32>::min() &&
           value <= std::numeric_limits<qint32>::max();
}

int TimeOutFromLine(const QByteArray& line) {
    qint64 number = 0;
    if (!FileNumber(line, number))
        return 20;
    const int value = int(number & 0xFFFF);
    return value < 20 || value > 30000 ? 20 : value;
}

int PauseFromLine(const QByteArray& line) {
    qint64 number = 0;
    if (!FileNumber(line, number))
        return 100;
    const int value = int(number & 0xFFFF);
    const bool preset = value == 5 || value == 15 || value == 60 || value == 100;
    return preset || value >= 101 ? value : 100;
}

char FlagChar(bool on) {
    return on ? '1' : '0';
}

// A name that the reader takes back as a port name: empty, or "COM" and one to
// three more printable characters.
QByteArray SavedPortName(const QString& name) {
    const QByteArray bytes = SingleByteText(name);
    const bool printable =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x20; });
    if (bytes.size() >= 4 && bytes.size() <= 6 && bytes.startsWith("COM") && printable)
        return bytes;
    return {};
}

// Lines 1 to 9 as given, then the digest, every line ended by CR LF.
QByteArray FileOfLines(QList<QByteArray> lines) {
    lines.append(SettingsDigest(lines));
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

QByteArray SingleByteText(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF));
    return bytes;
}

QByteArray SettingsDigest(const QList<QByteArray>& lines) {
    QCryptographicHash md5(QCryptographicHash::Md5);
    for (const QByteArray& line : lines)
        md5.addData(line);
    return md5.result().toHex().toUpper();
}

QByteArray AttemptsText(int count) {
    const int value = std::clamp(count, 0, kForeverAttempts);
    if (value == kForeverAttempts)
        return QByteArray(1, char(kForeverCode));
    if (value >= kForeverCode)
        return QByteArray(1, char(kForeverCode)) + QByteArray::number(value);
    if (value == '\n' || value == '\r')
        return QByteArray(1, char(value + 1)) + QByteArray::number(value);
    return QByteArray(1, char(value));
}

int AttemptsFromFlags(const QByteArray& flags) {
    if (flags.size() < kFlagsLength)
        return 3;
    const QByteArray exact = flags.mid(kFlagsLength);
    const bool digits =
        !exact.isEmpty() && exact.size() <= 5 &&
        std::all_of(exact.begin(), exact.end(), [](char c) { return c >= '0' && c <= '9'; });
    // The digits stand for the count only behind the code that announces them;
    // any other flags line is read by its seventh character's code alone.
    if (digits && exact.toInt() <= kForeverAttempts &&
        AttemptsText(exact.toInt()) == flags.mid(kFlagsLength - 1))
        return exact.toInt();
    const int code = uchar(flags.at(kFlagsLength - 1));
    return code == kForeverCode ? kForeverAttempts : code;
}

QByteArray DefaultFlagsLine() {
    return QByteArray("000000") + char(3);
}

QByteArray FlagsLine(const TSettingsValues& values) {
    QByteArray flags;
    flags += FlagChar(values.LogFontSize == 12);
    flags += FlagChar(values.LogHex);
    flags += FlagChar(values.FiksDtrRts);
    flags += FlagChar(values.LogOldestFirst);
    flags += FlagChar(values.DtrOn);
    flags += FlagChar(values.RtsOn);
    return flags + AttemptsText(values.NumOfRepeat);
}

void ApplyFlagsLine(const QByteArray& line, TSettingsValues& values) {
    const QByteArray flags = line.size() < kFlagsLength ? DefaultFlagsLine() : line;
    values.LogFontSize = flags.at(0) == '1' ? 12 : 8;
    values.LogHex = flags.at(1) != '0';
    values.FiksDtrRts = flags.at(2) == '1';
    values.LogOldestFirst = flags.at(3) == '1';
    values.DtrOn = flags.at(4) == '1';
    values.RtsOn = flags.at(5) == '1';
    values.NumOfRepeat = AttemptsFromFlags(flags);
}

QByteArray SettingsText(const TSettingsValues& values, const TSavedPortNames& names) {
    QList<QByteArray> lines{QByteArray::number(values.TimeOut),
                            QByteArray::number(values.PreSendPause), FlagsLine(values)};
    for (const QString& name : names)
        lines << SavedPortName(name) << "0";
    return FileOfLines(lines);
}

QByteArray RewrittenSettingsText(const TSettingsRead& read) {
    return FileOfLines({QByteArray::number(read.TimeOut), QByteArray::number(read.PreSendPause),
                        read.Flags, "COM1", "0", "COM2", "0", "COM3", "0"});
}

TSettingsRead ReadSettingsText(const QByteArray& text) {
    TSettingsRead read;
    read.Flags = DefaultFlagsLine();
    LineReader in(text);
    QList<QByteArray> digested;
    auto take = [&]() {
        digested.append(in.next());
        return digested.back();
    };
    if (in.atEnd())
        return read;
    read.TimeOut = TimeOutFromLine(take());
    if (in.atEnd())
        return read;
    read.PreSendPause = PauseFromLine(take());
    if (in.atEnd())
        return read;
    const QByteArray flags = take();
    if (flags.size() >= kFlagsLength)
        read.Flags = flags;

    for (int channel = 0; channel < kMaxPortPairs && !in.atEnd(); ++channel) {
        const QByteArray line = in.next();
        // An empty line is a channel without a name (the writer leaves it empty),
        // not the digest line; the digest never is that short.
        const bool portLine = line.isEmpty() || (line.size() >= 4 && line.size() <= 6);
        if (!portLine) {
            read.Rewrite = line != SettingsDigest(digested);
            break;
        }
        digested.append(line);
        if (!line.isEmpty() && !line.startsWith("COM"))
            break;
        read.PortName[channel] = QString::fromLatin1(line);
        read.PortsRead = channel + 1;
        if (!in.atEnd())
            take();
    }
    return read;
}

TSettingsValues ValuesFromRead(const TSettingsRead& read) {
    TSettingsValues values;
    values.TimeOut = read.TimeOut;
    values.PreSendPause = read.PreSendPause;
    ApplyFlagsLine(read.Flags, values);
    return values;
}
