#include "devices/qv2f3/bench_frames.h"

#include "devices/qv1m/session_code.h"

namespace qv2f3 {

namespace {

constexpr TBenchCommand kBenchCommands[] = {
    {0x00, "Статус: чтение статусов", "Статус: команда чтения статусов отправлена",
     TBenchClear::Nothing},
    {0x01, "Статус: чтение напряжений USB (холостой ход)",
     "Статус: команда чтения напряжений USB (холостой ход) отправлена", TBenchClear::IdleVolt},
    {0x02, "Статус: чтение напряжений USB (установлены QV2)",
     "Статус: команда чтения напряжений USB (установлены QV2) отправлена", TBenchClear::WorkVolt},
    {0x03, "Статус: чтение напряжений Блока Питания QV2",
     "Статус: команда чтения Блока Питания QV2 отправлена", TBenchClear::WorkVolt},
    {0x04, "Статус: чтение токов потребления в мА",
     "Статус: команда чтения токов потребления отправлена", TBenchClear::WorkCurrent},
    {0x05, "Статус: чтение тек. программы работы",
     "Статус: команда чтения тек. программы работы отправлена", TBenchClear::Presets},
    {0x06, "Статус: чтение измеренных задержек",
     "Статус: команда чтения измеренных задержек отправлена", TBenchClear::Measured},
    {0x80, "Статус: старт тестирования", "Статус: команда старта тестирования отправлена",
     TBenchClear::Nothing},
};

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (u >= u'a' && u <= u'f')
        v = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        v = u - u'A' + 10;
    return v < base ? v : -1;
}

} // namespace

TMasBytes Qv1Frame(std::uint8_t command, const std::uint8_t* payload, std::size_t count) {
    TMasBytes frame;
    frame.reserve(count + 3);
    frame.push_back(static_cast<std::uint8_t>(count + 3));
    frame.push_back(command);
    if (payload != nullptr)
        frame.insert(frame.end(), payload, payload + count);
    frame.push_back(kQv1Terminator);
    return frame;
}

QString Qv1ReplyEndMismatch(const TMasBytes& reply, std::size_t length) {
    if (length == 0 || length > reply.size() || reply[length - 1] == kQv1ReplyEnd)
        return {};
    auto hex = [](std::uint8_t b) { return QString::fromStdString(ByteToHex(b)); };
    return QStringLiteral("Ответ с неверным концом кадра: ожидался %1, получен %2")
        .arg(hex(kQv1ReplyEnd), hex(reply[length - 1]));
}

TMasBytes SessionFrame() {
    return Qv1Frame('s', kQv1SessionCode.data(), kQv1SessionCode.size());
}

TMasBytes ReadTimesFrame() {
    return Qv1Frame('R', nullptr, 0);
}

TMasBytes WriteTimesFrame(const TDelaySettings& settings) {
    return Qv1Frame('W', settings.data(), settings.size());
}

TMasBytes BenchCommandFrame(std::uint8_t code) {
    return {kBenchCommandLetter, code, static_cast<std::uint8_t>(kBenchCommandLetter + code)};
}

QChar UnitTextChar(std::uint8_t b) {
    if (b < 0x20 || b == 0x7F || (b >= 0xB0 && b <= 0xDF) || b >= 0xF2)
        return QLatin1Char(' ');
    if (b < 0x80)
        return QLatin1Char(static_cast<char>(b));
    if (b < 0xB0) // А..Я, а..п
        return QChar(0x0410 + (b - 0x80));
    if (b < 0xF0) // р..я
        return QChar(0x0440 + (b - 0xE0));
    return QChar(b == 0xF0 ? 0x0401 : 0x0451); // Ё, ё
}

QString UnitText(const std::uint8_t* bytes, std::size_t count) {
    QString text;
    text.reserve(static_cast<qsizetype>(count));
    for (std::size_t k = 0; k < count; ++k)
        text += UnitTextChar(bytes[k]);
    return text;
}

QString SessionIdent(const TMasBytes& reply) {
    if (reply.size() < kSessionReplyLength)
        return {};
    return UnitText(reply.data() + 2, 5);
}

QString UnitCaption(const QString& ident) {
    return QStringLiteral("Устройство: ") + ident;
}

TDelaySettings ReadTimesValues(const TMasBytes& reply) {
    TDelaySettings values{};
    if (reply.size() >= kReadTimesReplyLength)
        std::copy(reply.begin() + 2, reply.begin() + 8, values.begin());
    return values;
}

bool WriteTimesAccepted(const TMasBytes& reply) {
    return reply.size() >= kWriteTimesReplyLength && reply[1] == 0;
}

std::int64_t ParseLenientInt(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < text.size() && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (text.mid(i, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        i += 2;
    }
    // Unsigned so that an endless row of digits wraps instead of overflowing.
    std::uint64_t value = 0;
    for (int d; i < text.size() && (d = digitValue(text[i], base)) >= 0; ++i)
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    return static_cast<std::int64_t>(negative ? 0 - value : value);
}

const TBenchCommand* FindBenchCommand(std::uint8_t code) {
    for (const TBenchCommand& command : kBenchCommands)
        if (command.code == code)
            return &command;
    return nullptr;
}

} // namespace qv2f3
