#include "ro4d_unit.h"

#include "exchange/frame.h"

namespace sim {

namespace {

constexpr std::uint8_t kAddress = 0x01;
constexpr std::size_t kMinFrame = 5;
constexpr std::size_t kMaxFrame = 32;

// Command codes and the data length of their replies.
enum Command : std::uint8_t {
    kVersion = 0,
    kReadPage = 1,
    kSave = 3,
    kRestart = 4,
    kWrite = 5,
    kErrors = 6,
    kAdc = 7,
};

struct CommandShape {
    std::uint8_t code;
    std::size_t requestLength; // with the CRC
    std::size_t replyData;
};

constexpr CommandShape kShapes[] = {
    {kVersion, 5, 21}, {kReadPage, 6, 16}, {kSave, 5, 0}, {kRestart, 5, 5},
    {kWrite, 22, 0},   {kErrors, 5, 5},    {kAdc, 6, 2},
};

const CommandShape* shapeOf(std::uint8_t code) {
    for (const auto& s : kShapes)
        if (s.code == code)
            return &s;
    return nullptr;
}

// Parameter registers 0..24 as the factory sets them (the program's page
// defaults), then the 20 mode words from register 32 on.
constexpr std::uint16_t kFactoryParams[25] = {15,  7,      1,   6,   6,   240, 25,    3,   5,
                                              10,  0,      205, 232, 993, 883, 768,   993, 883,
                                              768, 0x1800, 30,  1,   120, 0,   0x3355};
constexpr std::uint16_t kFactoryModes[20] = {0x053C, 0x051C, 0x0001, 0x1000, 0x0040, 0x2004, 0,
                                             0,      0,      0x0001, 0x1000, 0x0004, 0x2000, 0x0010,
                                             0x1001, 0,      0,      0,      0x0004, 0x2000};
// 2.x boards: test line thresholds 2.35 V and 1.60 V against a 3.30 V reference.
constexpr std::uint16_t kV2TestHigh = 729;
constexpr std::uint16_t kV2TestLow = 496;
// ADC channels C3, C1, test line, K3, K1, jumpers: lines at rest, K1 open.
constexpr std::uint16_t kFactoryAdc[Ro4dUnit::kAdcChannels] = {842, 845, 512, 840, 1020, 256};

} // namespace

namespace {
// head (its byte 0 a placeholder for the length), then body, then the CRC.
Bytes withCrc(Bytes head, const Bytes& body) {
    TMasBytes buf = std::move(head);
    buf.insert(buf.end(), body.begin(), body.end());
    buf[0] = static_cast<std::uint8_t>(buf.size() + 2);
    auto len = static_cast<std::uint16_t>(buf.size());
    buf.resize(buf.size() + 2);
    AppendCrc16(buf, len);
    return buf;
}
} // namespace

Bytes Ro4dRequest(std::uint8_t command, const Bytes& payload) {
    return withCrc({0, kAddress, command}, payload);
}

Bytes Ro4dReply(std::uint8_t command, std::uint8_t status, const Bytes& data) {
    return withCrc({0, kAddress, command, status}, data);
}

Ro4dUnit::Ro4dUnit(Ro4dBoard board) : board_(board) {
    regs_ = flash_ = FactoryRegisters(board);
    std::copy(std::begin(kFactoryAdc), std::end(kFactoryAdc), adc_.begin());
}

Ro4dUnit::Registers Ro4dUnit::FactoryRegisters(Ro4dBoard board) {
    Registers r{};
    std::copy(std::begin(kFactoryParams), std::end(kFactoryParams), r.begin());
    std::copy(std::begin(kFactoryModes), std::end(kFactoryModes), r.begin() + kModeArea);
    if (board == Ro4dBoard::V2) {
        r[10] = kV2TestHigh;
        r[11] = kV2TestLow;
    }
    return r;
}

QByteArray Ro4dUnit::versionText() const {
    // Characters 9 and 11 carry the board generation the program looks for.
    return board_ == Ro4dBoard::V2 ? QByteArrayLiteral("VI-4D v.2.1 15.03.19 ")
                                   : QByteArrayLiteral("VI-4D v.1.9 20.11.17 ");
}

void Ro4dUnit::setErrors(std::uint16_t err1, std::uint16_t err2, std::uint8_t voltErr) {
    err1_ = err1;
    err2_ = err2;
    voltErr_ = voltErr;
}

void Ro4dUnit::setAdc(int channel, std::uint16_t value) {
    if (channel >= 0 && channel < kAdcChannels)
        adc_[static_cast<std::size_t>(channel)] = value;
}

std::uint16_t Ro4dUnit::adc(int channel) const {
    return channel >= 0 && channel < kAdcChannels ? adc_[static_cast<std::size_t>(channel)] : 0;
}

int Ro4dUnit::RegisterOfWriteAddress(int address) {
    if (address < 0 || address >= kRegisters)
        return -1;
    return address < kModeArea ? address - 1 : address;
}

std::uint16_t Ro4dUnit::RegisterLimit(int r) {
    if (r == 10 || r == 11 || (r >= 13 && r <= 18))
        return 1023;
    if (r == 12)
        return 255;
    return 0xFFFF;
}

std::size_t Ro4dUnit::frameLength(const Bytes& buf) const {
    const std::size_t len = buf[0];
    return len >= kMinFrame && len <= kMaxFrame ? len : 0;
}

bool Ro4dUnit::frameValid(const Bytes& frame) const {
    const std::uint16_t crc = Crc16(frame.data(), frame.size() - 2);
    return frame[frame.size() - 2] == (crc >> 8) && frame[frame.size() - 1] == (crc & 0xFF);
}

std::vector<Packet> Ro4dUnit::handleFrame(const Bytes& frame) {
    if (frame[1] != kAddress)
        return {}; // another unit's frame on a shared line
    const std::uint8_t code = frame[2];
    const CommandShape* shape = shapeOf(code);
    if (!shape)
        return {{Ro4dReply(code, ro4d_status::kUnknown, {})}};
    if (frame.size() != shape->requestLength)
        return {{Ro4dReply(code, ro4d_status::kUnknown, Bytes(shape->replyData, 0))}};

    Bytes data;
    std::uint8_t status = ro4d_status::kDone;
    switch (code) {
    case kVersion: {
        const QByteArray text = versionText();
        data.assign(text.begin(), text.end());
        break;
    }
    case kReadPage: {
        const int page = frame[3];
        if (page >= kPages) {
            status = ro4d_status::kRefused;
            data.assign(shape->replyData, 0);
            break;
        }
        for (int k = 0; k < 8; ++k)
            PutWord(data, regs_[static_cast<std::size_t>(page * 8 + k)]);
        break;
    }
    case kSave: {
        const WriteFate fate = writeFate();
        if (fate == WriteFate::Refuse) {
            status = ro4d_status::kRefused;
            break;
        }
        if (fate == WriteFate::Store)
            flash_ = regs_;
        ++flashSaves_;
        break;
    }
    case kRestart:
        regs_ = flash_;
        ++restarts_;
        PutWord(data, static_cast<std::uint16_t>(restarts_));
        data.resize(shape->replyData, 0);
        break;
    case kWrite: {
        const Bytes reply = writeRegisters(frame);
        return {{reply}};
    }
    case kErrors:
        PutWord(data, err1_);
        PutWord(data, err2_);
        data.push_back(voltErr_);
        break;
    case kAdc:
        if (board_ != Ro4dBoard::V2)
            status = ro4d_status::kUnknown;
        else if (frame[3] >= kAdcChannels)
            status = ro4d_status::kRefused;
        PutWord(data, status == ro4d_status::kDone ? adc_[frame[3]] : 0);
        break;
    }
    return {{Ro4dReply(code, status, data)}};
}

Bytes Ro4dUnit::writeRegisters(const Bytes& frame) {
    const int start = frame[3];
    bool sound = start < kRegisters;
    for (int i = 0; i < 8 && sound; ++i) {
        const int r = RegisterOfWriteAddress(start + i);
        if (r >= 0 && WordAt(frame, 4 + 2 * static_cast<std::size_t>(i)) > RegisterLimit(r))
            sound = false;
    }
    const WriteFate fate = sound ? writeFate() : WriteFate::Refuse;
    if (fate == WriteFate::Refuse)
        return Ro4dReply(kWrite, ro4d_status::kRefused, {});
    for (int i = 0; i < 8 && fate == WriteFate::Store; ++i) {
        const int r = RegisterOfWriteAddress(start + i);
        if (r >= 0)
            regs_[static_cast<std::size_t>(r)] = WordAt(frame, 4 + 2 * static_cast<std::size_t>(i));
    }
    return Ro4dReply(kWrite, ro4d_status::kDone, {});
}

} // namespace sim
