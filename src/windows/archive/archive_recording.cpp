#include "archive/archive_recording.h"

#include "archive/archive_config.h"
#include "archive/archive_pages.h"
#include "archive/archive_recorder.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/qv1m_page.h"
#include "devices/qv1m/ri1r_service.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "devices/qv2f3/zi2z3_service.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/ro4d_service.h"
#include "exchange/exchange_state.h"
#include "shell/relcon4_window.h"
#include "shell/user_options.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {

using TMake = std::function<TArchiveRecord()>;

const QString kPageDone = QStringLiteral("Статус: успешно");

// The unit is read in a port opening of its own and archived; the pages do
// not change.
void archiveBeforeWrite(TRelcon4& window, const QString& unit) {
    window.fBlockPressKey = true;
    if (unit == kArchiveRo4d) {
        TRo4dUnitImage image;
        Ro4dRead(image);
        window.fBlockPressKey = false;
        RecordToArchive(Ro4dArchiveRecord(archive_op::BeforeWrite));
    } else if (unit == kArchiveRi1r) {
        TQv1mUnitRead read;
        Ri1rRead(read);
        window.fBlockPressKey = false;
        RecordToArchive(Ri1rArchiveRecord(archive_op::BeforeWrite));
    } else {
        QString ident;
        qv2f3::TDelaySettings delays{};
        Zi2z3ReadSettings(ident, delays);
        window.fBlockPressKey = false;
        RecordToArchive(Zi2z3ArchiveRecord(archive_op::BeforeWrite));
    }
}

struct TWrap {
    QObject* page;
    const char* button;
    std::function<void()> handler;
    TMake make;
    // The write a read may precede: its unit kind, else empty.
    QString writes{};
    // Recorded even when the command sent nothing (the end of a bench watch).
    bool always = false;
};

// The button's own handler, then the record. A command the busy flag turned
// away, or one that never reached the line (refused entries), leaves none.
void wrap(TRelcon4& window, const TWrap& w) {
    auto* button = w.page->findChild<QPushButton*>(QLatin1String(w.button));
    if (!button)
        return;
    QObject::disconnect(button, &QPushButton::clicked, w.page, nullptr);
    QObject::connect(button, &QPushButton::clicked, w.page, [&window, w] {
        if (window.fBlockPressKey) {
            w.handler();
            return;
        }
        if (!w.writes.isEmpty() && UserOption(kArchiveBeforeWrite, false))
            archiveBeforeWrite(window, w.writes);
        const std::uint32_t asked = ExchangeState.ExchangesAsked;
        QPointer<QObject> alive(w.page);
        w.handler();
        if (alive && (w.always || ExchangeState.ExchangesAsked != asked))
            RecordToArchive(w.make());
    });
}

QString labelText(QObject* page, const char* name) {
    auto* label = page->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QString();
}

// "Устройство: 12345" → "12345".
QString afterCaption(const QString& text) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    return colon < 0 ? text : text.mid(colon + 1).trimmed();
}

void wrapRo4d(TRelcon4& window) {
    TQv4mCommandsPage* page = Qv4mCommandsOf(&window);
    if (!page)
        return;
    const auto make = [page](const QString& op) {
        return [page, op] { return Ro4dArchiveRecord(op, page->StatusLabel1()->text()); };
    };
    wrap(window,
         {page, "RdDataButton", [page] { page->RdDataButtonClick(); }, make(archive_op::Read)});
    wrap(window, {page, "WrDataButton", [page] { page->WrDataButtonClick(); },
                  make(archive_op::Write), kArchiveRo4d});
    wrap(window, {page, "SaveToFlashButton", [page] { page->SaveToFlashButtonClick(); },
                  make(archive_op::Flash)});
    wrap(window, {page, "RestartButton", [page] { page->RestartButtonClick(); },
                  make(archive_op::Restart)});
}

