// The command line read into a subcommand's context before anything starts:
// which outcome each line gives, what the exchange options end as, and what a
// --set list puts into the delays.
#include "cli/cli_arguments.h"
#include "cli/delay_set.h"

#include <gtest/gtest.h>

namespace {

const QList<TCliWords> kCommands = {{QString(), QStringLiteral("ports")},
                                    {QStringLiteral("zi2z3"), QStringLiteral("settings")}};

TEST(CliArgumentsTest, EachLineGivesOneOutcome) {
    struct Case {
        QStringList args;
        QString problem; // start of the usage problem; empty: none
        int command;
        int watch;
    };
    const Case cases[] = {
        {{"ports"}, "", 0, -1},
        {{"zi2z3", "settings", "--watch", "86400"}, "", 1, 86400},
        {{"--help", "zi2z3", "--bogus"}, "Unknown option", -1, -1},
        {{"--help"}, "", -1, -1},
        {{}, "не указана команда", -1, -1},
        {{"zi2z3"}, "неизвестная команда: zi2z3", -1, -1},
        {{"zi2z3", "settings", "--watch", "86401"}, "--watch: нужно число секунд", -1, -1},
        {{"zi2z3", "settings", "--watch", "-1"}, "--watch: нужно число секунд", -1, -1},
    };
    for (const Case& c : cases) {
        const TCliArguments a = ParseCliArguments(QStringList{"relcon4-cli"} + c.args, kCommands);
        const QString line = c.args.join(' ');
        EXPECT_TRUE(c.problem.isEmpty() ? a.problem.isEmpty() : a.problem.startsWith(c.problem))
            << line.toStdString() << ": " << a.problem.toStdString();
        EXPECT_EQ(a.command, c.command) << line.toStdString();
        EXPECT_EQ(a.help, c.args.startsWith("--help") && c.problem.isEmpty()) << line.toStdString();
        EXPECT_EQ(a.context.watchSeconds, c.watch) << line.toStdString();
    }
}

TEST(CliArgumentsTest, ExchangeOptionsEndInTheirRange) {
    struct Case {
        const char* name;
        const char* text;
        int value; // -1: refused
        bool cut;
    };
    const Case cases[] = {
        {"timeout", "40000", 30000, true}, {"timeout", "0", -1, false},
        {"timeout", "60001", -1, false},   {"pause", "0", 0, false},
        {"pause", "30001", 30000, true},   {"attempts", "65535", 65535, false},
        {"attempts", "x", -1, false},
    };
    for (const Case& c : cases) {
        const TExchangeOptionValue v = ExchangeOptionValue(c.name, c.text);
        EXPECT_EQ(v.value.value_or(-1), c.value) << c.name << " " << c.text;
        EXPECT_EQ(v.problem.isEmpty(), c.value >= 0) << c.name << " " << c.text;
        EXPECT_EQ(!v.note.isEmpty(), c.cut) << c.name << " " << c.text;
    }
    const TCliArguments a =
        ParseCliArguments({"relcon4-cli", "ports", "--attempts", "2", "--timeout", "9"}, kCommands);
    const QList<std::pair<QString, QString>> given = {{"timeout", "9"}, {"attempts", "2"}};
    EXPECT_EQ(a.exchangeOptions, given) << "checked in one order whatever the line's";
}

TEST(CliArgumentsTest, DelayListTakesOnlyWhatTheBytesHold) {
    struct Case {
        const char* list;
        bool taken;
        qv2f3::TDelaySettings delays;
    };
    const Case cases[] = {
        {"T11=7,t23 = 255", true, {7, 2, 3, 4, 5, 255}},
        {"T12=1,T12=9,", true, {1, 9, 3, 4, 5, 6}},
        {"T11=256", false, {}},
        {"T11=-1", false, {}},
        {"T14=1", false, {}},
        {"T11", false, {}},
    };
    for (const Case& c : cases) {
        qv2f3::TDelaySettings delays{1, 2, 3, 4, 5, 6};
        EXPECT_EQ(!ApplyDelaySet(c.list, delays).has_value(), c.taken) << c.list;
        if (c.taken) {
            EXPECT_EQ(delays, c.delays) << c.list;
        }
    }
}

} // namespace
