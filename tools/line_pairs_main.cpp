// Linked serial lines for the Windows suite under Wine: each pair is two
// pseudo-terminals whose masters this program joins, byte for byte both ways,
// so a process under Wine plays the unit on one (as a COM port) while the
// program opens the other. Each side keeps its own slave open, so a side
// closed and opened again (every command opens and closes its port) leaves
// the line up. Serves until SIGINT or SIGTERM, then removes the links.
//
//   relcon4-line-pairs LINK_A LINK_B [LINK_A LINK_B ...]
#include "platform/pty.h"
#include "platform/stop_signals.h"

#include <QFile>
#include <cstdio>
#include <memory>
#include <poll.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3 || (argc - 1) % 2 != 0) {
        std::fprintf(stderr, "usage: relcon4-line-pairs LINK_A LINK_B [LINK_A LINK_B ...]\n");
        return 2;
    }
    platform::CatchStopSignals();
    std::vector<std::unique_ptr<platform::PseudoTerminal>> sides;
    std::vector<QString> links;
    for (int i = 1; i < argc; ++i) {
        auto pty = std::make_unique<platform::PseudoTerminal>();
        const QString link = QFile::decodeName(argv[i]);
        QFile::remove(link);
        if (!pty->open() || !QFile::link(pty->slavePath(), link)) {
            std::fprintf(stderr, "relcon4-line-pairs: cannot make %s\n", argv[i]);
            return 1;
        }
        std::printf("%s %s\n", argv[i], qPrintable(pty->slavePath()));
        sides.push_back(std::move(pty));
        links.push_back(link);
    }
    std::fflush(stdout);
    std::vector<pollfd> fds;
    for (const auto& side : sides)
        fds.push_back(pollfd{side->masterFd(), POLLIN, 0});
    while (!platform::StopSignalled()) {
        if (::poll(fds.data(), fds.size(), 200) <= 0)
            continue;
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (!(fds[k].revents & POLLIN))
                continue;
            std::vector<std::uint8_t> bytes;
            if (sides[k]->read(bytes, 0) > 0)
                sides[k ^ 1]->write(bytes);
        }
    }
    for (const QString& link : links)
        QFile::remove(link);
    return 0;
}
