#include "devices/qv4m/ro4d_protocol.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kAddress = 0x01;
constexpr std::uint8_t kCmdVersion = 0;
constexpr std::uint8_t kCmdPage = 1;
constexpr std::uint8_t kCmdSave = 3;
constexpr std::uint8_t kCmdRestart = 4;
constexpr std::uint8_t kCmdWrite = 5;
constexpr std::uint8_t kCmdErrors = 6;
constexpr std::uint8_t kCmdAdc = 7;
// Byte 0 of a request is its length with the two CRC bytes.
constexpr std::uint8_t kCrcBytes = 2;
constexpr int kVersionChars = 21;
constexpr int kDataStart = 4;
constexpr int kCommandByte = 2;

QString commandName(std::uint8_t command) {
    switch (command) {
    case kCmdVersion:
        return QStringLiteral("версия");
    case kCmdPage:
        return QStringLiteral("чтение страницы");
    case kCmdSave:
        return QStringLiteral("запись во FLASH");
    case kCmdRestart:
        return QStringLiteral("перезапуск");
    case kCmdWrite:
        return QStringLiteral("запись");
    case kCmdErrors:
        return QStringLiteral("чтение ошибок");
    case kCmdAdc:
        return QStringLiteral("канал АЦП");
    default:
        return QStringLiteral("неизвестная");
    }
}

QString commandText(std::uint8_t command) {
    return QStringLiteral("%1 (%2)").arg(command).arg(commandName(command));
}

TRo4dRequest request(std::uint8_t command, TMasBytes argument, std::uint16_t replyLength) {
    TRo4dRequest r;
    r.bytes.assign(3 + argument.size(), 0);
    r.bytes[0] = static_cast<std::uint8_t>(r.bytes.size() + kCrcBytes);
    r.bytes[1] = kAddress;
    r.bytes[2] = command;
    std::copy(argument.begin(), argument.end(), r.bytes.begin() + 3);
    r.replyLength = replyLength;
    return r;
}

void appendWord(TMasBytes& bytes, std::uint16_t word) {
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(word >> 8));
}

int digitValue(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.unicode() - '0' : 0;
}

} // namespace

TRo4dRequest VersionRequest() {
    return request(kCmdVersion, {}, 27);
}
TRo4dRequest PageRequest(std::uint8_t page) {
    return request(kCmdPage, {page}, 22);
}
TRo4dRequest SaveToFlashRequest() {
    return request(kCmdSave, {}, 6);
}
TRo4dRequest RestartRequest() {
    return request(kCmdRestart, {}, 11);
}
TRo4dRequest ReadErrorsRequest() {
    return request(kCmdErrors, {}, 11);
}
TRo4dRequest AdcRequest(std::uint8_t channel) {
    return request(kCmdAdc, {channel}, 8);
}

std::array<TRo4dRequest, kRo4dWriteFrames> WriteRequests(const TParamRegs& params,
                                                         const TModeRegs& mode) {
    // The unit numbers its parameter area from 1, so the parameters go out one
    // word later than they come back in the read pages.
    std::array<std::uint16_t, 32> paramSlots{};
    for (int n = 0; n <= wFlagCheck_But_Sig_SW_OZ; ++n)
        paramSlots[static_cast<std::size_t>(n + 1)] = params[static_cast<std::size_t>(n)];
    std::array<std::uint16_t, 32> modeSlots{};
    for (int n = 0; n < kModeFieldCount; ++n)
        modeSlots[static_cast<std::size_t>(n)] = mode[static_cast<std::size_t>(n)];

    std::array<TRo4dRequest, kRo4dWriteFrames> frames;
    for (int f = 0; f < kRo4dWriteFrames; ++f) {
        const bool modeFrame = f >= 4;
        const int first = (modeFrame ? f - 4 : f) * kRo4dPageWords;
        TMasBytes data{static_cast<std::uint8_t>(f * kRo4dPageWords)};
        const auto& source = modeFrame ? modeSlots : paramSlots;
        for (int k = 0; k < kRo4dPageWords; ++k)
            appendWord(data, source[static_cast<std::size_t>(first + k)]);
        frames[static_cast<std::size_t>(f)] = request(kCmdWrite, data, 6);
    }
    return frames;
}

std::uint16_t ReplyWord(const TMasBytes& reply, int k) {
    const std::size_t at = static_cast<std::size_t>(kDataStart + 2 * k);
    if (at + 1 >= reply.size())
        return 0;
    return static_cast<std::uint16_t>(reply[at] | (reply[at + 1] << 8));
}

std::array<std::uint16_t, kRo4dPageWords> PageWords(const TMasBytes& reply) {
    std::array<std::uint16_t, kRo4dPageWords> words{};
    for (int k = 0; k < kRo4dPageWords; ++k)
        words[static_cast<std::size_t>(k)] = ReplyWord(reply, k);
    return words;
}

QString ReplyCrcMismatch(const TMasBytes& reply, std::size_t length) {
    if (length < kCrcBytes + 1 || length > reply.size())
        return {};
    const std::size_t covered = length - kCrcBytes;
    const std::uint16_t expected = Crc16(reply.data(), covered);
    const auto received = static_cast<std::uint16_t>(reply[covered] << 8 | reply[covered + 1]);
    if (expected == received)
        return {};
    auto hex = [](std::uint16_t v) { return QString::fromStdString(ValueToHex(2, true, v)); };
    return QStringLiteral("Ответ с неверной CRC: ожидалась %1, получена %2")
        .arg(hex(expected), hex(received));
}

QString ReplyCommandMismatch(const TMasBytes& reply, std::size_t length, std::uint8_t command) {
    if (length <= kCommandByte || reply.size() <= kCommandByte || reply[kCommandByte] == command)
        return {};
    return QStringLiteral("Отброшен ответ на команду %1: запрошена команда %2")
        .arg(commandText(reply[kCommandByte]), commandText(command));
}

QString VersionText(const TMasBytes& reply) {
    QString text;
    for (int i = 0; i < kVersionChars; ++i) {
        const std::size_t at = static_cast<std::size_t>(kDataStart + i);
        if (at >= reply.size())
            break;
        text += QChar(static_cast<char16_t>(reply[at]));
    }
    return text;
}

std::uint8_t BoardGeneration(const QString& versionText) {
    if (versionText.size() <= 11)
        return 0x10;
    return static_cast<std::uint8_t>(16 * digitValue(versionText[8]) + digitValue(versionText[10]));
}

std::uint8_t AdcChannelOf(int itemIndex) {
    const auto channel = static_cast<std::uint8_t>(itemIndex);
    return channel > kAdcLastChannel ? kAdcLastChannel : channel;
}

TRo4dErrors ErrorsOf(const TMasBytes& reply) {
    TRo4dErrors e;
    e.wErr1 = ReplyWord(reply, 0);
    e.wErr2 = ReplyWord(reply, 1);
    e.bVoltErr = reply.size() > 8 ? reply[8] : 0;
    return e;
}
