#include "faults.h"
#include "ro4d_unit.h"
#include "sim_test_util.h"

#include <gtest/gtest.h>

using sim::Bytes;
using sim::Fault;
using sim::FaultKind;
using simtest::AskPieces;

TEST(Faults, TextsParseWithDefaultsAndErrors) {
    auto f = sim::ParseFault(QStringLiteral("late:300"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, FaultKind::Late);
    EXPECT_EQ(f->amount(), 300);
    EXPECT_EQ(f->count, -1);

    f = sim::ParseFault(QStringLiteral("silence,count=2,after=3"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, FaultKind::Silence);
    EXPECT_EQ(f->count, 2);
    EXPECT_EQ(f->after, 3);
    EXPECT_EQ(sim::ParseFault(QStringLiteral("split"))->amount(), 50);
    EXPECT_EQ(sim::ParseFault(QStringLiteral("short"))->amount(), 1);
    EXPECT_EQ(sim::ParseFault(QStringLiteral("garbage"))->amount(), 3);
    EXPECT_EQ(sim::ParseFault(QStringLiteral("crc"))->kind, FaultKind::BadChecksum);
    EXPECT_EQ(sim::ParseFault(QStringLiteral("drop,after=1"))->kind, FaultKind::DropLine);

    QString why;
    EXPECT_FALSE(sim::ParseFault(QStringLiteral("late"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("late")));
    EXPECT_FALSE(sim::ParseFault(QStringLiteral("bogus"), &why));
    EXPECT_FALSE(sim::ParseFault(QStringLiteral("short:x")));
    EXPECT_FALSE(sim::ParseFault(QStringLiteral("crc,count=0")));
    EXPECT_FALSE(sim::ParseFault(QStringLiteral("crc,times=2")));
    const auto keep = sim::ParseFault(QStringLiteral("keep,after=1"));
    ASSERT_TRUE(keep);
    EXPECT_EQ(keep->kind, FaultKind::Keep);
    EXPECT_EQ(sim::TriggerOf(FaultKind::Keep), sim::FaultTrigger::Write);
}

TEST(Faults, CountAndAfterDecideWhichRepliesAreHit) {
    sim::FaultSet set;
    set.add({FaultKind::Silence, -1, 2, 1});
    set.add({FaultKind::Refuse});
    std::vector<std::size_t> hits;
    for (int i = 0; i < 5; ++i)
        hits.push_back(set.next(sim::FaultTrigger::Reply).size());
    EXPECT_EQ(hits, (std::vector<std::size_t>{0, 1, 1, 0, 0}));
    EXPECT_EQ(set.list().size(), 1u) << "the spent fault left the set";
    EXPECT_EQ(set.next(sim::FaultTrigger::Write).size(), 1u);
    EXPECT_EQ(set.next(sim::FaultTrigger::Write).size(), 1u) << "always";
}

TEST(Faults, EachKindShapesTheReply) {
    const Bytes request = sim::Ro4dRequest(1, {0});
    sim::Ro4dUnit plain;
    const Bytes normal = AskPieces(plain, request)[0].bytes;
    ASSERT_EQ(normal.size(), 22u);

    auto with = [&](Fault fault) {
        sim::Ro4dUnit unit;
        unit.faults().add(fault);
        return AskPieces(unit, request);
    };
    EXPECT_TRUE(with({FaultKind::Silence}).empty());

    auto late = with({FaultKind::Late, 300});
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].delayMs, 300);
    EXPECT_EQ(late[0].bytes, normal);

    auto cut = with({FaultKind::Short, 2});
    EXPECT_EQ(cut[0].bytes, Bytes(normal.begin(), normal.end() - 2));

    auto split = with({FaultKind::Split, 80});
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].bytes.size(), 11u);
    EXPECT_EQ(split[1].delayMs, 80);
    Bytes joined = split[0].bytes;
    joined.insert(joined.end(), split[1].bytes.begin(), split[1].bytes.end());
    EXPECT_EQ(joined, normal);

    auto crc = with({FaultKind::BadChecksum});
    EXPECT_EQ(Bytes(crc[0].bytes.begin(), crc[0].bytes.end() - 1),
              Bytes(normal.begin(), normal.end() - 1));
    EXPECT_EQ(crc[0].bytes.back(), normal.back() ^ 0xFF);

    auto junk = with({FaultKind::Garbage, 4});
    ASSERT_EQ(junk[0].bytes.size(), 26u);
    EXPECT_EQ(Bytes(junk[0].bytes.begin() + 4, junk[0].bytes.end()), normal);

    auto drop = with({FaultKind::DropLine});
    ASSERT_EQ(drop.size(), 1u);
    EXPECT_TRUE(drop[0].dropLine);

    auto refuse = with({FaultKind::Refuse});
    EXPECT_EQ(refuse[0].bytes, normal) << "reads are never refused";
}

TEST(Faults, CountedFaultsMoveOnToTheNextReply) {
    // Two requests in one read: the first reply is silenced, the second is late.
    sim::Ro4dUnit unit;
    unit.faults().add({FaultKind::Silence, -1, 1});
    unit.faults().add({FaultKind::Late, 40, 1, 1});
    const Bytes two = [] {
        Bytes b = sim::Ro4dRequest(0);
        const Bytes page = sim::Ro4dRequest(1, {0});
        b.insert(b.end(), page.begin(), page.end());
        return b;
    }();
    const auto out = AskPieces(unit, two);
    ASSERT_EQ(out.size(), 1u) << "first reply silenced";
    EXPECT_EQ(out[0].bytes.size(), 22u);
    EXPECT_EQ(out[0].delayMs, 40);
}
