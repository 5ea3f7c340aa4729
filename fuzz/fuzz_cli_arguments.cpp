// relcon4-cli's words: any arguments, and any --set list for the bench's
// delays. A command line reads as exactly one of help, a usage problem or a
// command, and no value past its option's range is ever taken; a delay list
// that is taken written out again gives the same delays.
#include "archive/bench_config.h"
#include "cli/cli_arguments.h"
#include "cli/delay_set.h"
#include "fuzz_check.h"

namespace {

// A few of the real subcommands' words, one of each shape.
const QList<TCliWords> kCommands = {
    {QString(), QStringLiteral("ports")},
    {QStringLiteral("ro4d"), QStringLiteral("read")},
    {QStringLiteral("zi2z3"), QStringLiteral("settings")},
    {QStringLiteral("archive"), QStringLiteral("list")},
};

struct TRange {
    const char* name;
    int low, high;
};
// What each exchange option may end as, the caps included.
const TRange kRanges[] = {{"timeout", 1, 30000}, {"pause", 0, 30000}, {"attempts", 1, 65535}};

void checkArguments(const QByteArray& bytes) {
    QStringList arguments{QStringLiteral("relcon4-cli")};
    for (const QByteArray& word : bytes.split('\0'))
        arguments << QString::fromUtf8(word);
    const TCliArguments parsed = ParseCliArguments(arguments, kCommands);
    const int outcomes =
        int(parsed.help) + int(!parsed.problem.isEmpty()) + int(parsed.command >= 0);
    FUZZ_REQUIRE(outcomes == 1);
    if (parsed.command < 0)
        return;
    const TCliContext& context = parsed.context;
    FUZZ_REQUIRE(parsed.command < kCommands.size());
    FUZZ_REQUIRE(context.device == kCommands[parsed.command].device);
    FUZZ_REQUIRE(context.action == kCommands[parsed.command].action);
    FUZZ_REQUIRE(context.watchSeconds >= -1 && context.watchSeconds <= 86400);
    FUZZ_REQUIRE(parsed.exchangeOptions.size() <= 3);
    for (const auto& given : parsed.exchangeOptions) {
        const QString& name = given.first;
        const QString& text = given.second;
        const TExchangeOptionValue option = ExchangeOptionValue(name, text);
        FUZZ_REQUIRE(option.value.has_value() == option.problem.isEmpty());
        if (!option.value)
            continue;
        const auto* range =
            std::find_if(std::begin(kRanges), std::end(kRanges),
                         [&](const TRange& r) { return name == QLatin1String(r.name); });
        FUZZ_REQUIRE(range != std::end(kRanges));
        FUZZ_REQUIRE(*option.value >= range->low && *option.value <= range->high);
        // A value cut to the cap says so; one taken as given does not.
        FUZZ_REQUIRE(option.note.isEmpty() == (text.toInt() == *option.value));
    }
}

qv2f3::TDelaySettings applied(const QString& list, qv2f3::TDelaySettings delays, bool& taken) {
    taken = !ApplyDelaySet(list, delays).has_value();
    return delays;
}

void checkDelaySet(const QByteArray& bytes) {
    const QString list = QString::fromUtf8(bytes);
    const qv2f3::TDelaySettings base{1, 2, 3, 4, 5, 6};
    qv2f3::TDelaySettings other = base;
    for (auto& d : other)
        d = static_cast<std::uint8_t>(~d);
    bool taken = false, takenOther = false;
    const qv2f3::TDelaySettings one = applied(list, base, taken);
    const qv2f3::TDelaySettings two = applied(list, other, takenOther);
    FUZZ_REQUIRE(taken == takenOther);
    if (!taken)
        return;
    // Every value taken is a whole number the unit's byte holds, as written.
    for (const QString& item : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool number = false;
        const qlonglong value = item.section(QLatin1Char('='), 1).trimmed().toLongLong(&number);
        FUZZ_REQUIRE(number && value >= 0 && value <= 255);
    }
    // A delay the list names is the same whatever was read; the others stay.
    for (std::size_t k = 0; k < one.size(); ++k)
        FUZZ_REQUIRE(one[k] == two[k] || (one[k] == base[k] && two[k] == other[k]));
    QStringList items;
    for (std::size_t k = 0; k < one.size(); ++k)
        items << QStringLiteral("%1=%2").arg(QLatin1String(kBenchDelayNames[k])).arg(one[k]);
    bool again = false;
    FUZZ_REQUIRE(applied(items.join(QLatin1Char(',')), other, again) == one && again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const QByteArray rest = InputBytes(data + 1, size - 1);
    if (data[0] & 1)
        checkArguments(rest);
    else
        checkDelaySet(rest);
    return 0;
}
