// relcon4-cli: reads, writes and checks units from a shell or a script, on
// the same core (frames, exchange, port rules, rs_m.ini) as the program.
#include "archive/archive_recorder.h"
#include "archive/archive_store.h"
#include "cli_context.h"
#include "cli_table.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "platform/console.h"
#include "port/settings_file.h"
#include "shell/app_globals.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

namespace {

// --timeout, --pause and --attempts over what rs_m.ini gave; false on a bad
// value. A time-out or pause past the exchange settings' maximum is cut to it
// (one line says so): no wait is longer than its setting allows.
bool applyExchangeOptions(const TCliArguments& arguments) {
    for (const auto& [name, text] : arguments.exchangeOptions) {
        const TExchangeOptionValue option = ExchangeOptionValue(name, text);
        if (!option.value) {
            UsageProblem(option.problem);
            return false;
        }
        if (!option.note.isEmpty())
            PrintError(option.note);
        if (name == QLatin1String("timeout"))
            TimeOut = *option.value;
        else if (name == QLatin1String("pause"))
            PreSendPause = *option.value;
        else
            ExchangeState.NumOfRepeat = *option.value;
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
    LoadArchiveDriver();
    platform::UseUtf8Console();
    const auto commands = AllCliCommands();
    QList<TCliWords> words;
    for (const TCliCommand& command : commands)
        words.append({command.device, command.action});
    const TCliArguments arguments = ParseCliArguments(app.arguments(), words);
    if (arguments.help) {
        PrintOut(CliHelpText());
        return kExitOk;
    }
    if (!arguments.problem.isEmpty())
        return UsageProblem(arguments.problem);
    const TCliCommand* chosen = &commands[arguments.command];
    const TCliContext& context = arguments.context;

    // The host first, so that --log shows what reading the settings says.
    InstallCliHost(context.log);
    // The same rs_m.ini as the program's, read but never rewritten here.
    ExeDir = ExecutableDir();
    ReadSettingsForCommandLine();
    if (!applyExchangeOptions(arguments))
        return kExitUsage;
    SetArchiveRecording(!arguments.noArchive);
    if (!context.object.isEmpty() && context.device != QLatin1String("archive"))
        SetArchiveObject(context.object, false);
    const std::uint32_t exchanges = ExchangeState.ExchangesAsked;
    const int code = chosen->run(context);
    RecordCliCommand(context, exchanges);
    return code;
}
