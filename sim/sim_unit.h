// A simulated unit: fed with the bytes that arrive on its line, it answers
// with the bytes to send back. No threads and no I/O here, so every unit is
// tested as plain data; SimServer puts one on a pseudo-terminal.
#pragma once

#include "faults.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

// One piece of output: its bytes leave delayMs after the previous piece
// (the first piece: after the request). dropLine asks the server to close
// the line at that moment instead of sending.
struct Outgoing {
    Bytes bytes;
    int delayMs = 0;
    bool dropLine = false;
};

// A reply as the unit's logic makes it, before any fault is applied.
struct Packet {
    Bytes bytes;
    int delayMs = 0;
};

class SimUnit {
public:
    virtual ~SimUnit() = default;

    // Short name used on the command line: "ro4d", "ri1r", "zi2z3".
    virtual QString kind() const = 0;
    // Name shown to people: "RO-4D", ...
    virtual QString title() const = 0;
    // The line rate a server paces this unit's output at unless told
    // otherwise (0: every piece at once).
    virtual int lineRate() const { return 0; }

    // Takes bytes received at nowMs (a millisecond tick) and returns what to
    // send. Bytes of an unfinished frame are forgotten after a pause of
    // kFrameGapMs, as a unit's receiver resynchronises on a quiet line.
    std::vector<Outgoing> feed(const std::uint8_t* data, std::size_t count, std::uint32_t nowMs);
    std::vector<Outgoing> feed(const Bytes& data, std::uint32_t nowMs) {
        return feed(data.data(), data.size(), nowMs);
    }

    FaultSet& faults() { return faults_; }
    // Complete frames the unit has accepted, oldest first (the last kHistory).
    const std::deque<Bytes>& requests() const { return requests_; }
    void clearRequests() { requests_.clear(); }
    // Bytes waiting for the rest of their frame.
    std::size_t pendingBytes() const { return rx_.size(); }

    static constexpr std::uint32_t kFrameGapMs = 500;
    static constexpr std::size_t kHistory = 512;
    static constexpr std::size_t kMaxPending = 4096;

protected:
    // How many bytes the frame at the head of buf needs in all; 0 when its
    // first byte cannot start a frame (it is dropped). May exceed buf.size().
    virtual std::size_t frameLength(const Bytes& buf) const = 0;
    // Whether a complete frame is sound (checksum, terminator). A frame that
    // is not loses its first byte and the rest is scanned again.
    virtual bool frameValid(const Bytes& frame) const = 0;
    // The replies to one sound frame; none when the unit keeps quiet.
    virtual std::vector<Packet> handleFrame(const Bytes& frame) = 0;
    // Whether a sound frame is one of the unit's commands. Only such a frame
    // behind an unfinished head makes the head count as stray: a request's
    // own payload (bytes 03 03 3C inside a write still arriving) may look
    // like a short frame of no command.
    virtual bool knownCommand(const Bytes& frame) const {
        (void)frame;
        return true;
    }

    // What becomes of a write: stored, refused with the unit's error code, or
    // acknowledged as done while the old values stay (the faults "refuse"
    // and "keep"). Consumes one write against those faults.
    enum class WriteFate { Store, Refuse, Keep };
    WriteFate writeFate();

private:
    std::vector<Outgoing> applyFaults(std::vector<Packet> packets);
    // Offset of the first sound complete frame behind the head, 0 if none.
    std::size_t completeFrameAfterHead() const;

    FaultSet faults_;
    Bytes rx_;
    std::uint32_t lastRxMs_ = 0;
    std::deque<Bytes> requests_;
};

// Little-endian 16-bit helpers for frame payloads.
inline void PutWord(Bytes& out, std::uint16_t w) {
    out.push_back(static_cast<std::uint8_t>(w & 0xFF));
    out.push_back(static_cast<std::uint8_t>(w >> 8));
}
inline std::uint16_t WordAt(const Bytes& in, std::size_t at) {
    return static_cast<std::uint16_t>(in[at] | in[at + 1] << 8);
}

} // namespace sim
