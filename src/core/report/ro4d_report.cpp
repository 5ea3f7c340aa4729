#include "report/ro4d_report.h"

#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/ro4d_captions.h"
#include "devices/qv4m/ro4d_compare.h"

namespace {

QString signalText(const TChannelControls& ch, int row) {
    return CaptionText(kMatrixRowCaptions[row]) + QStringLiteral(" (") +
           ToggleText(ch.toggle[static_cast<std::size_t>(row)].checked) + QLatin1Char(')');
}

QString boxesText(const TChannelControls& ch, const std::array<TBox, kMatrixRows>& boxes) {
    QStringList on;
    for (int row = 0; row < kMatrixRows; ++row)
        if (boxes[static_cast<std::size_t>(row)].checked)
            on << signalText(ch, row);
    return on.isEmpty() ? YesNo(false) : on.join(QStringLiteral(", "));
}

QString mainText(const TChannelControls& ch) {
    const auto main = [&ch](int index) {
        return index >= 0 && index < kMainSignals ? signalText(ch, index) : QStringLiteral("—");
    };
    if (ch.orAnd.index == kOrAndSingle)
        return main(ch.main1.index);
    return main(ch.main1.index) + QLatin1Char(' ') +
           CaptionItem(kOrAndCaptions, 3, ch.orAnd.index) + QLatin1Char(' ') + main(ch.main2.index);
}

TReportRow valueRow(const TQv4mParams& p, const TRo4dValueCaption& v) {
    return {CaptionText(v.caption), p.*v.field, CaptionText(v.unit)};
}

TReportSection channelSection(const QString& title, const TChannelControls& ch,
                              const TQv4mParams& p, QString TQv4mParams::*tmin6) {
    TReportSection s{title, {}, {}};
    s.rows << TReportRow{QStringLiteral("Основное условие Пуска"), mainText(ch), {}}
           << TReportRow{QStringLiteral("Условия для Пуска"), boxesText(ch, ch.start), {}}
           << TReportRow{QStringLiteral("Участие в Стоп"), boxesText(ch, ch.stop), {}}
           << TReportRow{QStringLiteral("Вариант для Стоп"),
                         CaptionItem(kStopVariantCaptions, 2, ch.stopVariant.index),
                         {}}
           << valueRow(p, Ro4dValueCaptionOf(tmin6))
           << TReportRow{QStringLiteral("Активировать T_240"), YesNo(ch.activateT240.checked), {}}
           << TReportRow{QStringLiteral("Активировать T_end"), YesNo(ch.activateTend.checked), {}}
           << TReportRow{QStringLiteral("Активировать T_wait"), YesNo(ch.activateTwait.checked), {}}
           << TReportRow{QStringLiteral("Доп. условие после T_wait"),
                         ch.dopIf.checked
                             ? QStringLiteral("да, K3 (%1)").arg(ToggleText(ch.dopToggle.checked))
                             : YesNo(false),
                         {}};
    return s;
}

// The values of one group, in the table's order, as the board shows them.
QList<TReportRow> groupRows(const TQv4mParams& p, const QString& group, bool board2x) {
    QList<TReportRow> rows;
    for (const TRo4dValueCaption& v : Ro4dValueCaptions())
        if (CaptionText(v.group) == group && ShownOnBoard(v.shown, board2x))
            rows << valueRow(p, v);
    return rows;
}

QList<TReportRow> optionRows(const TQv4mParams& p, const QString& group) {
    QList<TReportRow> rows;
    for (const TRo4dOptionCaption& o : Ro4dOptionCaptions())
        if (CaptionText(o.group) == group)
            rows << TReportRow{CaptionText(o.caption), YesNo(p.*o.option), {}};
    return rows;
}

template <std::size_t N>
QStringList wordLines(const QString& name, const std::array<std::uint16_t, N>& words) {
    QStringList lines;
    for (std::size_t at = 0; at < N; at += 8) {
        QString line = QStringLiteral("%1 %2:").arg(name).arg(at, 2, 10, QLatin1Char('0'));
        for (std::size_t n = at; n < N && n < at + 8; ++n)
            line += QStringLiteral(" %1").arg(words[n], 4, 16, QLatin1Char('0')).toUpper();
        lines << line;
    }
    return lines;
}

} // namespace

TReport Ro4dReport(const TRo4dReportInput& input, const TReportHeader& header) {
    const bool board2x = IsBoard2x(input.bVers);
    TQv4mParams p;
    int mainMode = kModeIndependent;
    ShowParamWords(input.image.params, BoardVoltOpora(input.bVers), board2x, p, mainMode);
    p.BlockFreeSignal = input.image.extra[0] & 1u;
    const TModeEditor ed = RestoredModeEditor(input.image);

    TReport r;
    r.title = QStringLiteral("Протокол настройки блока RO-4D");
    r.header << TReportRow{QStringLiteral("Устройство"),
                           input.version.isEmpty() ? QStringLiteral("версия не считана (файл)")
                                                   : input.version,
                           {}}
             << TReportRow{QStringLiteral("Плата"),
                           board2x ? QStringLiteral("2.x") : QStringLiteral("1.x"),
                           {}}
             << ReportHeaderRows(header);

    const QString modePage = Ro4dModePageCaption();
    TReportSection mode{modePage, {}, {}};
    mode.rows << TReportRow{QStringLiteral("Режим М1/М2"),
                            CaptionItem(kMainModeCaptions, 3, mainMode),
                            {}}
              << groupRows(p, modePage, board2x) << optionRows(p, modePage)
              << TReportRow{QStringLiteral("Осн. сигнал для диспетчера"),
                            p.RadioGroup2 == 1 ? QStringLiteral("C3") : QStringLiteral("C1"),
                            {}};
    r.sections << mode << channelSection(QStringLiteral("М1"), ed.m1, p, &TQv4mParams::T_min6a)
               << channelSection(ed.m2Caption.isEmpty() ? QStringLiteral("М2") : ed.m2Caption,
                                 ed.m2, p, &TQv4mParams::T_min6b);

    const QString timesPage = Ro4dTimesPageCaption();
    TReportSection times{timesPage, groupRows(p, timesPage, board2x), {}};
    times.rows << optionRows(p, timesPage);
    r.sections << times;
    TReportSection lines{Ro4dLineGroupCaption(), {}, {}};
    for (const TRo4dLineCaption& l : Ro4dLineCaptions())
        lines.rows << TReportRow{CaptionText(l.caption), YesNo(p.LineChecks & l.bit), {}};
    r.sections << lines;
    for (const QString& group : Ro4dThresholdGroups()) {
        TReportSection s{group, groupRows(p, group, board2x), {}};
        if (!s.rows.isEmpty())
            r.sections << s;
    }

    if (input.check)
        r.verify = VerifySection(input.checkTitle, *input.check);
    TReportSection words{QStringLiteral("Приложение: слова регистров (hex)"), {}, {}};
    words.fixedLines << wordLines(QStringLiteral("Параметры"), input.image.params)
                     << wordLines(QStringLiteral("Режимы   "), input.image.mode)
                     << wordLines(QStringLiteral("Доп.     "), input.image.extra);
    r.appendix << words;
    r.signature = ReportSignatureLine();
    return r;
}
