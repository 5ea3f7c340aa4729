// The command line of relcon4-cli read into what a subcommand needs, with
// nothing started: no port, no settings file, no output but the texts it gives.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

struct TCliContext {
    QString device; // "ro4d", "ri1r", "zi2z3", or empty for "ports"
    QString action;
    QStringList args; // positional arguments after the action
    QString port;
    QString output; // -o
    QString set;    // --set
    int watchSeconds = -1;
    // The archive: the object, list filters, a shared server.
    QString object;
    QString unit;
    QString since;
    QString from;
    QString to;
    // report: where the protocol comes from, and who made it.
    QString file;
    QString archive;
    QString technician;
    bool json = false;
    bool log = false;
    // A write is read back and compared unless --no-verify.
    bool verify = true;
};

// A subcommand as the words name it: device and action, or an action alone.
struct TCliWords {
    QString device;
    QString action;
};

struct TCliArguments {
    // A usage problem: nothing else here holds.
    QString problem;
    bool help = false;
    // The subcommand's index among the words the parse was given.
    int command = -1;
    TCliContext context;
    bool noArchive = false;
    // --timeout, --pause and --attempts as given, each with its text; they are
    // checked once rs_m.ini has been read (ExchangeOptionValue).
    QList<std::pair<QString, QString>> exchangeOptions;
};

// argv as QCoreApplication gives it (the program's name first).
TCliArguments ParseCliArguments(const QStringList& arguments, const QList<TCliWords>& commands);

struct TExchangeOptionValue {
    // The value to use; none with a problem (a usage message).
    std::optional<int> value;
    QString problem;
    // Set when the value given was past the setting's maximum and was cut to it.
    QString note;
};
// One of --timeout, --pause, --attempts. A time-out or pause past the exchange
// settings' maximum is cut to it: no wait is longer than its setting allows.
TExchangeOptionValue ExchangeOptionValue(const QString& name, const QString& text);
