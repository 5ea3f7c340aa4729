// Simulated ZI2-Z3 test bench with two places: a session and six delay
// settings in QV1 command frames, and bench commands ("C", code, sum) that
// it answers with packets ending in an 8-bit sum.
#pragma once

#include "sim_unit.h"

#include <array>

namespace sim {

// A voltage or current as the bench sends it: whole part and hundredths.
struct Reading {
    std::uint8_t whole = 0;
    std::uint8_t hundredths = 0;
};

struct BenchPlace {
    bool board = true;       // a unit is plugged into the place
    bool answers = true;     // and it answers the bench
    Reading idle{5, 7};      // USB voltage without load
    Reading working{4, 92};  // USB voltage with the unit working
    Reading supply{12, 5};   // the unit's power supply
    Reading current{42, 15}; // consumption, mA
    // Measured Ton11, Toff11, Tauto11, Ton12, Toff12, Tauto12 in 1/100 s
    // (filled by a test run; zero before the first).
    std::array<std::uint16_t, 6> measured{};
};

namespace zi2z3_result {
inline constexpr std::uint8_t kAccepted = 0;
inline constexpr std::uint8_t kRefused = 5;
} // namespace zi2z3_result

class Zi2z3Unit : public SimUnit {
public:
    static constexpr int kPacketGapMs = 100; // between packets of one answer
    static constexpr std::uint8_t kNoBoard = 0x01;
    static constexpr std::uint8_t kNoAnswer = 0x10;

    Zi2z3Unit();

    QString kind() const override { return QStringLiteral("zi2z3"); }
    QString title() const override { return QStringLiteral("ZI2-Z3"); }
    // The bench sends its packets on its own, one after another: the watch
    // must meet them spaced as a 9600 baud line spaces them.
    int lineRate() const override { return 9600; }

    // T11, T12, T13, T21, T22, T23: on delay, off delay, auto-off of channels 1 and 2, s.
    std::array<std::uint8_t, 6>& delays() { return delays_; }
    BenchPlace& place(int index) { return places_[static_cast<std::size_t>(index & 1)]; }
    // How long a test run (code 0x80) takes before the measured times are sent.
    void setTestDurationMs(int ms) { testMs_ = ms; }
    int testsRun() const { return testsRun_; }
    // The five characters of the identification (code page 866).
    Bytes identification() const;

    // Status byte of a place: kNoBoard, kNoAnswer.
    static std::uint8_t StatusOf(const BenchPlace& p);
    // A packet: type letter, body, Sum8 of everything before it.
    static Bytes MakePacket(std::uint8_t type, const Bytes& body);
    // The bench command frame the program sends.
    static Bytes BenchCommand(std::uint8_t code);

protected:
    std::size_t frameLength(const Bytes& buf) const override;
    bool frameValid(const Bytes& frame) const override;
    std::vector<Packet> handleFrame(const Bytes& frame) override;
    bool knownCommand(const Bytes& frame) const override;

private:
    std::vector<Packet> benchCommand(std::uint8_t code);
    Bytes readingsPacket(std::uint8_t type, Reading BenchPlace::*which) const;
    Bytes presetPacket() const;
    Bytes measuredPacket(int index) const;
    void runTest();

    std::array<std::uint8_t, 6> delays_{5, 3, 60, 5, 3, 60};
    std::array<BenchPlace, 2> places_;
    int testMs_ = 300;
    int testsRun_ = 0;
};

} // namespace sim
