#include "cli/delay_set.h"

#include "archive/bench_config.h"

#include <QStringList>
#include <algorithm>
#include <iterator>

std::optional<QString> ApplyDelaySet(const QString& text, qv2f3::TDelaySettings& delays) {
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = item.section(QLatin1Char('='), 0, 0).trimmed().toUpper();
        bool number = false;
        const uint value = item.section(QLatin1Char('='), 1).trimmed().toUInt(&number);
        const auto* found = std::find_if(std::begin(kBenchDelayNames), std::end(kBenchDelayNames),
                                         [&](const char* n) { return name == QLatin1String(n); });
        if (found == std::end(kBenchDelayNames))
            return QStringLiteral("--set: нет задержки «%1» (есть T11, T12, T13, T21, T22, T23)")
                .arg(name);
        if (!number || value > 255)
            return QStringLiteral("--set: %1 — нужно целое число от 0 до 255").arg(name);
        delays[static_cast<std::size_t>(found - std::begin(kBenchDelayNames))] =
            static_cast<std::uint8_t>(value);
    }
    return std::nullopt;
}
