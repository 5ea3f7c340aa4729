#include "archive/bench_config.h"

#include <QList>
#include <algorithm>
#include <array>
#include <string_view>

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
                                      std::string_view(name.constData(), name.size()));
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
