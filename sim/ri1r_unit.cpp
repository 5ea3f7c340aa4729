#include "ri1r_unit.h"

#include "qv1_frame.h"

#include <QStringList>

namespace sim {

namespace {

constexpr std::uint8_t kAlternating = 0x01;
constexpr std::uint8_t kByTime = 0x02;
constexpr std::uint8_t kFlagBits = 0x0F;
constexpr std::uint8_t kCommonFlagBits = 0x03;
constexpr std::uint16_t kAdcMax = 1023;

// Reply lengths, fixed per command.
constexpr std::size_t kSessionReply = 34;
constexpr std::size_t kModeReply = 23;
constexpr std::size_t kTimeErrReply = 8;
constexpr std::size_t kVoltFlagsReply = 9;
constexpr std::size_t kResultReply = 3;

// Channels driven by each mode (bit 0 = channel 1).
constexpr unsigned kModeChannels[Ri1rUnit::kModes] = {7, 1, 3, 3, 7, 7, 7};

// Modes as the unit leaves the factory; every one passes CheckMode.
const std::array<Ri1rMode, Ri1rUnit::kModes> kFactoryModes{{
    {{{0, 0, 5, 0x04}, {2, 30, 0, 0x06}, {0, 10, 10, 0x01}}},
    {{{0, 60, 0, 0x06}, {0, 0, 0, 0x00}, {0, 0, 0, 0x00}}},
    {{{0, 0, 3, 0x04}, {0, 0, 3, 0x04}, {0, 0, 0, 0x00}}},
    {{{100, 20, 20, 0x07}, {100, 20, 20, 0x07}, {0, 0, 0, 0x00}}},
    {{{1, 0, 1, 0x0C}, {1, 0, 1, 0x0C}, {1, 0, 1, 0x0C}}},
    {{{0, 10, 0, 0x02}, {5, 10, 0, 0x02}, {10, 10, 0, 0x02}}},
    {{{0, 0, 2, 0x04}, {0, 15, 0, 0x06}, {0, 5, 5, 0x05}}},
}};
// Fault delays 5 s; with Uацп 5.25 V: Umin 1.50 V, Uсраб. 2.05 V, Umax 4.50 V.
constexpr Ri1rCommon kFactoryCommon{{5, 5, 5}, 0x00, 293, 400, 878};

bool bcdValid(std::uint8_t b) {
    return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}
int fromBcd(std::uint8_t b) {
    return (b >> 4) * 10 + (b & 0x0F);
}
std::uint8_t toBcd(int v) {
    return static_cast<std::uint8_t>((v / 10) << 4 | (v % 10));
}
bool dateValid(int day, int month) {
    return day >= 1 && day <= 31 && month >= 1 && month <= 12;
}

bool isModeDigit(std::uint8_t b) {
    return b >= '1' && b < '1' + Ri1rUnit::kModes;
}

} // namespace

Ri1rUnit::Ri1rUnit() : modes_(kFactoryModes), common_(kFactoryCommon), saved_(kFactoryCommon) {}

unsigned Ri1rUnit::ChannelsOfMode(int n) {
    return n >= 0 && n < kModes ? kModeChannels[n] : 0;
}

std::uint8_t Ri1rUnit::CheckMode(int n, const Ri1rMode& mode) {
    for (int c = 0; c < 3; ++c) {
        if (!(ChannelsOfMode(n) & (1u << c)))
            continue;
        const Ri1rChannel& ch = mode[static_cast<std::size_t>(c)];
        const bool alternating = ch.flag & kAlternating;
        const bool byTime = ch.flag & kByTime;
        bool ok = (ch.flag & ~kFlagBits) == 0;
        if (alternating)
            ok = ok && ch.t6sec > 0 && ch.toff > 0 && (!byTime || ch.ton > ch.t6sec);
        else if (byTime)
            ok = ok && ch.t6sec > 6;
        if (!ok)
            return static_cast<std::uint8_t>(c + 1);
    }
    return ri1r_result::kAccepted;
}

bool Ri1rUnit::CommonValid(const Ri1rCommon& c) {
    return (c.flags & ~kCommonFlagBits) == 0 && c.lvlDo < c.lvlUd && c.lvlUd < c.lvlSc &&
           c.lvlSc <= kAdcMax;
}

Bytes Ri1rUnit::EncodeMode(const Ri1rMode& mode) {
    Bytes out;
    for (const auto& ch : mode) {
        PutWord(out, ch.ton);
        PutWord(out, ch.t6sec);
        PutWord(out, ch.toff);
        out.push_back(ch.flag);
    }
    return out;
}

Ri1rMode Ri1rUnit::DecodeMode(const Bytes& bytes, std::size_t at) {
    Ri1rMode mode;
    for (auto& ch : mode) {
        ch = {WordAt(bytes, at), WordAt(bytes, at + 2), WordAt(bytes, at + 4), bytes[at + 6]};
        at += 7;
    }
    return mode;
}

QString Ri1rUnit::releaseDate() const {
    return QStringLiteral("%1.%2.%3")
        .arg(fromBcd(date_[0]), 2, 10, QLatin1Char('0'))
        .arg(fromBcd(date_[1]), 2, 10, QLatin1Char('0'))
        .arg(fromBcd(date_[2]), 2, 10, QLatin1Char('0'));
}

bool Ri1rUnit::setReleaseDate(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 3)
        return false;
    int v[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        v[i] = parts[i].toInt(&ok);
        if (!ok || parts[i].size() != 2 || v[i] < 0)
            return false;
    }
    const bool unset = v[0] == 0 && v[1] == 0 && v[2] == 0;
    if (!unset && !dateValid(v[0], v[1]))
        return false;
    for (int i = 0; i < 3; ++i)
        date_[static_cast<std::size_t>(i)] = toBcd(v[i]);
    return true;
}

