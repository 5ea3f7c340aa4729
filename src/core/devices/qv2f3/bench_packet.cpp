#include "devices/qv2f3/bench_packet.h"

#include "exchange/frame.h"

#include <QLocale>

namespace qv2f3 {

namespace {

constexpr const char* kTimeNames[6] = {"Ton11", "Toff11", "Tauto11", "Ton12", "Toff12", "Tauto12"};

bool validPlace(int place) {
    return place == 1 || place == 2;
}

QString placeName(const char* pattern, int place) {
    return QString::fromLatin1(pattern).arg(place);
}

std::array<QString, 6> placeNames(int place, const std::array<const char*, 6>& patterns) {
    std::array<QString, 6> names;
    if (validPlace(place))
        for (std::size_t k = 0; k < names.size(); ++k)
            names[k] = placeName(patterns[k], place);
    return names;
}

// The bytes of one packet with what is known about their arrival.
class TPacketView {
public:
    TPacketView(const std::uint8_t* bytes, std::size_t received, std::size_t length)
        : bytes_(bytes), received_(received < length ? received : length) {}

    bool has(std::size_t index) const { return index < received_; }
    bool hasAll(std::size_t first, std::size_t count) const { return has(first + count - 1); }
    std::uint8_t byte(std::size_t index) const { return bytes_[index]; }
    std::uint16_t word(std::size_t index) const {
        return static_cast<std::uint16_t>(bytes_[index] | bytes_[index + 1] << 8);
    }
    // Decimal value of a byte for the log, "?" when it did not arrive.
    QString number(std::size_t index) const {
        return has(index) ? QString::number(byte(index)) : QStringLiteral("?");
    }
    QString wordNumber(std::size_t index) const {
        return hasAll(index, 2) ? QString::number(word(index)) : QStringLiteral("?");
    }
    QString hex(std::size_t index) const {
        return has(index) ? QString::fromStdString(ByteToHex(byte(index))) : QStringLiteral("??");
    }
    std::size_t received() const { return received_; }

private:
    const std::uint8_t* bytes_;
    std::size_t received_;
};

void append(std::vector<TFieldText>& to, std::vector<TFieldText> from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

int voltVariant(std::uint8_t type) {
    switch (type) {
    case 'u':
        return 1;
    case 'U':
        return 2;
    case 'I':
        return 3;
    default:
        return 0;
    }
}

void decodeStatus(const TPacketView& p, TBenchDecoded& out) {
    for (int place = 1; place <= 2; ++place)
        if (p.has(place)) {
            auto checks = StatusChecks(place, p.byte(place));
            out.checks.insert(out.checks.end(), checks.begin(), checks.end());
        }
    out.logLine += QStringLiteral("к.1 : %1, к.2 : %2").arg(p.hex(1), p.hex(2));
}

void decodeVolt(const TPacketView& p, TBenchDecoded& out) {
    const int variant = voltVariant(out.type);
    for (int place = 1; place <= 2; ++place) {
        const std::size_t at = 2 * place - 1;
        if (p.hasAll(at, 2))
            append(out.texts, VoltFields(variant, place, p.byte(at), p.byte(at + 1)));
    }
    // As the fields show them: hundredths in two digits, currents in mA.
    const auto hundredths = [&](std::size_t index) {
        return p.has(index) ? p.number(index).rightJustified(2, QLatin1Char('0')) : p.number(index);
    };
    const bool currents = variant == 3;
    out.logLine += QStringLiteral("%5 = %1.%2%6, %7 = %3.%4%6")
                       .arg(p.number(1), hundredths(2), p.number(3), hundredths(4),
                            currents ? QStringLiteral("I1") : QStringLiteral("U1"),
                            currents ? QStringLiteral("mA") : QStringLiteral("V"),
                            currents ? QStringLiteral("I2") : QStringLiteral("U2"));
}

void decodePreset(const TPacketView& p, TBenchDecoded& out) {
    // A place is shown only whole: whether 0xFF means "-" depends on all six bytes.
    for (int place = 1; place <= 2; ++place) {
        const std::size_t at = 6 * place - 5;
        if (!p.hasAll(at, 6))
            continue;
        std::array<std::uint8_t, 6> bytes{};
        for (std::size_t k = 0; k < bytes.size(); ++k)
            bytes[k] = p.byte(at + k);
        append(out.texts, PresetFields(place, bytes));
    }
    out.logLine.chop(2); // only "CRC-ok" or "CRC-err"
}

void decodeMeasured(const TPacketView& p, TBenchDecoded& out) {
    int place = -1;
    if (p.has(1)) {
        place = p.byte(1);
        if (place >= 0x31)
            place -= 0x30;
    }
    out.logLine +=
        QStringLiteral("к.%1, ").arg(place < 0 ? QStringLiteral("?") : QString::number(place));
    for (int k = 0; k < 6; ++k) {
        const std::size_t at = 2 + 2 * static_cast<std::size_t>(k);
        if (place >= 0 && p.hasAll(at, 2))
            append(out.texts, MeasuredField(place, k, p.word(at)));
        out.logLine +=
            QStringLiteral("%1=%2, ").arg(QLatin1String(kTimeNames[k]), p.wordNumber(at));
    }
}

} // namespace

std::array<QString, 6> TimeCaptions() {
    std::array<QString, 6> captions;
    for (std::size_t k = 0; k < captions.size(); ++k)
        captions[k] = QString::fromLatin1(kTimeNames[k]);
    return captions;
}

std::size_t BenchPacketLength(std::uint8_t type) {
    switch (type) {
    case 'S':
        return 4;
    case 'u':
    case 'U':
    case 'I':
        return 6;
    case 't':
        return 14;
    case 'T':
        return 15;
    default:
        return 0;
    }
}

std::size_t BenchBytesMissing(const std::uint8_t* bytes, std::size_t received) {
    if (received == 0)
        return 0;
    const std::size_t length = BenchPacketLength(bytes[0]);
    return received < length ? length - received : 0;
}

std::array<QString, 2> VoltFieldNames(int variant) {
    switch (variant) {
    case 1:
        return {QStringLiteral("U1hhEdit"), QStringLiteral("U2hhEdit")};
    case 2:
        return {QStringLiteral("U1izmEdit"), QStringLiteral("U2izmEdit")};
    case 3:
        return {QStringLiteral("I1izmEdit"), QStringLiteral("I2izmEdit")};
    default:
        return {};
    }
}

std::array<QString, 6> PresetFieldNames(int place) {
    return placeNames(place, {"T%1Zon11Edit", "T%1Zoff11Edit", "T%1Zauto11Edit", "T%1Zon12Edit",
                              "T%1Zoff12Edit", "T%1Zauto12Edit"});
}

std::array<QString, 6> MeasuredFieldNames(int place) {
    return placeNames(place, {"T%1Ion11Edit", "T%1IOff11Edit", "T%1Iauto11Edit", "T%1Ion12Edit",
                              "T%1IOff12Edit", "T%1Iauto12Edit"});
}

std::array<QString, 2> StatusFieldNames(int place) {
    if (!validPlace(place))
        return {};
    return {placeName("CB%1_noPlate", place), placeName("CB%1_noConn", place)};
}

QString VoltText(std::uint8_t whole, std::uint8_t hundredths) {
    return QStringLiteral("%1.%2").arg(whole).arg(hundredths, 2, 10, QLatin1Char('0'));
}

QString MeasuredTimeText(std::uint16_t hundredths) {
    const QString text = QStringLiteral("%1%2%3")
                             .arg(hundredths / 100)
                             .arg(QLocale().decimalPoint())
                             .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    return text.rightJustified(6, QLatin1Char(' '));
}

std::array<QString, 6> PresetTexts(const std::array<std::uint8_t, 6>& bytes) {
    bool unset = true;
    for (std::uint8_t b : bytes)
        unset = unset && b == 0xFF;
    std::array<QString, 6> texts;
    for (std::size_t k = 0; k < texts.size(); ++k)
        texts[k] = unset ? QStringLiteral("-") : QString::number(bytes[k]);
    return texts;
}

std::vector<TFieldText> VoltFields(int variant, int place, std::uint8_t whole,
                                   std::uint8_t hundredths) {
    const auto names = VoltFieldNames(variant);
    if (!validPlace(place) || names[0].isEmpty())
        return {};
    return {{names[place - 1], VoltText(whole, hundredths)}};
}

std::vector<TFieldText> PresetFields(int place, const std::array<std::uint8_t, 6>& bytes) {
    if (!validPlace(place))
        return {};
    const auto names = PresetFieldNames(place);
    const auto texts = PresetTexts(bytes);
    std::vector<TFieldText> fields;
    for (std::size_t k = 0; k < names.size(); ++k)
        fields.push_back({names[k], texts[k]});
    return fields;
}

std::vector<TFieldText> MeasuredField(int place, int index, std::uint16_t hundredths) {
    if (!validPlace(place) || index < 0 || index >= 6)
        return {};
    return {
        {MeasuredFieldNames(place)[static_cast<std::size_t>(index)], MeasuredTimeText(hundredths)}};
}

std::vector<TFieldCheck> StatusChecks(int place, std::uint8_t status) {
    if (!validPlace(place))
        return {};
    const auto names = StatusFieldNames(place);
    return {{names[0], (status & 0x01) != 0}, {names[1], (status & 0x10) != 0}};
}

TBenchDecoded prAnalyzeAnswer(const std::uint8_t* bytes, std::size_t received) {
    TBenchDecoded out;
    if (bytes == nullptr || received == 0)
        return out;
    out.type = bytes[0];
    out.length = BenchPacketLength(out.type);
    if (out.length == 0)
        return out;
    const TPacketView packet(bytes, received, out.length);
    out.received = packet.received();
    // A byte that never came cannot be checked, even if a stale one would match.
    out.crcOk = out.received == out.length && Sum8(bytes, out.length - 1) == bytes[out.length - 1];
    out.logLine = out.crcOk ? QStringLiteral("CRC-ok, ") : QStringLiteral("CRC-err, ");
    switch (out.type) {
    case 'S':
        decodeStatus(packet, out);
        break;
    case 't':
        decodePreset(packet, out);
        break;
    case 'T':
        decodeMeasured(packet, out);
        break;
    default:
        decodeVolt(packet, out);
        break;
    }
    return out;
}

} // namespace qv2f3
