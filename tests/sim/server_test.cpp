// The simulator on a real pseudo-terminal, driven from the program's end
// with hand-built frames. Timing asserts only take lower bounds from the
// simulator (which never sends early) and allow 2 s for the rest, so a busy
// machine slows the test down but does not fail it.
#include "qv1_frame.h"
#include "ri1r_unit.h"
#include "ro4d_unit.h"
#include "sim_port.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include "devices/qv1/session_code.h"
#include "platform/user_folders.h"

#include "support/test_env.h"
#include <QFileInfo>

#include <gtest/gtest.h>
#include <mutex>

using sim::Bytes;
using sim::FaultKind;
using sim::SimServer;
using simtest::ElapsedMs;
using simtest::Port;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kReplyWaitMs = 2000;

std::unique_ptr<SimServer> Serve(std::unique_ptr<sim::SimUnit> unit, int com = 0) {
    auto server = std::make_unique<SimServer>(std::move(unit));
    server->start(com);
    return server;
}

Bytes Exchange(Port& port, const Bytes& request, std::size_t expected) {
    port.send(request);
    return port.read(expected, kReplyWaitMs);
}

} // namespace

TEST(SimServer, RegistersFirstFreeComNumbersAndRemovesThemOnStop) {
    auto a = Serve(std::make_unique<sim::Ro4dUnit>());
    auto b = Serve(std::make_unique<sim::Ri1rUnit>());
    ASSERT_TRUE(a->isRunning()) << a->errorString().toStdString();
    EXPECT_EQ(a->comName(), QStringLiteral("COM1"));
    EXPECT_EQ(b->comName(), QStringLiteral("COM2"));
    const QFileInfo link(platform::PortsFolder() + QStringLiteral("/COM1"));
    EXPECT_TRUE(link.isSymLink());
    EXPECT_EQ(link.symLinkTarget(), a->devicePath());

    SimServer taken(std::make_unique<sim::Zi2z3Unit>());
    EXPECT_TRUE(taken.start(2).isEmpty());
    EXPECT_TRUE(taken.errorString().contains(QStringLiteral("COM2")));
    EXPECT_EQ(QFileInfo(b->linkPath()).symLinkTarget(), b->devicePath()) << "not replaced";
    EXPECT_EQ(taken.start(9), QStringLiteral("COM9"));

    a->stop();
    EXPECT_FALSE(QFileInfo(link.filePath()).isSymLink());
    auto c = Serve(std::make_unique<sim::Ro4dUnit>());
    EXPECT_EQ(c->comName(), QStringLiteral("COM1")) << "a freed number is taken again";
}

TEST(SimServer, Ro4dOverTheLineKeepsWhatItIsWritten) {
    auto server = Serve(std::make_unique<sim::Ro4dUnit>(sim::Ro4dBoard::V1));
    Port port(server->linkPath());
    ASSERT_TRUE(port.isOpen());
    const Bytes version = Exchange(port, {0x05, 0x01, 0x00, 0x14, 0x5D}, 27);
    ASSERT_EQ(version.size(), 27u);
    EXPECT_EQ(std::string(version.begin() + 4, version.begin() + 25), "VI-4D v.1.9 20.11.17 ");

    Bytes payload{0x10};
    for (std::uint16_t w : {768, 990, 880, 770, 0x1804, 45, 2, 90})
        sim::PutWord(payload, w);
    EXPECT_EQ(Exchange(port, sim::Ro4dRequest(5, payload), 6)[3], 1);
    const Bytes page2 = Exchange(port, sim::Ro4dRequest(1, {2}), 22);
    ASSERT_EQ(page2.size(), 22u);
    EXPECT_EQ(sim::WordAt(page2, 4), 990) << "write address 17 is register 16, page 2 word 0";
    EXPECT_EQ(sim::WordAt(page2, 10), 0x1804);
    EXPECT_EQ(sim::WordAt(page2, 16), 90) << "register 22";
    EXPECT_EQ(sim::WordAt(page2, 18), 0) << "register 23 untouched";
    EXPECT_EQ(server->unit<sim::Ro4dUnit>()->registers()[15], 768);
}

