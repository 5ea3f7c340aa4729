// Simulated RO-4D drive controller: 56 register words in seven pages of
// eight, a flash copy they are saved to and restarted from, error words and
// ADC channels, in the binary frame with CRC-16.
#pragma once

#include "sim_unit.h"

#include <array>

namespace sim {

enum class Ro4dBoard {
    V2, // 2.x board: test line thresholds and ADC read-out
    V1, // 1.x board: no ADC read-out
};

// Reply status byte.
namespace ro4d_status {
inline constexpr std::uint8_t kDone = 1;
inline constexpr std::uint8_t kRefused = 2; // a value the unit cannot hold, or a bad page
inline constexpr std::uint8_t kUnknown = 3; // unknown command or malformed request
} // namespace ro4d_status

class Ro4dUnit : public SimUnit {
public:
    static constexpr int kPages = 7;
    static constexpr int kRegisters = kPages * 8;
    static constexpr int kAdcChannels = 6;
    // Write addresses below this land one register lower (see RegisterOfWriteAddress).
    static constexpr int kModeArea = 32;
    using Registers = std::array<std::uint16_t, kRegisters>;

    explicit Ro4dUnit(Ro4dBoard board = Ro4dBoard::V2);

    QString kind() const override { return QStringLiteral("ro4d"); }
    QString title() const override { return QStringLiteral("RO-4D"); }

    Ro4dBoard board() const { return board_; }
    // The 21 characters of the version reply.
    QByteArray versionText() const;

    // Working registers (what reads return and writes change) and the flash copy.
    Registers& registers() { return regs_; }
    const Registers& registers() const { return regs_; }
    Registers& flash() { return flash_; }
    const Registers& flash() const { return flash_; }
    // Registers as they leave the factory, for the board generation.
    static Registers FactoryRegisters(Ro4dBoard board);

    void setErrors(std::uint16_t err1, std::uint16_t err2, std::uint8_t voltErr);
    std::uint16_t err1() const { return err1_; }
    std::uint16_t err2() const { return err2_; }
    std::uint8_t voltErr() const { return voltErr_; }
    void setAdc(int channel, std::uint16_t value);
    std::uint16_t adc(int channel) const;

    int flashSaves() const { return flashSaves_; }
    int restarts() const { return restarts_; }

    // The write command numbers its parameter area from 1: write address a
    // below kModeArea is register a-1 (address 0 is a leading slot the unit
    // skips); from kModeArea on, address a is register a. -1: not stored.
    static int RegisterOfWriteAddress(int address);
    // Largest value register r may hold (10-bit ADC codes, 8-bit reference code).
    static std::uint16_t RegisterLimit(int r);

protected:
    std::size_t frameLength(const Bytes& buf) const override;
    bool frameValid(const Bytes& frame) const override;
    std::vector<Packet> handleFrame(const Bytes& frame) override;

private:
    Bytes writeRegisters(const Bytes& frame);

    Ro4dBoard board_;
    Registers regs_{};
    Registers flash_{};
    std::uint16_t err1_ = 0x0060;
    std::uint16_t err2_ = 0x0004;
    std::uint8_t voltErr_ = 0;
    std::array<std::uint16_t, kAdcChannels> adc_{};
    int flashSaves_ = 0;
    int restarts_ = 0;
};

// A request as the program frames it: length, address 1, command, payload, CRC.
Bytes Ro4dRequest(std::uint8_t command, const Bytes& payload = {});
// A reply: length, address 1, command, status, data, CRC (big-endian).
Bytes Ro4dReply(std::uint8_t command, std::uint8_t status, const Bytes& data);

} // namespace sim
