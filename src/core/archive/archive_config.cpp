#include "archive/archive_config.h"

#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/ri1r_service.h"
#include "devices/qv2f3/zi2z3_service.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/ro4d_service.h"

#include <QList>

namespace {

QString resultOf(const TCommandResult& result, const QString& given) {
    if (!given.isEmpty())
        return given;
    return result.ok() ? QStringLiteral("выполнено") : result.text();
}

TArchiveRecord record(const QString& unit, const QString& operation, const TCommandResult& result,
                      const QString& resultText, const QString& ident, const QByteArray& config) {
    TArchiveRecord r;
    r.unit = unit;
    r.operation = operation;
    r.ok = result.ok();
    r.result = resultOf(result, resultText);
    // As the unit gave it: a RO-4D's version text fixes its voltage scale.
    r.ident = ident;
    r.config = config;
    return r;
}

} // namespace

TArchiveRecord Ro4dArchiveRecord(const QString& operation, const QString& resultText) {
    const TRo4dKnown& k = Ro4dLastKnown();
    return record(kArchiveRo4d, operation, k.result, resultText, k.version,
                  ConfigFileBytes(k.image.params, k.image.mode, k.image.extra));
}

TArchiveRecord Ri1rArchiveRecord(const QString& operation, const QString& resultText) {
    const TRi1rKnown& k = Ri1rLastKnown();
    return record(kArchiveRi1r, operation, k.result, resultText, k.ident, Qv1mFileBytes(k.set));
}

TArchiveRecord Zi2z3ArchiveRecord(const QString& operation, const QString& resultText) {
    const TZi2z3Known& k = Zi2z3LastKnown();
    return record(kArchiveZi2z3, operation, k.result, resultText, k.ident,
                  BenchConfigBytes({k.delays, k.fields}));
}
