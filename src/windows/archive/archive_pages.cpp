#include "archive/archive_pages.h"

#include "archive/archive_config.h"
#include "devices/qv1m/qv1m_compare.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/qv1m_page.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "devices/qv4m/qv4m_file_commands.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/ro4d_compare.h"
#include "shell/relcon4_window.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace {

const QString kNotWhole = QStringLiteral("конфигурация записи неполна или повреждена");

TQv1mPage* ri1rPage(TRelcon4& window) {
    return window.findChild<TQv1mPage*>();
}

QLineEdit* benchDelayEdit(std::size_t k) {
    return Qv2f3Page ? Qv2f3Page->findChild<QLineEdit*>(
                           QStringLiteral("QV2_%1_Edit").arg(QLatin1String(kBenchDelayNames[k])))
                     : nullptr;
}

// The bench place fields, in the page's order.
QStringList benchFieldNames() {
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

TBenchConfig benchPage() {
    TBenchConfig config;
    for (std::size_t k = 0; k < config.delays.size(); ++k)
        if (QLineEdit* edit = benchDelayEdit(k))
            config.delays[k] = static_cast<std::uint8_t>(edit->text().toInt() & 0xFF);
    if (!Qv2f3Page)
        return config;
    for (const QString& name : benchFieldNames()) {
        if (auto* edit = Qv2f3Page->findChild<QLineEdit*>(name))
            config.fields.push_back({name, edit->text()});
        else if (auto* box = Qv2f3Page->findChild<QAbstractButton*>(name))
            config.fields.push_back(
                {name, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    }
    return config;
}

TRo4dUnitImage unitOf(const TRo4dImage& image, const QString& version) {
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
    for (const QString& name : benchFieldNames()) {
        const QString l = textOf(left, name);
        const QString r = textOf(right, name);
        if (l != r)
            result.differences.append({name, l, r});
    }
    return result;
}

} // namespace

QWidget* PageTabOf(TRelcon4& window, const QString& unit) {
    if (unit == kArchiveRi1r)
        return window.TabSheet2;
    if (unit == kArchiveZi2z3)
        return window.TabSheet4;
    return window.TabSheet1;
}

bool PageConfig(TRelcon4& window, const QString& unit, QByteArray& config, QString& reason) {
    if (unit == kArchiveRo4d) {
        TQv4mPages* pages = Qv4mPagesOf(&window);
        TRo4dImage image;
        if (!pages || !pages->PageImage(image)) {
            reason = QStringLiteral("на странице RO-4D опорное напряжение не число");
            return false;
        }
        config = ConfigFileBytes(image.params, image.mode, image.extra);
        return true;
    }
    if (unit == kArchiveRi1r) {
        TQv1mPage* page = ri1rPage(window);
        if (!page)
            return false;
        // The set as a file save would take it from the page.
        TQv1mSet set = *page;
        page->prQV1StoreMode(page->iNumMode);
        page->prQV1GetTimeErr();
        page->prQV1GetVoltFlags();
        std::swap(set, static_cast<TQv1mSet&>(*page));
        config = Qv1mFileBytes(set);
        return true;
    }
    config = BenchConfigBytes(benchPage());
    return true;
}

bool LoadIntoPage(TRelcon4& window, const TArchiveRecord& record, QString& reason) {
    if (record.unit == kArchiveRo4d) {
        TRo4dImage image;
        TQv4mPages* pages = Qv4mPagesOf(&window);
        if (!pages || !ParseConfigImage(record.config, image, reason))
            return false;
        Qv4mLoadImage(window, *pages, image);
        return true;
    }
    if (record.unit == kArchiveRi1r) {
        const TQv1mFileRead read = Qv1mParseFile(record.config);
        TQv1mPage* page = ri1rPage(window);
        if (!read.ok || !page) {
            reason = read.reason.isEmpty() ? kNotWhole : read.reason;
            return false;
        }
        page->LoadSet(read.set);
        return true;
    }
    TBenchConfig config;
    if (!ParseBenchConfig(record.config, config)) {
        reason = kNotWhole;
        return false;
    }
    for (std::size_t k = 0; k < config.delays.size(); ++k)
        if (QLineEdit* edit = benchDelayEdit(k))
            edit->setText(QString::number(config.delays[k]));
    return true;
}

bool CompareConfigs(const TArchiveRecord& left, const QString& leftName, const QByteArray& right,
                    const QString& rightName, TCompareResult& result, QString& reason) {
    const QString& unit = left.unit;
    if (unit == kArchiveRo4d) {
        TRo4dImage l, r;
        if (!ParseConfigImage(left.config, l, reason) || !ParseConfigImage(right, r, reason))
            return false;
        result = CompareRo4d(unitOf(l, left.ident), r, rightName);
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