TEST(SimServer, Ri1rAndBenchOverTheLine) {
    auto ri1r = Serve(std::make_unique<sim::Ri1rUnit>());
    Port line(ri1r->linkPath());
    const Bytes code(kQv1SessionCode.begin(), kQv1SessionCode.end());
    EXPECT_EQ(Exchange(line, sim::Qv1Request('s', code), 34).size(), 34u);
    EXPECT_EQ(Exchange(line, sim::Qv1Request('u', {'5'}), 3), (Bytes{3, 0, '>'}));
    EXPECT_EQ(ri1r->unit<sim::Ri1rUnit>()->currentMode(), 4);
    const sim::Ri1rMode mode{{{7, 0, 8, 0x0C}, {0, 9, 0, 0x02}, {20, 5, 5, 0x03}}};
    const Bytes data = sim::Ri1rUnit::EncodeMode(mode);
    EXPECT_EQ(Exchange(line, sim::Qv1Request('6', data), 3), (Bytes{3, 0, '>'}));
    const Bytes back = Exchange(line, sim::Qv1Request('o', {'6'}), 23);
    ASSERT_EQ(back.size(), 23u);
    EXPECT_EQ(Bytes(back.begin() + 1, back.end() - 1), data);

    auto bench = Serve(std::make_unique<sim::Zi2z3Unit>());
    Port benchLine(bench->linkPath());
    EXPECT_EQ(Exchange(benchLine, sim::Qv1Request('W', {1, 2, 3, 4, 5, 6}), 3), (Bytes{3, 0, '>'}));
    EXPECT_EQ(Exchange(benchLine, sim::Qv1Request('R'), 9), (Bytes{9, 0, 1, 2, 3, 4, 5, 6, '>'}));
    benchLine.send(sim::Zi2z3Unit::BenchCommand(0x06));
    const auto start = Clock::now();
    const Bytes first = benchLine.read(15, kReplyWaitMs);
    const Bytes second = benchLine.read(15, kReplyWaitMs);
    EXPECT_GE(ElapsedMs(start), sim::Zi2z3Unit::kPacketGapMs - 5);
    ASSERT_EQ(first.size(), 15u);
    ASSERT_EQ(second.size(), 15u);
    EXPECT_EQ(first[1], '1');
    EXPECT_EQ(second[1], '2');
}

TEST(SimServer, LateSilentShortAndCorruptReplies) {
    auto server = Serve(std::make_unique<sim::Ro4dUnit>());
    Port port(server->linkPath());
    const Bytes request = sim::Ro4dRequest(1, {0});
    const Bytes normal = Exchange(port, request, 22);
    ASSERT_EQ(normal.size(), 22u);

    server->unit()->faults().add({FaultKind::Late, 300, 1});
    auto start = Clock::now();
    EXPECT_EQ(Exchange(port, request, 22), normal);
    EXPECT_GE(ElapsedMs(start), 295);

    server->unit()->faults().add({FaultKind::Silence, -1, 1});
    port.send(request);
    EXPECT_TRUE(port.readAny(300).empty());

    server->unit()->faults().add({FaultKind::Short, 1, 1});
    port.send(request);
    EXPECT_EQ(port.readAny(kReplyWaitMs, 150), Bytes(normal.begin(), normal.end() - 1));

    server->unit()->faults().add({FaultKind::BadChecksum, -1, 1});
    const Bytes bad = Exchange(port, request, 22);
    ASSERT_EQ(bad.size(), 22u);
    EXPECT_NE(bad.back(), normal.back());

    server->unit()->faults().add({FaultKind::Garbage, 3, 1});
    const Bytes noisy = Exchange(port, request, 25);
    EXPECT_EQ(Bytes(noisy.begin() + 3, noisy.end()), normal);

    server->unit()->faults().add({FaultKind::Refuse, -1, 1});
    EXPECT_EQ(Exchange(port, sim::Ro4dRequest(3), 6)[3], sim::ro4d_status::kRefused);
    EXPECT_EQ(Exchange(port, request, 22), normal) << "all faults spent";
}

