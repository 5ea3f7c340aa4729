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

QByteArray BenchConfigBytes(const TBenchConfig& config) {
    QByteArray out;
    for (std::size_t k = 0; k < config.delays.size(); ++k)
        out +=
            QByteArray(kBenchDelayNames[k]) + " = " + QByteArray::number(config.delays[k]) + "\r\n";
    for (const qv2f3::TFieldText& f : config.fields)
        out += f.name.toUtf8() + " = " + f.text.toUtf8() + "\r\n";
    return out;
}

bool ParseBenchConfig(const QByteArray& bytes, TBenchConfig& config) {
    TBenchConfig parsed;
    std::array<bool, 6> seen{};
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line.isEmpty())
            continue;
        const qsizetype eq = line.indexOf(" = ");
        if (eq <= 0)
            return false;
        const QByteArray name = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 3));
        const auto* delay = std::find(std::begin(kBenchDelayNames), std::end(kBenchDelayNames),
                                      std::string_view(name.constData()));
        if (delay == std::end(kBenchDelayNames)) {
            parsed.fields.push_back({QString::fromUtf8(name), value});
            continue;
        }
        bool ok = false;
        const int v = value.toInt(&ok);
        if (!ok || v < 0 || v > 255)
            return false;
        const auto k = static_cast<std::size_t>(delay - std::begin(kBenchDelayNames));
        parsed.delays[k] = static_cast<std::uint8_t>(v);
        seen[k] = true;
    }
    if (std::find(seen.begin(), seen.end(), false) != seen.end())
        return false;
    config = parsed;
    return true;
}

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
