// Simulated RI1-R relay unit: seven modes of three channels, common settings
// (fault delays, flags, thresholds) with a saved copy, release date and
// current mode, spoken to in QV1 command frames inside a session.
#pragma once

#include "sim_unit.h"

#include <array>

namespace sim {

struct Ri1rChannel {
    std::uint16_t ton = 0;
    std::uint16_t t6sec = 0;
    std::uint16_t toff = 0;
    std::uint8_t flag = 0; // bit 0 alternating, 1 by time, 2 fault control, 3 inverse
    bool operator==(const Ri1rChannel&) const = default;
};
using Ri1rMode = std::array<Ri1rChannel, 3>;

struct Ri1rCommon {
    std::array<std::uint8_t, 3> timeErr{}; // fault delays of K1..K3, s
    std::uint8_t flags = 0;                // bit 0 fault relay latched, bit 1 O+/Z+ inverted
    std::uint16_t lvlDo = 0;               // ADC codes of Umin, Uсраб., Umax
    std::uint16_t lvlUd = 0;
    std::uint16_t lvlSc = 0;
    bool operator==(const Ri1rCommon&) const = default;
};

// Result codes of the write commands.
namespace ri1r_result {
inline constexpr std::uint8_t kAccepted = 0;
inline constexpr std::uint8_t kBadValue = 1; // mode writes: 1..3 name the channel at fault
inline constexpr std::uint8_t kDateSet = 4;  // the release date is written once
inline constexpr std::uint8_t kRefused = 5;  // refused on request (fault)
} // namespace ri1r_result

class Ri1rUnit : public SimUnit {
public:
    static constexpr int kModes = 7;

    Ri1rUnit();

    QString kind() const override { return QStringLiteral("ri1r"); }
    QString title() const override { return QStringLiteral("RI1-R"); }

    std::array<Ri1rMode, kModes>& modes() { return modes_; }
    const std::array<Ri1rMode, kModes>& modes() const { return modes_; }
    // Working common settings (read and written in a session) and the saved
    // copy ("t" and "d" save; a restart reloads from it).
    Ri1rCommon& common() { return common_; }
    const Ri1rCommon& common() const { return common_; }
    const Ri1rCommon& savedCommon() const { return saved_; }

    int currentMode() const { return currentMode_; } // 0..6
    void setCurrentMode(int index) { currentMode_ = index; }
    // "dd.mm.yy"; "00.00.00" while no release date is written.
    QString releaseDate() const;
    // False when text is not a valid "dd.mm.yy".
    bool setReleaseDate(const QString& text);

    bool inSession() const { return inSession_; }
    int restarts() const { return restarts_; }
    // The 32 bytes of the identification (code page 866).
    Bytes identification() const;

    // Channels (bit 0 = channel 1) that mode index n drives.
    static unsigned ChannelsOfMode(int n);
    // 0 when the mode can be taken, else the number (1..3) of the first bad channel.
    static std::uint8_t CheckMode(int n, const Ri1rMode& mode);
    static bool CommonValid(const Ri1rCommon& c);
    static Bytes EncodeMode(const Ri1rMode& mode);
    static Ri1rMode DecodeMode(const Bytes& bytes, std::size_t at);

protected:
    std::size_t frameLength(const Bytes& buf) const override;
    bool frameValid(const Bytes& frame) const override;
    std::vector<Packet> handleFrame(const Bytes& frame) override;

private:
    Bytes sessionCommand(const Bytes& frame);
    std::uint8_t writeMode(const Bytes& frame);
    std::uint8_t writeTimeErr(const Bytes& frame);
    std::uint8_t writeVoltFlags(const Bytes& frame);
    std::uint8_t writeDate(const Bytes& frame);
    std::uint8_t endSession(std::uint8_t how);

    std::array<Ri1rMode, kModes> modes_{};
    Ri1rCommon common_;
    Ri1rCommon saved_;
    int currentMode_ = 0;
    std::array<std::uint8_t, 3> date_{}; // BCD day, month, year-2000
    bool inSession_ = false;
    int restarts_ = 0;
};

} // namespace sim