TEST(SimServer, SplitReplyComesInTwoReadsWithAGap) {
    auto server = Serve(std::make_unique<sim::Ro4dUnit>());
    Port port(server->linkPath());
    server->unit()->faults().add({FaultKind::Split, 300, 1});
    port.send(sim::Ro4dRequest(0));
    const Bytes head = port.read(13, kReplyWaitMs);
    const auto start = Clock::now();
    ASSERT_EQ(head.size(), 13u);
    const Bytes tail = port.read(14, kReplyWaitMs);
    EXPECT_EQ(tail.size(), 14u);
    // The gap is at least 300 ms after the head left; the head may have been
    // read late on a busy machine, so only half of it is asserted.
    EXPECT_GE(ElapsedMs(start), 150);
    Bytes joined = head;
    joined.insert(joined.end(), tail.begin(), tail.end());
    EXPECT_EQ(joined[0], 27);
    EXPECT_EQ(joined[3], 1);
}

TEST(SimServer, LineRateMakesTheReplyTakeItsBytesTime) {
    auto server = std::make_unique<SimServer>(std::make_unique<sim::Ro4dUnit>());
    server->setLineRate(9600);
    ASSERT_FALSE(server->start().isEmpty());
    Port port(server->linkPath());
    const Bytes request = sim::Ro4dRequest(0);
    const auto start = Clock::now();
    port.send(request);
    const Bytes reply = port.read(27, kReplyWaitMs);
    // The request's last byte on the line, then the 27 of the reply: 28 byte
    // times of 1.0417 ms at the least (a busy machine only adds to it).
    EXPECT_GE(ElapsedMs(start), 29);
    ASSERT_EQ(reply.size(), 27u);
    EXPECT_EQ(reply[0], 27);
    EXPECT_EQ(reply[3], 1) << "the reply itself is unchanged";
}

TEST(SimServer, DroppedLineHangsUpAndReplugComesBackUnderTheSameName) {
    auto server = Serve(std::make_unique<sim::Ri1rUnit>());
    {
        Port port(server->linkPath());
        server->unit()->faults().add({FaultKind::DropLine, -1, 1, 1});
        const Bytes code(kQv1SessionCode.begin(), kQv1SessionCode.end());
        EXPECT_EQ(Exchange(port, sim::Qv1Request('s', code), 34).size(), 34u);
        port.send(sim::Qv1Request('p'));
        EXPECT_TRUE(port.hungUp(kReplyWaitMs));
    }
    // The server thread notes the drop just after the hang-up reaches the port.
    EXPECT_TRUE(testenv::WaitFor([&] { return !server->lineUp(); }));
    const QFileInfo link(server->linkPath());
    EXPECT_TRUE(link.isSymLink()) << "the map entry stays, like a pulled adapter's";

    ASSERT_TRUE(server->replug());
    EXPECT_TRUE(server->lineUp());
    EXPECT_NE(server->devicePath(), QString());
    EXPECT_EQ(QFileInfo(server->linkPath()).symLinkTarget(), server->devicePath());
    Port again(server->linkPath());
    ASSERT_TRUE(again.isOpen());
    EXPECT_EQ(Exchange(again, sim::Qv1Request('p'), 8).size(), 8u) << "the session went on";

    server->dropLine();
    EXPECT_TRUE(again.hungUp(kReplyWaitMs));
}

TEST(SimServer, TraceSeesBothDirections) {
    SimServer server(std::make_unique<sim::Ro4dUnit>());
    std::mutex m;
    std::vector<std::pair<char, Bytes>> seen;
    server.setTrace([&](char d, const Bytes& b) {
        std::lock_guard<std::mutex> lock(m);
        seen.emplace_back(d, b);
    });
    ASSERT_FALSE(server.start().isEmpty());
    Port port(server.linkPath());
    ASSERT_EQ(Exchange(port, sim::Ro4dRequest(6), 11).size(), 11u);
    server.stop();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, '<');
    EXPECT_EQ(seen[0].second, sim::Ro4dRequest(6));
    EXPECT_EQ(seen[1].first, '>');
    EXPECT_EQ(seen[1].second.size(), 11u);
}
