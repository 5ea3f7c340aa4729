#include "cli/cli_arguments.h"

#include "port/param_port_rules.h"

#include <QCommandLineParser>
#include <algorithm>
#include <iterator>

namespace {

// A whole number in [low, high], or nothing.
std::optional<int> boundedNumber(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

struct TExchangeOption {
    const char* name;
    int low, high;
    int cap = 0;
};
const TExchangeOption kExchangeOptions[] = {
    {"timeout", 1, 60000, kMaxTimeOut},
    {"pause", 0, 60000, kMaxManualPause},
    {"attempts", 1, 65535},
};

} // namespace

TCliArguments ParseCliArguments(const QStringList& arguments, const QList<TCliWords>& commands) {
    TCliArguments out;
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({
        {{QStringLiteral("h"), QStringLiteral("help")}, QString()},
        {QStringLiteral("port"), QString(), QStringLiteral("COM")},
        {{QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("file")},
        {QStringLiteral("json"), QString()},
        {QStringLiteral("timeout"), QString(), QStringLiteral("ms")},
        {QStringLiteral("pause"), QString(), QStringLiteral("ms")},
        {QStringLiteral("attempts"), QString(), QStringLiteral("n")},
        {QStringLiteral("log"), QString()},
        {QStringLiteral("set"), QString(), QStringLiteral("values")},
        {QStringLiteral("watch"), QString(), QStringLiteral("seconds")},
        {QStringLiteral("object"), QString(), QStringLiteral("name")},
        {QStringLiteral("no-archive"), QString()},
        {QStringLiteral("no-verify"), QString()},
        {QStringLiteral("unit"), QString(), QStringLiteral("kind")},
        {QStringLiteral("since"), QString(), QStringLiteral("date")},
        {QStringLiteral("from"), QString(), QStringLiteral("url")},
        {QStringLiteral("to"), QString(), QStringLiteral("url")},
        {QStringLiteral("file"), QString(), QStringLiteral("file")},
        {QStringLiteral("archive"), QString(), QStringLiteral("id")},
        {QStringLiteral("technician"), QString(), QStringLiteral("name")},
    });
    if (!parser.parse(arguments)) {
        out.problem = parser.errorText();
        return out;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out.help = true;
        return out;
    }

    QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        out.problem = QStringLiteral("не указана команда");
        return out;
    }
    int command = -1;
    for (qsizetype k = 0; k < commands.size() && command < 0; ++k) {
        const TCliWords& c = commands[k];
        if (c.device.isEmpty() ? words[0] == c.action
                               : words.size() >= 2 && words[0] == c.device && words[1] == c.action)
            command = static_cast<int>(k);
    }
    if (command < 0) {
        out.problem = QStringLiteral("неизвестная команда: ") + words.join(QLatin1Char(' '));
        return out;
    }
    const TCliWords& chosen = commands[command];
    words.remove(0, chosen.device.isEmpty() ? 1 : 2);
    TCliContext& context = out.context;
    context.device = chosen.device;
    context.action = chosen.action;
    context.args = words;
    context.port = parser.value(QStringLiteral("port"));
    context.output = parser.value(QStringLiteral("output"));
    context.set = parser.value(QStringLiteral("set"));
    context.json = parser.isSet(QStringLiteral("json"));
    context.log = parser.isSet(QStringLiteral("log"));
    context.verify = !parser.isSet(QStringLiteral("no-verify"));
    for (auto [field, name] : {std::pair{&context.object, "object"},
                               {&context.unit, "unit"},
                               {&context.since, "since"},
                               {&context.from, "from"},
                               {&context.to, "to"},
                               {&context.file, "file"},
                               {&context.archive, "archive"},
                               {&context.technician, "technician"}})
        *field = parser.value(QLatin1String(name));
    if (parser.isSet(QStringLiteral("watch"))) {
        const auto seconds = boundedNumber(parser.value(QStringLiteral("watch")), 0, 86400);
        if (!seconds) {
            out.problem = QStringLiteral("--watch: нужно число секунд от 0 до 86400");
            return out;
        }
        context.watchSeconds = *seconds;
    }
    out.noArchive = parser.isSet(QStringLiteral("no-archive"));
    for (const TExchangeOption& option : kExchangeOptions) {
        const QString name = QLatin1String(option.name);
        if (parser.isSet(name))
            out.exchangeOptions.append({name, parser.value(name)});
    }
    out.command = command;
    return out;
}

TExchangeOptionValue ExchangeOptionValue(const QString& name, const QString& text) {
    TExchangeOptionValue out;
    const auto* option =
        std::find_if(std::begin(kExchangeOptions), std::end(kExchangeOptions),
                     [&](const TExchangeOption& o) { return name == QLatin1String(o.name); });
    if (option == std::end(kExchangeOptions)) {
        out.problem = QStringLiteral("--%1: нет такого параметра обмена").arg(name);
        return out;
    }
    const auto value = boundedNumber(text, option->low, option->high);
    if (!value) {
        out.problem = QStringLiteral("--%1: нужно целое число от %2 до %3")
                          .arg(name)
                          .arg(option->low)
                          .arg(option->high);
        return out;
    }
    if (option->cap > 0 && *value > option->cap) {
        out.note = QStringLiteral("relcon4-cli: --%1 %2 больше наибольшего (%3 мс): взято %3")
                       .arg(name)
                       .arg(*value)
                       .arg(option->cap);
        out.value = option->cap;
        return out;
    }
    out.value = value;
    return out;
}