void wrapRi1r(TRelcon4& window) {
    TQv1mPage* page = window.findChild<TQv1mPage*>();
    if (!page)
        return;
    // The set as the page holds it: what the read brought, or what was sent.
    const auto make = [page](const QString& op, bool ofMode) {
        return [page, op, ofMode] {
            TArchiveRecord r;
            r.unit = kArchiveRi1r;
            r.operation = ofMode ? QStringLiteral("%1 %2").arg(op).arg(page->iNumMode + 1) : op;
            r.result = page->statusText();
            r.ok = r.result == kPageDone;
            r.ident = afterCaption(labelText(page, "QV1MverLabel"));
            r.config = Qv1mFileBytes(*page);
            return r;
        };
    };
    wrap(window,
         {page, "Button5", [page] { page->Button5Click(); }, make(archive_op::Session, false)});
    wrap(window, {page, "Button6", [page] { page->Button6Click(); },
                  make(archive_op::WriteMode, true), kArchiveRi1r});
    wrap(window, {page, "Button7", [page] { page->Button7Click(); },
                  make(archive_op::WriteCommon, false), kArchiveRi1r});
    wrap(window,
         {page, "Button8", [page] { page->Button8Click(); }, make(archive_op::WriteDate, false)});
    wrap(window, {page, "Button16", [page] { page->Button16Click(); },
                  make(archive_op::WriteAll, false), kArchiveRi1r});
}

void wrapZi2z3(TRelcon4& window) {
    TQv2f3Page* page = Qv2f3Page;
    if (!page)
        return;
    TRelcon4* owner = &window;
    const auto make = [page, owner](const QString& op) {
        return [page, owner, op] {
            TArchiveRecord r;
            r.unit = kArchiveZi2z3;
            r.operation = op;
            r.result = labelText(page, "StatusLabel3");
            r.ok = Zi2z3LastKnown().result.ok();
            r.ident = Zi2z3LastKnown().ident.trimmed();
            QString reason;
            PageConfig(*owner, kArchiveZi2z3, r.config, reason);
            return r;
        };
    };
    wrap(window, {page, "Button17", [page] { page->Button17Click(); }, make(archive_op::Session)});
    wrap(window, {page, "QV2_RereadButton", [page] { page->QV2_RereadButtonClick(); },
                  make(archive_op::ReadDelays)});
    wrap(window, {page, "QV2_WriteButton", [page] { page->QV2_WriteButtonClick(); },
                  make(archive_op::WriteDelays), kArchiveZi2z3});
    const std::pair<const char*, void (TQv2f3Page::*)()> bench[] = {
        {"QV2_cmd00_Button", &TQv2f3Page::QV2_cmd00_ButtonClick},
        {"QV2_cmd01_Button", &TQv2f3Page::QV2_cmd01_ButtonClick},
        {"QV2_cmd02_Button", &TQv2f3Page::QV2_cmd02_ButtonClick},
        {"QV2_cmd03_Button", &TQv2f3Page::QV2_cmd03_ButtonClick},
        {"QV2_cmd04_Button", &TQv2f3Page::QV2_cmd04_ButtonClick},
        {"QV2_cmd05_Button", &TQv2f3Page::QV2_cmd05_ButtonClick},
        {"QV2_cmd06_Button", &TQv2f3Page::QV2_cmd06_ButtonClick},
        {"QV2_cmd80_Button", &TQv2f3Page::QV2_cmd80_ButtonClick},
    };
    for (const auto& [name, handler] : bench) {
        const QString code = QString::fromLatin1(name).mid(7, 2);
        wrap(window, {page, name, [page, h = handler] { (page->*h)(); },
                      make(archive_op::Bench + QStringLiteral(", команда 0x") + code)});
    }
    // The results of a run are all in once the watch ends.
    wrap(window, {page, "QV2_stop_Button", [page] { page->QV2_stop_ButtonClick(); },
                  make(archive_op::Bench + QStringLiteral(", итог")), QString(), true});
}

} // namespace

void InstallArchiveRecording(TRelcon4* window) {
    if (!window)
        return;
    // Opened while the splash counts down, so the first command finds it open.
    QTimer::singleShot(0, window, [] { ProgramArchive(); });
    wrapRo4d(*window);
    wrapRi1r(*window);
    wrapZi2z3(*window);
}
