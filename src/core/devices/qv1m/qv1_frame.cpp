#include "devices/qv1m/qv1_frame.h"

#include "devices/qv1/qv1_framing.h"
#include "devices/qv1/session_code.h"
#include "devices/qv1/unit_text.h"

namespace {

constexpr std::size_t kModeLayoutSize = 21;
constexpr std::size_t kIdentFirst = 1;
constexpr std::size_t kIdentLength = 32;
constexpr std::size_t kDateFirst = 22;
constexpr std::size_t kDateLength = 8;
constexpr std::size_t kModeDigitAt = 32;

TQv1Request request(std::uint8_t command, const TMasBytes& payload, std::uint16_t replyLength) {
    return {Qv1Frame(command, payload), replyLength};
}

std::uint16_t wordAt(const TMasBytes& bytes, std::size_t i) {
    return static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8);
}

} // namespace

TMasBytes Qv1Frame(std::uint8_t command, const TMasBytes& payload) {
    return qv1::Frame(command, payload.data(), payload.size());
}

void Qv1PutWord(TMasBytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

TQv1Request Qv1StartSessionRequest() {
    return request('s', TMasBytes(kQv1SessionCode.begin(), kQv1SessionCode.end()),
                   kQv1SessionReplyLength);
}

TQv1Request Qv1ReadModeRequest(int n) {
    return request('o', {Qv1ModeDigit(n)}, kQv1ModeReplyLength);
}

TQv1Request Qv1ReadTimeErrRequest() {
    return request('p', {}, kQv1TimeErrReplyLength);
}

TQv1Request Qv1ReadVoltFlagsRequest() {
    return request('r', {}, kQv1VoltFlagsReplyLength);
}

TQv1Request Qv1WriteModeRequest(const TQv1mSet& set, int n) {
    TMasBytes payload;
    for (int c = 1; c <= kQv1ChannelCount; ++c) {
        const RQV1M_val1 r =
            Qv1ModeIndexValid(n) ? set.channel(c)[static_cast<std::size_t>(n)] : RQV1M_val1{};
        Qv1PutWord(payload, r.wTimePrevOn);
        Qv1PutWord(payload, r.wTime6sec);
        Qv1PutWord(payload, r.wTimePrevOff);
        payload.push_back(r.bFlag);
    }
    return request(Qv1ModeDigit(n), payload, kQv1ResultReplyLength);
}

TQv1Request Qv1WriteTimeErrRequest(const RQV1M_val2& s) {
    TMasBytes payload;
    for (std::uint8_t k : {s.bTimePausePrevErr_K1, s.bTimePausePrevErr_K2, s.bTimePausePrevErr_K3})
        Qv1PutWord(payload, k);
    return request('i', payload, kQv1ResultReplyLength);
}

TQv1Request Qv1WriteVoltFlagsRequest(const RQV1M_val2& s) {
    TMasBytes payload{s.bFlagMode_E};
    Qv1PutWord(payload, s.wBut_Lvl_DO);
    Qv1PutWord(payload, s.wBut_Lvl_UD);
    Qv1PutWord(payload, s.wBut_Lvl_SC);
    return request('0', payload, kQv1ResultReplyLength);
}

TQv1Request Qv1CmdTRequest() {
    return request('t', {}, kQv1ResultReplyLength);
}

TQv1Request Qv1WriteDateRequest(int day, int month, int year) {
    auto bcd = [](int v) { return static_cast<std::uint8_t>(DecimalAsHex(v, {})); };
    return request('d', {bcd(day), bcd(month), bcd(year - 2000)}, kQv1ResultReplyLength);
}

TQv1Request Qv1EndSessionRequest(bool restart) {
    return request('q', {static_cast<std::uint8_t>(restart ? 0x01 : 0x00)}, kQv1ResultReplyLength);
}

TQv1Request Qv1SwitchModeRequest(int n) {
    return request('u', {Qv1ModeDigit(n)}, kQv1ResultReplyLength);
}

QString Qv1DecodeIdentText(const TMasBytes& reply) {
    if (reply.size() < kIdentFirst + kIdentLength)
        return {};
    return qv1::UnitText(reply.data() + kIdentFirst, kIdentLength);
}

QString Qv1DecodeReleaseDate(const TMasBytes& reply) {
    if (reply.size() < kDateFirst + kDateLength)
        return {};
    return qv1::UnitText(reply.data() + kDateFirst, kDateLength);
}

int Qv1DecodeCurrentMode(const TMasBytes& reply) {
    return reply.size() > kModeDigitAt ? reply[kModeDigitAt] - 0x31 : -1;
}

void Qv1DecodeMode(const TMasBytes& reply, TQv1mSet& set, int n) {
    if (reply.size() < 1 + kModeLayoutSize || !Qv1ModeIndexValid(n))
        return;
    std::size_t i = 1;
    for (int c = 1; c <= kQv1ChannelCount; ++c, i += 7) {
        RQV1M_val1& r = set.channel(c)[static_cast<std::size_t>(n)];
        r.wTimePrevOn = wordAt(reply, i);
        r.wTime6sec = wordAt(reply, i + 2);
        r.wTimePrevOff = wordAt(reply, i + 4);
        r.bFlag = reply[i + 6];
    }
}

void Qv1DecodeTimeErr(const TMasBytes& reply, RQV1M_val2& s) {
    if (reply.size() < 6)
        return;
    s.bTimePausePrevErr_K1 = reply[1];
    s.bTimePausePrevErr_K2 = reply[3];
    s.bTimePausePrevErr_K3 = reply[5];
}

void Qv1DecodeVoltFlags(const TMasBytes& reply, RQV1M_val2& s) {
    if (reply.size() < 8)
        return;
    s.bFlagMode_E = reply[1];
    s.wBut_Lvl_DO = wordAt(reply, 2);
    s.wBut_Lvl_UD = wordAt(reply, 4);
    s.wBut_Lvl_SC = wordAt(reply, 6);
}

std::uint8_t Qv1ResultCode(const TMasBytes& reply) {
    return reply.size() > 1 ? reply[1] : 0xFF;
}

bool Qv1DateIsSet(const QString& initDate) {
    for (int at : {0, 3, 6})
        if (initDate.mid(at, 2) != QLatin1String("00"))
            return true;
    return false;
}
