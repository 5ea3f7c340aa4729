// A pseudo-terminal pair: the simulated units and the end-to-end tests play
// the unit on the master side while the program opens the slave like any port.
// On Windows the pair is two linked COM ports the run provides (pty_win.cpp):
// the "slave path" is then the COM name the program opens.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new pair in raw mode. The master side keeps a slave descriptor of
    // its own, so the line stays up while the program closes and reopens the port.
    bool open();
#ifdef _WIN32
    bool isOpen() const {
        return handle_ != nullptr;
    }
#else
    bool isOpen() const {
        return master_ >= 0;
    }
    int masterFd() const {
        return master_;
    }
#endif
    // The slave's device path, e.g. /dev/pts/5 (on Windows its COM name).
    QString slavePath() const {
        return slavePath_;
    }

    // Writes every byte; false on an error or a closed pair.
    bool write(const std::uint8_t* data, std::size_t count);
    bool write(const std::vector<std::uint8_t>& bytes) {
        return write(bytes.data(), bytes.size());
    }
    // Waits up to timeoutMs for input, then appends what is there (at most max
    // bytes) to out. Returns the count appended, 0 on time-out, -1 on an error.
    int read(std::vector<std::uint8_t>& out, int timeoutMs, std::size_t max = 4096);
    // Reads until count bytes have come or timeoutMs has passed since the call.
    std::vector<std::uint8_t> readExactly(std::size_t count, int timeoutMs);
    // Drops the master side: the slave sees a hang-up, as when an adapter is pulled out.
    void close();

private:
#ifdef _WIN32
    void* handle_ = nullptr;
    QString unitSide_;
#else
    int master_ = -1;
    int slaveKeep_ = -1;
#endif
    QString slavePath_;
};

} // namespace platform