Bytes Ri1rUnit::identification() const {
    // Bytes 21..28 of the text are the release date, byte 31 the current mode digit.
    QString text = QStringLiteral("РИ1-Р в.1.07, выпуск ") + releaseDate() + QStringLiteral(" #") +
                   QChar(u'1' + currentMode_);
    return ToCp866(text);
}

std::size_t Ri1rUnit::frameLength(const Bytes& buf) const {
    return Qv1FrameLength(buf);
}

bool Ri1rUnit::frameValid(const Bytes& frame) const {
    return Qv1FrameValid(frame);
}

std::vector<Packet> Ri1rUnit::handleFrame(const Bytes& frame) {
    if (frame[1] == 's') {
        if (!Qv1HasSessionCode(frame))
            return {};
        inSession_ = true;
        return {{Qv1Reply(kSessionReply, identification())}};
    }
    // Outside a session the unit listens for nothing but a session start.
    if (!inSession_)
        return {};
    const Bytes reply = sessionCommand(frame);
    if (reply.empty())
        return {};
    return {{reply}};
}

Bytes Ri1rUnit::sessionCommand(const Bytes& frame) {
    const std::uint8_t cmd = frame[1];
    const std::size_t len = frame.size();
    auto result = [](std::uint8_t code) { return Qv1Reply(kResultReply, {code}); };

    if (cmd == 'o' && len == 4 && isModeDigit(frame[2]))
        return Qv1Reply(kModeReply, EncodeMode(modes_[frame[2] - '1']));
    if (cmd == 'p' && len == 3)
        return Qv1Reply(kTimeErrReply,
                        {common_.timeErr[0], 0, common_.timeErr[1], 0, common_.timeErr[2], 0});
    if (cmd == 'r' && len == 3) {
        Bytes body{common_.flags};
        PutWord(body, common_.lvlDo);
        PutWord(body, common_.lvlUd);
        PutWord(body, common_.lvlSc);
        return Qv1Reply(kVoltFlagsReply, body);
    }
    if (isModeDigit(cmd) && len == 24)
        return result(writeMode(frame));
    if (cmd == 'i' && len == 9)
        return result(writeTimeErr(frame));
    if (cmd == '0' && len == 10)
        return result(writeVoltFlags(frame));
    if (cmd == 't' && len == 3) {
        const WriteFate fate = writeFate();
        if (fate == WriteFate::Refuse)
            return result(ri1r_result::kRefused);
        if (fate == WriteFate::Store)
            saved_ = common_;
        return result(ri1r_result::kAccepted);
    }
    if (cmd == 'd' && len == 6)
        return result(writeDate(frame));
    if (cmd == 'q' && len == 4)
        return result(endSession(frame[2]));
    if (cmd == 'u' && len == 4) {
        if (!isModeDigit(frame[2]))
            return result(ri1r_result::kBadValue);
        currentMode_ = frame[2] - '1';
        return result(ri1r_result::kAccepted);
    }
    return {}; // unknown or malformed: the unit keeps quiet
}

