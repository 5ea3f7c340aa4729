// The RI1-R page's conversation with the unit: session, writes, mode switch.
#include "devices/qv1/qv1_link.h"
#include "devices/qv1m/qv1m_compare.h"
#include "devices/qv1m/qv1m_page.h"
#include "devices/qv1m/ri1r_service.h"
#include "engine/transaction.h"
#include "shell/app_globals.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"
#include "ui_qv1m_page.h"

namespace {

const QString kWriting = QStringLiteral("Статус: идёт запись...");
const QString kDone = QStringLiteral("Статус: успешно");
const QString kBadParameters = QStringLiteral("Статус: ошибки в параметрах");
const QString kWriteErrors = QStringLiteral("Статус: возникли ошибки при записи");
const QString kDateStep = QStringLiteral("запись даты выпуска");

} // namespace

bool TQv1mPage::exchange(const TQv1Request& request) {
    std::optional<TMasBytes> reply = Qv1Exchange(request);
    reply_ = reply ? std::move(*reply) : TMasBytes{};
    return reply.has_value();
}

TQv1mPage::TStep TQv1mPage::judge(bool exchanged) const {
    if (!exchanged)
        return TStep::Failed;
    return Qv1ResultCode(reply_) == 0 ? TStep::Done : TStep::Refused;
}

bool TQv1mPage::accepted(bool exchanged, const QString& step) const {
    const TStep result = judge(exchanged);
    if (result == TStep::Refused)
        LogStatusLine(QStringLiteral("Устройство отказало: %1 (код %2)")
                          .arg(step, QString::fromStdString(ByteToHex(Qv1ResultCode(reply_)))),
                      clLogRed);
    return result == TStep::Done;
}

TQv1mPage::TStep TQv1mPage::sendAlone(const TQv1Request& request) {
    Qv1OpenClose(true);
    const TStep step = judge(exchange(request));
    Qv1OpenClose(false);
    return step;
}

QString TQv1mPage::stepText(TStep step, const QString& refused) {
    switch (step) {
    case TStep::Failed:
        return QStringLiteral("Статус: не выполнено");
    case TStep::Refused:
        return refused;
    case TStep::Done:
        break;
    }
    return kDone;
}

bool TQv1mPage::funQV1StartSession() {
    return exchange(Qv1StartSessionRequest());
}

bool TQv1mPage::funQV1WriteMode(int n) {
    return exchange(Qv1WriteModeRequest(*this, n));
}

bool TQv1mPage::funQV1WriteTimeErr() {
    return exchange(Qv1WriteTimeErrRequest(mQV1M_s));
}

bool TQv1mPage::funQV1WriteVoltFlags() {
    return exchange(Qv1WriteVoltFlagsRequest(mQV1M_s));
}

bool TQv1mPage::funQV1SendCmdT() {
    return exchange(Qv1CmdTRequest());
}

bool TQv1mPage::funQV1WriteDate() {
    return exchange(Qv1WriteDateRequest(PcDate.Day, PcDate.Month, PcDate.Year));
}

bool TQv1mPage::funQV1EndSessionRestart() {
    return exchange(Qv1EndSessionRequest(true));
}

bool TQv1mPage::funQV1DateIsSet() const {
    return Qv1DateIsSet(owner_->sInitDate);
}

bool TQv1mPage::ReadMode(int n, TQv1mUnitRead& read) {
    return Ri1rReadMode(n, read).ok();
}

bool TQv1mPage::ReadSession(TQv1mUnitRead& read) {
    return Ri1rReadSession(read).ok();
}

void TQv1mPage::showUnit(const QString& ident, const QString& releaseDate) {
    ui->QV1MverLabel->setText(QStringLiteral("Устройство: ") + ident);
    owner_->sInitDate = releaseDate;
    if (TWhereBar* bar = WhereBarOf(this); bar && ident != QLatin1String("?"))
        bar->showUnit(QStringLiteral("RI1-R"), ident);
}

void TQv1mPage::showSession(bool open) {
    if (TWhereBar* bar = WhereBarOf(this))
        bar->showSession(open ? QStringLiteral("сеанс RI1-R открыт") : QString());
}

void TQv1mPage::forgetUnit() {
    showUnit(QStringLiteral("?"), QStringLiteral("00.00.00"));
}

void TQv1mPage::Button5Click() {
    runCommand(QStringLiteral("Статус: идёт считывание..."), [this] {
        Qv1OpenClose(true);
        forgetUnit();
        TQv1mUnitRead read;
        const bool ok = ReadSession(read);
        // What was read before a failure stays in the records.
        if (read.session)
            showUnit(read.ident, read.releaseDate);
        for (int n = 0; n < kQv1ModeCount; ++n)
            if (read.modes[static_cast<std::size_t>(n)])
                for (int c = 1; c <= kQv1ChannelCount; ++c)
                    channel(c)[static_cast<std::size_t>(n)] =
                        read.set.channel(c)[static_cast<std::size_t>(n)];
        if (read.allModes()) {
            // A mode digit outside "1".."7" would point the editor past the
            // seven modes; show mode 1 instead.
            iNumMode = Qv1ModeIndexValid(read.currentMode) ? read.currentMode : 0;
            ui->ComboBox2->setCurrentIndex(iNumMode);
            prQV1ShowMode(iNumMode);
        }
        const RQV1M_val2& s = read.set.mQV1M_s;
        if (read.delays) {
            mQV1M_s.bTimePausePrevErr_K1 = s.bTimePausePrevErr_K1;
            mQV1M_s.bTimePausePrevErr_K2 = s.bTimePausePrevErr_K2;
            mQV1M_s.bTimePausePrevErr_K3 = s.bTimePausePrevErr_K3;
            prQV1ShowTimeErr();
        }
        if (read.voltFlags) {
            mQV1M_s.bFlagMode_E = s.bFlagMode_E;
            mQV1M_s.wBut_Lvl_DO = s.wBut_Lvl_DO;
            mQV1M_s.wBut_Lvl_UD = s.wBut_Lvl_UD;
            mQV1M_s.wBut_Lvl_SC = s.wBut_Lvl_SC;
            prQV1ControlsOn();
            prQV1ShowVoltFlags();
            for (int c = 1; c <= kQv1ChannelCount; ++c)
                if (Qv1ChannelEditable(iNumMode, c))
                    prQV1ChannelRules(c);
        }
        Qv1OpenClose(false);
        showSession(read.session);
        if (ok)
            NoteBaseline();
        setStatus(ok ? kDone : QStringLiteral("Статус: ошибки связи"));
    });
}

