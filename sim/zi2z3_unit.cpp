#include "zi2z3_unit.h"

#include "exchange/frame.h"
#include "qv1_frame.h"

#include <algorithm>

namespace sim {

namespace {

constexpr std::uint8_t kBenchHead = 0x43; // "C"
constexpr std::size_t kSessionReply = 8;
constexpr std::size_t kReadReply = 9;
constexpr std::size_t kResultReply = 3;

// How far the measured times stray from the preset ones, in 1/100 s.
constexpr int kDeviation[2][6] = {{3, 5, -4, 2, 6, -3}, {-2, 4, 1, -5, 3, 2}};

} // namespace

Zi2z3Unit::Zi2z3Unit() {
    places_[1].idle = {5, 4};
    places_[1].working = {4, 95};
    places_[1].supply = {12, 3};
    places_[1].current = {41, 80};
}

Bytes Zi2z3Unit::identification() const {
    return ToCp866(u"ЗИ2З3");
}

std::uint8_t Zi2z3Unit::StatusOf(const BenchPlace& p) {
    if (!p.board)
        return kNoBoard;
    return p.answers ? 0 : kNoAnswer;
}

Bytes Zi2z3Unit::MakePacket(std::uint8_t type, const Bytes& body) {
    Bytes out(body.size() + 2);
    out[0] = type;
    std::copy(body.begin(), body.end(), out.begin() + 1);
    out.back() = Sum8(out.data(), out.size() - 1);
    return out;
}

Bytes Zi2z3Unit::BenchCommand(std::uint8_t code) {
    return {kBenchHead, code, static_cast<std::uint8_t>(kBenchHead + code)};
}

std::size_t Zi2z3Unit::frameLength(const Bytes& buf) const {
    return buf[0] == kBenchHead ? 3 : Qv1FrameLength(buf);
}

bool Zi2z3Unit::frameValid(const Bytes& frame) const {
    if (frame[0] == kBenchHead && frame.size() == 3)
        return frame[2] == Sum8(frame.data(), 2);
    return Qv1FrameValid(frame);
}

bool Zi2z3Unit::knownCommand(const Bytes& frame) const {
    if (frame[0] == kBenchHead)
        return frame.size() == 3;
    const std::uint8_t cmd = frame[1];
    return (cmd == 's' && frame.size() == 8) || (cmd == 'R' && frame.size() == 3) ||
           (cmd == 'W' && frame.size() == 9);
}

std::vector<Packet> Zi2z3Unit::handleFrame(const Bytes& frame) {
    if (frame[0] == kBenchHead && frame.size() == 3)
        return benchCommand(frame[1]);
    const std::uint8_t cmd = frame[1];
    // Byte 1 of the session and read replies is a result code, the data follow it.
    auto withResult = [](const auto& data) {
        Bytes body(data.size() + 1, zi2z3_result::kAccepted);
        std::copy(data.begin(), data.end(), body.begin() + 1);
        return body;
    };
    if (cmd == 's' && Qv1HasSessionCode(frame))
        return {{Qv1Reply(kSessionReply, withResult(identification()))}};
    if (cmd == 'R' && frame.size() == 3)
        return {{Qv1Reply(kReadReply, withResult(delays_))}};
    if (cmd == 'W' && frame.size() == 9) {
        const WriteFate fate = writeFate();
        if (fate == WriteFate::Refuse)
            return {{Qv1Reply(kResultReply, {zi2z3_result::kRefused})}};
        if (fate == WriteFate::Store)
            std::copy_n(frame.begin() + 2, delays_.size(), delays_.begin());
        return {{Qv1Reply(kResultReply, {zi2z3_result::kAccepted})}};
    }
    return {};
}

std::vector<Packet> Zi2z3Unit::benchCommand(std::uint8_t code) {
    switch (code) {
    case 0x00:
        return {{MakePacket('S', {StatusOf(places_[0]), StatusOf(places_[1])})}};
    case 0x01:
        return {{readingsPacket('u', &BenchPlace::idle)}};
    case 0x02:
        return {{readingsPacket('U', &BenchPlace::working)}};
    case 0x03:
        return {{readingsPacket('U', &BenchPlace::supply)}};
    case 0x04:
        return {{readingsPacket('I', &BenchPlace::current)}};
    case 0x05:
        return {{presetPacket()}};
    case 0x06:
        return {{measuredPacket(0)}, {measuredPacket(1), kPacketGapMs}};
    case 0x80:
        runTest();
        return {{MakePacket('S', {StatusOf(places_[0]), StatusOf(places_[1])})},
                {measuredPacket(0), testMs_},
                {measuredPacket(1), kPacketGapMs}};
    default:
        return {}; // unknown codes are ignored
    }
}

Bytes Zi2z3Unit::readingsPacket(std::uint8_t type, Reading BenchPlace::*which) const {
    Bytes body;
    for (const auto& p : places_) {
        // Without a working unit nothing loads the line: only the idle voltage is there.
        const bool loaded = which == &BenchPlace::idle || StatusOf(p) == 0;
        const Reading r = loaded ? p.*which : Reading{};
        body.push_back(r.whole);
        body.push_back(r.hundredths);
    }
    return MakePacket(type, body);
}

Bytes Zi2z3Unit::presetPacket() const {
    Bytes body;
    for (const auto& p : places_) {
        for (const std::uint8_t d : delays_)
            body.push_back(StatusOf(p) == 0 ? d : 0xFF); // 0xFF: program not readable
    }
    return MakePacket('t', body);
}

Bytes Zi2z3Unit::measuredPacket(int index) const {
    Bytes body{static_cast<std::uint8_t>('1' + index)};
    for (const std::uint16_t w : places_[static_cast<std::size_t>(index)].measured)
        PutWord(body, w);
    return MakePacket('T', body);
}

void Zi2z3Unit::runTest() {
    ++testsRun_;
    for (int i = 0; i < 2; ++i) {
        BenchPlace& p = places_[static_cast<std::size_t>(i)];
        for (std::size_t k = 0; k < 6; ++k) {
            const int t = StatusOf(p) == 0 ? delays_[k] * 100 + kDeviation[i][k] : 0;
            p.measured[k] = static_cast<std::uint16_t>(std::clamp(t, 0, 0xFFFF));
        }
    }
}

} // namespace sim