std::uint8_t Ri1rUnit::writeMode(const Bytes& frame) {
    const int n = frame[1] - '1';
    const Ri1rMode mode = DecodeMode(frame, 2);
    if (const std::uint8_t bad = CheckMode(n, mode))
        return bad;
    const WriteFate fate = writeFate();
    if (fate == WriteFate::Refuse)
        return ri1r_result::kRefused;
    if (fate == WriteFate::Store)
        modes_[static_cast<std::size_t>(n)] = mode;
    return ri1r_result::kAccepted;
}

std::uint8_t Ri1rUnit::writeTimeErr(const Bytes& frame) {
    if (frame[3] != 0 || frame[5] != 0 || frame[7] != 0)
        return ri1r_result::kBadValue; // delays are whole seconds up to 255
    const WriteFate fate = writeFate();
    if (fate == WriteFate::Refuse)
        return ri1r_result::kRefused;
    if (fate == WriteFate::Store)
        common_.timeErr = {frame[2], frame[4], frame[6]};
    return ri1r_result::kAccepted;
}

std::uint8_t Ri1rUnit::writeVoltFlags(const Bytes& frame) {
    const Ri1rCommon c{common_.timeErr, frame[2], WordAt(frame, 3), WordAt(frame, 5),
                       WordAt(frame, 7)};
    if (!CommonValid(c))
        return ri1r_result::kBadValue;
    const WriteFate fate = writeFate();
    if (fate == WriteFate::Refuse)
        return ri1r_result::kRefused;
    if (fate == WriteFate::Store)
        common_ = c;
    return ri1r_result::kAccepted;
}

std::uint8_t Ri1rUnit::writeDate(const Bytes& frame) {
    if (date_ != std::array<std::uint8_t, 3>{})
        return ri1r_result::kDateSet;
    const std::array<std::uint8_t, 3> d{frame[2], frame[3], frame[4]};
    if (!bcdValid(d[0]) || !bcdValid(d[1]) || !bcdValid(d[2]) ||
        !dateValid(fromBcd(d[0]), fromBcd(d[1])))
        return ri1r_result::kBadValue;
    const WriteFate fate = writeFate();
    if (fate == WriteFate::Refuse)
        return ri1r_result::kRefused;
    if (fate == WriteFate::Keep)
        return ri1r_result::kAccepted;
    date_ = d;
    saved_ = common_; // the date goes to flash together with the common settings
    return ri1r_result::kAccepted;
}

std::uint8_t Ri1rUnit::endSession(std::uint8_t how) {
    if (how > 1)
        return ri1r_result::kBadValue;
    inSession_ = false;
    if (how == 1) {
        common_ = saved_;
        ++restarts_;
    }
    return ri1r_result::kAccepted;
}

} // namespace sim