void TQv1mPage::Button6Click() {
    runCommand(kWriting, [this] {
        if (!entriesAllowWrite(kBadParameters))
            return;
        prQV1StoreMode(iNumMode);
        const TStep step = sendAlone(Qv1WriteModeRequest(*this, iNumMode));
        setStatus(stepText(step, kBadParameters));
        if (step == TStep::Done && AfterWrite)
            AfterWrite(iNumMode);
    });
}

void TQv1mPage::Button7Click() {
    runCommand(kWriting, [this] {
        if (!entriesAllowWrite(kBadParameters))
            return;
        prQV1GetTimeErr();
        Qv1OpenClose(true);
        TStep step = judge(funQV1WriteTimeErr());
        setStatus(stepText(step, kBadParameters));
        if (step == TStep::Done) {
            prQV1GetVoltFlags();
            step = judge(funQV1WriteVoltFlags());
            setStatus(stepText(step, kBadParameters));
        }
        if (step == TStep::Done) {
            step = judge(funQV1SendCmdT());
            setStatus(stepText(step, kBadParameters));
        }
        Qv1OpenClose(false);
    });
}

void TQv1mPage::Button8Click() {
    runCommand(kWriting, [this] {
        if (funQV1DateIsSet()) {
            setStatus(QStringLiteral("Статус: дата инициализации уже прописана"));
            return;
        }
        // A unit that refuses the date has not taken it.
        Qv1OpenClose(true);
        const bool ok = accepted(funQV1WriteDate(), kDateStep);
        Qv1OpenClose(false);
        setStatus(ok ? kDone : kBadParameters);
    });
}

void TQv1mPage::Button9Click() {
    endSession(QStringLiteral("Статус: завершение сеанса..."), false);
}

void TQv1mPage::Button10Click() {
    endSession(QStringLiteral("Статус: завершение сеанса и перезапуск..."), true);
}

void TQv1mPage::endSession(const QString& progress, bool restart) {
    runCommand(progress, [this, restart] {
        const TStep step = sendAlone(Qv1EndSessionRequest(restart));
        setStatus(stepText(step, kBadParameters));
        // A unit that refused to end it keeps its session.
        showSession(step == TStep::Refused);
        // A unit that no longer answers has no session to edit.
        if (step == TStep::Failed)
            prQV1ControlsOff();
        else
            prQV1ControlsOn();
    });
}

void TQv1mPage::Button13Click() {
    runCommand(QStringLiteral("Статус: выполнятеся применение..."), [this] {
        setStatus(
            stepText(sendAlone(Qv1SwitchModeRequest(iNumMode)), QStringLiteral("Статус: ошибка")));
    });
}

void TQv1mPage::Button16Click() {
    runCommand(kWriting, [this] {
        if (!entriesAllowWrite(kWriteErrors))
            return;
        Qv1OpenClose(true);
        // The session reply carries no result code; every later step does, and
        // a step the unit refuses ends the sequence as a failed exchange would.
        // The reply names the unit on the line now and its release date, which
        // decides below whether the date may be written: a date known from an
        // earlier session, or none at all after a file was loaded, could be
        // another unit's.
        forgetUnit();
        bool ok = funQV1StartSession();
        if (ok)
            showUnit(Qv1DecodeIdentText(reply_), Qv1DecodeReleaseDate(reply_));
        for (int n = 0; ok && n < kQv1ModeCount; ++n)
            ok = accepted(funQV1WriteMode(n), QStringLiteral("запись режима %1").arg(n + 1));
        ok = ok && accepted(funQV1WriteTimeErr(), QStringLiteral("запись задержек ошибок"));
        ok = ok && accepted(funQV1WriteVoltFlags(), QStringLiteral("запись порогов напряжений"));
        if (ok)
            ok = funQV1DateIsSet() ? accepted(funQV1SendCmdT(), QStringLiteral("команда \"t\""))
                                   : accepted(funQV1WriteDate(), kDateStep);
        ok = ok && accepted(funQV1EndSessionRestart(),
                            QStringLiteral("завершение сеанса с перезапуском"));
        Qv1OpenClose(false);
        // The set ends with the unit's restart, and so does its session.
        showSession(false);
        if (ok)
            NoteBaseline();
        setStatus(ok ? kDone : kWriteErrors);
        if (ok && AfterWrite)
            AfterWrite(-1);
    });
}
