// The subcommands of relcon4-cli. Each device's file adds its own rows, so a
// new subcommand is one row (and its function) in that file.
#pragma once

#include "cli_context.h"

#include <QList>
#include <functional>
#include <optional>

struct TCliCommand {
    QString device; // empty for a command of its own ("ports")
    QString action;
    QString synopsis; // the arguments, as --help shows them
    QString summary;  // one line of --help
    std::function<int(const TCliContext&)> run;
};

QList<TCliCommand> PortsCommands();
QList<TCliCommand> Ro4dCommands();
QList<TCliCommand> ArchiveCommands();
QList<TCliCommand> Ri1rCommands();
QList<TCliCommand> Zi2z3Commands();
QList<TCliCommand> ReportCommands();

// Every subcommand, in the order --help lists them.
QList<TCliCommand> AllCliCommands();
// The whole --help text.
QString CliHelpText();

// A record of the local archive; none (with the message out) when the
// archive does not open or holds no record of that id.
struct TArchiveRecord;
std::optional<TArchiveRecord> FindCliArchiveRecord(const QString& id);

// The record a unit command leaves in the archive, once it has finished;
// none when it never reached the line (exchangesBefore: the count before it).
void RecordCliCommand(const TCliContext& context, std::uint32_t exchangesBefore);
