// relcon4-cli archive …: the service archive from a shell, and the record
// every unit command leaves, as the program's pages leave theirs.
#include "archive/archive_compare.h"
#include "archive/archive_config.h"
#include "archive/archive_recorder.h"
#include "archive/archive_remote.h"
#include "archive/archive_text.h"
#include "cli_table.h"
#include "exchange/exchange_state.h"
#include "platform/whole_file.h"

#include <QDate>

namespace {

TArchiveStore* openLocal() {
    TArchiveStore& store = ProgramArchive();
    if (!store.IsOpen()) {
        QString problem;
        if (!store.Open(&problem)) {
            PrintError(QStringLiteral("relcon4-cli: архив %1: %2").arg(store.Path(), problem));
            return nullptr;
        }
    }
    return &store;
}

bool filterOf(const TCliContext& context, TArchiveFilter& filter) {
    filter.object = context.object;
    filter.unit = context.unit;
    if (!filter.unit.isEmpty() && filter.unit != kArchiveRo4d && filter.unit != kArchiveRi1r &&
        filter.unit != kArchiveZi2z3) {
        UsageProblem(QStringLiteral("--unit: нужно ro4d, ri1r или zi2z3"));
        return false;
    }
    if (!context.since.isEmpty()) {
        filter.from = QDate::fromString(context.since, Qt::ISODate);
        if (!filter.from.isValid()) {
            UsageProblem(QStringLiteral("--since: нужна дата вида 2026-12-31"));
            return false;
        }
    }
    return true;
}

bool openRemote(const QString& url, TArchiveRemote& remote) {
    TPostgresTarget target;
    QString problem;
    if (!ParsePostgresUrl(url, target, problem) || !remote.Open(target, problem)) {
        PrintError(QStringLiteral("relcon4-cli: %1: %2").arg(url, problem));
        return false;
    }
    return true;
}

int list(const TCliContext& context) {
    TArchiveFilter filter;
    if (!filterOf(context, filter))
        return kExitUsage;
    QList<TArchiveRecord> records;
    if (!context.from.isEmpty()) {
        TArchiveRemote remote;
        if (!openRemote(context.from, remote))
            return kExitFile;
        records = remote.List(filter);
    } else {
        TArchiveStore* store = openLocal();
        if (!store)
            return kExitFile;
        records = store->List(filter);
    }
    if (context.json) {
        PrintOut(QString::fromUtf8(ArchiveListJson(records)).trimmed());
        return kExitOk;
    }
    for (const TArchiveRecord& r : records)
        PrintOut(ArchiveListLine(r));
    return kExitOk;
}

// The records the arguments name; false (with the message) when one is missing.
} // namespace

std::optional<TArchiveRecord> FindCliArchiveRecord(const QString& id) {
    TArchiveStore* store = openLocal();
    if (!store)
        return std::nullopt;
    auto found = store->Find(id);
    if (!found)
        PrintError(QStringLiteral("relcon4-cli: в архиве нет записи %1").arg(id));
    return found;
}

