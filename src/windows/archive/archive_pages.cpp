#include "archive/archive_pages.h"

#include "archive/archive_compare.h"
#include "archive/archive_config.h"
#include "devices/qv1/unit_text.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/qv1m_page.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "devices/qv4m/qv4m_file_commands.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/qv4m_pages.h"
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

TBenchConfig benchPage() {
    TBenchConfig config;
    // The delays read as the page reads them for its write.
    for (std::size_t k = 0; k < config.delays.size(); ++k)
        if (QLineEdit* edit = benchDelayEdit(k))
            config.delays[k] = static_cast<std::uint8_t>(qv1::ParseLenientInt(edit->text()) & 0xFF);
    if (!Qv2f3Page)
        return config;
    for (const QString& name : BenchFieldNames()) {
        if (auto* edit = Qv2f3Page->findChild<QLineEdit*>(name))
            config.fields.push_back({name, edit->text()});
        else if (auto* box = Qv2f3Page->findChild<QAbstractButton*>(name))
            config.fields.push_back(
                {name, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    }
    return config;
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
