#include "report/report_pages.h"

#include "archive/archive_pages.h"
#include "archive/archive_record.h"
#include "archive/archive_recorder.h"
#include "devices/qv2f3/zi2z3_service.h"
#include "exchange/exchange_state.h"
#include "report/config_report.h"
#include "report/report_form.h"
#include "shell/box_message.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"

#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

namespace {

struct TNotedCheck {
    QByteArray config; // the page's configuration when it was checked
    QString title;
    TCompareResult result;
};

QMap<QString, TNotedCheck>& checks() {
    static QMap<QString, TNotedCheck> noted;
    return noted;
}

QString labelText(QWidget* page, const char* name) {
    auto* label = page ? page->findChild<QLabel*>(QLatin1String(name)) : nullptr;
    return label ? label->text() : QString();
}

// "Версия: 2.05" → "2.05"; "Устройство: ?" (nothing read) → "".
QString afterCaption(const QString& text) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString value = (colon < 0 ? text : text.mid(colon + 1)).trimmed();
    return value == QLatin1String("?") ? QString() : value;
}

QString stem(const QString& unit) {
    return QStringLiteral("protocol-%1-%2")
        .arg(unit, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")));
}

QString caption(const QString& unit) {
    return QStringLiteral("Протокол ") + ArchiveUnitCaption(unit);
}

TReportForm::TMake maker(const TConfigReportInput& input) {
    return [input](const TReportHeader& header, TReport& report, QString& reason) {
        return ConfigReport(input, header, report, reason);
    };
}

} // namespace

void NoteUnitCheck(TRelcon4& window, const QString& unit, const QString& title,
                   const TCompareResult& result) {
    QByteArray config;
    QString reason;
    if (PageConfig(window, unit, config, reason))
        checks().insert(unit, {config, title, result});
    else
        checks().remove(unit);
}

void ResetUnitChecks() {
    checks().clear();
}

QString UnitOfShownPage(TRelcon4& window) {
    QWidget* shown = window.PageControl1 ? window.PageControl1->currentWidget() : nullptr;
    for (const QString& unit : {kArchiveRi1r, kArchiveZi2z3})
        if (shown == PageTabOf(window, unit))
            return unit;
    return kArchiveRo4d;
}

void OpenPageReport(TRelcon4& window, const QString& unit) {
    TConfigReportInput input;
    input.unit = unit;
    QString reason;
    if (!PageConfig(window, unit, input.config, reason)) {
        ShowPlainMessage(QStringLiteral("Протокол не составлен: ") + reason);
        return;
    }
    QWidget* page = PageTabOf(window, unit);
    if (unit == kArchiveRo4d) {
        input.ident = afterCaption(labelText(page, "VerrQV4Label"));
    } else if (unit == kArchiveRi1r) {
        input.ident = afterCaption(labelText(page, "QV1MverLabel"));
        if (!input.ident.isEmpty())
            input.releaseDate = window.sInitDate;
    } else {
        input.ident = Zi2z3LastKnown().ident.trimmed();
    }
    const auto noted = checks().constFind(unit);
    if (noted != checks().constEnd() && noted->config == input.config) {
        input.check = noted->result;
        input.checkTitle = noted->title;
    }
    TReportHeader header;
    header.port = ExchangeState.PortName[0];
    header.when = QDateTime::currentDateTime();
    header.object = ArchiveObject();
    header.source = QStringLiteral("страница программы");
    ShowReportForm(&window, caption(unit), header, maker(input), stem(unit));
}

void OpenRecordReport(QWidget* parent, const TArchiveRecord& record) {
    TConfigReportInput input;
    input.unit = record.unit;
    input.config = record.config;
    input.ident = record.ident;
    TReportHeader header;
    header.port = record.port;
    header.when = QDateTime::currentDateTime();
    header.object = record.object;
    header.source = QStringLiteral("запись архива %1 (%2, %3)")
                        .arg(record.id, record.operation,
                             record.time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    ShowReportForm(parent, caption(record.unit), header, maker(input), stem(record.unit));
}

void InstallReportButton(TRelcon4* window) {
    const auto open = [window] {
        // A command running keeps the pages as they are until it ends.
        if (!window->fBlockPressKey)
            OpenPageReport(*window, UnitOfShownPage(*window));
    };
    if (window->WhereBar) {
        auto* button = new QPushButton(QStringLiteral("Протокол…"), window->WhereBar);
        button->setObjectName(QStringLiteral("ReportButton"));
        button->setToolTip(
            QStringLiteral("Протокол настройки блока страницы: просмотр, печать, PDF (Ctrl+P)"));
        window->WhereBar->addButton(button);
        QObject::connect(button, &QPushButton::clicked, window, open);
    }
    auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), window);
    QObject::connect(key, &QShortcut::activated, window, open);
}
