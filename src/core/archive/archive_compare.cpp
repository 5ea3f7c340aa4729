#include "archive/archive_compare.h"

#include "archive/archive_config.h"
#include "devices/qv1m/qv1m_compare.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv4m/qv4m_files.h"

namespace {

const QString kNotWhole = QStringLiteral("конфигурация записи неполна или повреждена");

TQv1mUnitRead readOf(const TQv1mSet& set) {
    TQv1mUnitRead read;
    read.session = true;
    read.modes.fill(true);
    read.delays = read.voltFlags = true;
    read.set = set;
    return read;
}

TCompareResult compareBench(const TBenchConfig& left, const TBenchConfig& right) {
    TCompareResult result;
    for (std::size_t k = 0; k < left.delays.size(); ++k)
        if (left.delays[k] != right.delays[k])
            result.differences.append({QString::fromLatin1(kBenchDelayNames[k]),
                                       QString::number(left.delays[k]),
                                       QString::number(right.delays[k])});
    const auto textOf = [](const TBenchConfig& c, const QString& name) {
        for (const qv2f3::TFieldText& f : c.fields)
            if (f.name == name)
                return f.text.trimmed();
        return QString();
    };
    for (const QString& name : BenchFieldNames()) {
        const QString l = textOf(left, name);
        const QString r = textOf(right, name);
        if (l != r)
            result.differences.append({name, l, r});
    }
    return result;
}

} // namespace

TRo4dUnitImage Ro4dUnitOf(const TRo4dImage& image, const QString& version) {
    TRo4dUnitImage unit;
    unit.versionRead = true;
    unit.version = version;
    unit.bVers = BoardGeneration(version);
    unit.pagesRead = kRo4dPageCount;
    for (int r = 0; r < kRo4dModeRegister; ++r)
        unit.registers[static_cast<std::size_t>(r)] = image.params[static_cast<std::size_t>(r)];
    for (int n = 0; n < kModeFieldCount; ++n)
        unit.registers[static_cast<std::size_t>(kRo4dModeRegister + n)] =
            image.mode[static_cast<std::size_t>(n)];
    return unit;
}

QStringList BenchFieldNames() {
    QStringList names;
    for (int place = 1; place <= 2; ++place) {
        for (const QString& n : qv2f3::PresetFieldNames(place))
            names << n;
        for (const QString& n : qv2f3::MeasuredFieldNames(place))
            names << n;
    }
    for (int variant = 1; variant <= 3; ++variant)
        for (const QString& n : qv2f3::VoltFieldNames(variant))
            names << n;
    for (int place = 1; place <= 2; ++place)
        for (const QString& n : qv2f3::StatusFieldNames(place))
            names << n;
    return names;
}

bool CompareConfigs(const TArchiveRecord& left, const QString& leftName, const QByteArray& right,
                    const QString& rightName, TCompareResult& result, QString& reason) {
    const QString& unit = left.unit;
    if (unit == kArchiveRo4d) {
        TRo4dImage l, r;
        if (!ParseConfigImage(left.config, l, reason) || !ParseConfigImage(right, r, reason))
            return false;
        result = CompareRo4d(Ro4dUnitOf(l, left.ident), r, rightName);
    } else if (unit == kArchiveRi1r) {
        const TQv1mFileRead l = Qv1mParseFile(left.config);
        const TQv1mFileRead r = Qv1mParseFile(right);
        if (!l.ok || !r.ok) {
            reason = kNotWhole;
            return false;
        }
        result = CompareRi1r(readOf(l.set), r.set, rightName, r.set.mQV1M_s.rVolt);
    } else {
        TBenchConfig l, r;
        if (!ParseBenchConfig(left.config, l) || !ParseBenchConfig(right, r)) {
            reason = kNotWhole;
            return false;
        }
        result = compareBench(l, r);
    }
    result.leftName = leftName;
    result.rightName = rightName;
    return true;
}