namespace {

bool named(const TCliContext& context, int count, QList<TArchiveRecord>& records) {
    if (context.args.size() != count) {
        UsageProblem(
            QStringLiteral("archive %1: нужно записей: %2").arg(context.action).arg(count));
        return false;
    }
    TArchiveStore* store = openLocal();
    if (!store)
        return false;
    for (const QString& id : context.args) {
        const auto found = FindCliArchiveRecord(id);
        if (!found)
            return false;
        records << *found;
    }
    return true;
}

int show(const TCliContext& context) {
    QList<TArchiveRecord> records;
    if (!named(context, 1, records))
        return kExitFile;
    PrintOut(ArchiveRecordText(records[0]));
    return kExitOk;
}

int exportRecord(const TCliContext& context) {
    if (context.output.isEmpty())
        return UsageProblem(QStringLiteral("archive export: нужен -o ФАЙЛ"));
    QList<TArchiveRecord> records;
    if (!named(context, 1, records))
        return kExitFile;
    QString problem;
    if (!platform::WriteWholeFile(context.output, records[0].config, &problem))
        return FileProblem(context.output, problem);
    return kExitOk;
}

int diff(const TCliContext& context) {
    QList<TArchiveRecord> records;
    if (!named(context, 2, records))
        return kExitFile;
    if (records[0].unit != records[1].unit) {
        PrintError(QStringLiteral("relcon4-cli: записи разных блоков не сравниваются"));
        return kExitFile;
    }
    TCompareResult result;
    QString reason;
    if (!CompareConfigs(records[0], records[0].id, records[1].config, records[1].id, result,
                        reason)) {
        PrintError(QStringLiteral("relcon4-cli: ") + reason);
        return kExitFile;
    }
    return FinishCompare(context, result, {});
}

int push(const TCliContext& context) {
    if (context.to.isEmpty())
        return UsageProblem(QStringLiteral("archive push: нужен --to postgresql://сервер/база"));
    TArchiveStore* store = openLocal();
    TArchiveRemote remote;
    if (!store || !openRemote(context.to, remote))
        return kExitFile;
    int added = 0, present = 0;
    QString problem;
    const bool ok = remote.Push(*store, added, present, problem);
    PrintOut(
        QStringLiteral("Передано записей: %1, уже были на сервере: %2").arg(added).arg(present));
    if (!ok) {
        PrintError(QStringLiteral("relcon4-cli: %1: %2").arg(context.to, problem));
        return kExitFile;
    }
    return kExitOk;
}

} // namespace

QList<TCliCommand> ArchiveCommands() {
    const QString archive = QStringLiteral("archive");
    return {
        {archive, QStringLiteral("list"),
         QStringLiteral("[--object ОБЪЕКТ] [--unit ro4d|ri1r|zi2z3] [--since ДАТА] [--json] "
                        "[--from postgresql://…]"),
         QStringLiteral("записи архива, новые сначала (--from: общего архива на сервере)"), list},
        {archive, QStringLiteral("show"), QStringLiteral("ID"),
         QStringLiteral("запись архива с конфигурацией"), show},
        {archive, QStringLiteral("export"), QStringLiteral("ID -o ФАЙЛ"),
         QStringLiteral("конфигурация записи в файл (.qvf, QV1M.ini)"), exportRecord},
        {archive, QStringLiteral("diff"), QStringLiteral("ID1 ID2 [--json]"),
         QStringLiteral("сравнить две записи: 0 совпадают, 1 есть различия"), diff},
        {archive, QStringLiteral("push"), QStringLiteral("--to postgresql://сервер/база"),
         QStringLiteral("передать в общий архив записи, которых там ещё нет"), push},
    };
}

void RecordCliCommand(const TCliContext& context, std::uint32_t exchangesBefore) {
    if (ExchangeState.ExchangesAsked == exchangesBefore)
        return;
    using TMake = TArchiveRecord (*)(const QString&, const QString&);
    struct TRecorded {
        const char* command;
        TMake make;
        QString operation;
    };
    const QString settings =
        context.set.isEmpty() ? archive_op::ReadDelays : archive_op::WriteDelays;
    const TRecorded recorded[] = {
        {"ro4d read", Ro4dArchiveRecord, archive_op::Read},
        {"ro4d write", Ro4dArchiveRecord, archive_op::Write},
        {"ro4d flash", Ro4dArchiveRecord, archive_op::Flash},
        {"ro4d restart", Ro4dArchiveRecord, archive_op::Restart},
        {"ri1r read", Ri1rArchiveRecord, archive_op::Session},
        {"ri1r write", Ri1rArchiveRecord, archive_op::WriteAll},
        {"zi2z3 settings", Zi2z3ArchiveRecord, settings},
        {"zi2z3 bench", Zi2z3ArchiveRecord, archive_op::Bench},
        {"ro4d report", Ro4dArchiveRecord, archive_op::Read},
        {"ri1r report", Ri1rArchiveRecord, archive_op::Session},
        {"zi2z3 report", Zi2z3ArchiveRecord,
         context.args.isEmpty() ? archive_op::ReadDelays : archive_op::Bench},
    };
    const QString command = context.device + QLatin1Char(' ') + context.action;
    for (const TRecorded& r : recorded)
        if (command == QLatin1String(r.command))
            RecordToArchive(r.make(r.operation, QString()));
}
