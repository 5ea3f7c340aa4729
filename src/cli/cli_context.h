// What every subcommand of relcon4-cli shares: its options, the exit codes,
// messages on standard error, and the core's host for a run without windows.
#pragma once

#include "cli/cli_arguments.h"
#include "devices/compare/compare_result.h"
#include "engine/command_result.h"

#include <QString>
#include <QStringList>

// Exit codes; every subcommand ends with one of them.
enum TCliExit : int {
    kExitOk = 0,
    kExitDiffers = 1,
    kExitUsage = 2,
    kExitPort = 3,
    kExitReply = 4,
    kExitRefused = 5,
    kExitFile = 6,
};

// A line on standard error (UTF-8), and one on standard output.
void PrintError(const QString& text);
void PrintOut(const QString& text);

// The exit code of a command's result; failures are told on standard error.
int FinishCommand(const TCommandResult& result);
// Prints a compare (text, or JSON with --json) and gives its exit code: 0
// when the two sides match, 1 when they differ. A read that failed gives the
// failure's code, and a compare left incomplete without one gives 4: an
// incomplete compare never counts as a match.
int FinishCompare(const TCliContext& context, const TCompareResult& compare,
                  const TCommandResult& read);
// A file that could not be read or written.
int FileProblem(const QString& path, const QString& problem);
// A file whose values lie outside what the unit's parameters may hold: each
// is named, nothing is sent, and the code is that of a usage error.
int ValueProblem(const QString& path, const QStringList& faults);
// After a write: the unit read back (read) and compared with what was written.
// 0 when it holds it; a read that failed gives its code, an incomplete
// compare 4, and differences 5, each named on standard error.
int FinishVerify(const TCompareResult& compare, const TCommandResult& read);
// A usage error: the message and where to find the help.
int UsageProblem(const QString& text);

// Points channel 0 at the context's port; false (with a usage message) without one.
bool UsePort(const TCliContext& context);

// Makes the core serve a run without windows: no event pumping, the log
// (with --log) on standard error, the port and the RI1-R line the core's own.
void InstallCliHost(bool log);
