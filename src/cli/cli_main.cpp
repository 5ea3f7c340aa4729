// relcon4-cli: reads, writes and checks units from a shell or a script, on
// the same core (frames, exchange, port rules, rs_m.ini) as the program.
#include "archive/archive_recorder.h"
#include "cli_context.h"
#include "cli_table.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "platform/console.h"
#include "port/param_port_rules.h"
#include "port/settings_file.h"
#include "shell/app_globals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>
#include <optional>

namespace {

// A whole number in [low, high], or nothing.
std::optional<int> boundedNumber(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

// --timeout, --pause and --attempts over what rs_m.ini gave; false on a bad
// value. A time-out or pause past the exchange settings' maximum is cut to it
// (one line says so): no wait is longer than its setting allows.
bool applyExchangeOptions(const QCommandLineParser& parser) {
    struct Option {
        const char* name;
        int low, high;
        std::function<void(int)> apply;
        int cap = 0;
    };
    const Option options[] = {
        {"timeout", 1, 60000, [](int v) { TimeOut = v; }, kMaxTimeOut},
        {"pause", 0, 60000, [](int v) { PreSendPause = v; }, kMaxManualPause},
        {"attempts", 1, 65535, [](int v) { ExchangeState.NumOfRepeat = v; }},
    };
    for (const Option& option : options) {
        const QString name = QLatin1String(option.name);
        if (!parser.isSet(name))
            continue;
        const auto value = boundedNumber(parser.value(name), option.low, option.high);
        if (!value) {
            UsageProblem(QStringLiteral("--%1: нужно целое число от %2 до %3")
                             .arg(name)
                             .arg(option.low)
                             .arg(option.high));
            return false;
        }
        if (option.cap > 0 && *value > option.cap) {
            PrintError(QStringLiteral("relcon4-cli: --%1 %2 больше наибольшего (%3 мс): взято %3")
                           .arg(name)
                           .arg(*value)
                           .arg(option.cap));
            option.apply(option.cap);
            continue;
        }
        option.apply(*value);
    }
    return true;
}

// Only a protocol needs fonts (Qt Gui); it is set on the offscreen platform,
// so a report, like every other command, runs without a display.
bool writesReport(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "report") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    std::unique_ptr<QCoreApplication> gui;
    if (writesReport(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        gui = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        gui = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *gui;
    platform::UseUtf8Console();
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
    if (!parser.parse(app.arguments()))
        return UsageProblem(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        PrintOut(CliHelpText());
        return kExitOk;
    }

    QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return UsageProblem(QStringLiteral("не указана команда"));
    TCliContext context;
    const auto commands = AllCliCommands();
    const TCliCommand* chosen = nullptr;
    for (const TCliCommand& command : commands) {
        const bool own = command.device.isEmpty();
        if (own ? words[0] == command.action
                : words.size() >= 2 && words[0] == command.device && words[1] == command.action) {
            chosen = &command;
            break;
        }
    }
    if (!chosen)
        return UsageProblem(QStringLiteral("неизвестная команда: ") + words.join(QLatin1Char(' ')));
    words.remove(0, chosen->device.isEmpty() ? 1 : 2);
    context.device = chosen->device;
    context.action = chosen->action;
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
        if (!seconds)
            return UsageProblem(QStringLiteral("--watch: нужно число секунд от 0 до 86400"));
        context.watchSeconds = *seconds;
    }

    // The host first, so that --log shows what reading the settings says.
    InstallCliHost(context.log);
    // The same rs_m.ini as the program's, read but never rewritten here.
    ExeDir = ExecutableDir();
    ReadSettingsForCommandLine();
    if (!applyExchangeOptions(parser))
        return kExitUsage;
    SetArchiveRecording(!parser.isSet(QStringLiteral("no-archive")));
    if (!context.object.isEmpty() && context.device != QLatin1String("archive"))
        SetArchiveObject(context.object, false);
    const std::uint32_t exchanges = ExchangeState.ExchangesAsked;
    const int code = chosen->run(context);
    RecordCliCommand(context, exchanges);
    return code;
}
