#include "report/ri1r_report.h"

#include "devices/qv1m/qv1m_convert.h"
#include "devices/qv1m/ri1r_captions.h"

namespace {

TReportSection modeSection(const TQv1mSet& set, int n) {
    TReportSection s{Ri1rModesCaption() + QStringLiteral(": режим %1").arg(n + 1), {}, {}};
    for (int c = 1; c <= kQv1ChannelCount; ++c) {
        const RQV1M_val1& v = set.channel(c)[static_cast<std::size_t>(n)];
        const QString at = Ri1rChannelCaption(c) + QStringLiteral(", ");
        const std::uint16_t times[] = {v.wTimePrevOn, v.wTime6sec, v.wTimePrevOff};
        for (int t = 0; t < 3; ++t)
            s.rows << TReportRow{
                at + QLatin1String(kRi1rTimeRows[t]), Qv1TimeText(times[t]).trimmed(), {}};
        s.rows << TReportRow{at + Ri1rControlCaption(),
                             Ri1rControlItem(v.bFlag & kQv1FlagAlternate),
                             {}}
               << TReportRow{at + Ri1rWorkCaption(), Ri1rWorkItem(v.bFlag & kQv1FlagByTime), {}}
               << TReportRow{at + Ri1rPairCaption(c) + QStringLiteral(": ") +
                                 Ri1rFaultCheckCaption(),
                             YesNo(v.bFlag & kQv1FlagFaultCheck),
                             {}}
               << TReportRow{at + Ri1rPairCaption(c) + QStringLiteral(": ") + Ri1rInverseCaption(),
                             YesNo(v.bFlag & kQv1FlagInverse),
                             {}};
    }
    return s;
}

} // namespace

TReport Ri1rReport(const TRi1rReportInput& input, const TReportHeader& header) {
    const RQV1M_val2& common = input.set.mQV1M_s;
    const double vref = input.vref > 0 ? input.vref : kRi1rDefaultVref;
    TReport r;
    r.title = QStringLiteral("Протокол настройки блока RI1-R");
    r.header << TReportRow{QStringLiteral("Устройство"),
                           input.ident.isEmpty() ? QStringLiteral("не считано (файл)")
                                                 : input.ident.trimmed(),
                           {}}
             << TReportRow{QStringLiteral("Дата выпуска"),
                           input.releaseDate.isEmpty() ? QStringLiteral("-") : input.releaseDate,
                           {}}
             << ReportHeaderRows(header);
    for (int n = 0; n < kQv1ModeCount; ++n)
        r.sections << modeSection(input.set, n);

    TReportSection settings{Ri1rModesCaption(), {}, {}};
    const std::uint8_t delays[] = {common.bTimePausePrevErr_K1, common.bTimePausePrevErr_K2,
                                   common.bTimePausePrevErr_K3};
    for (int k = 0; k < 3; ++k)
        settings.rows << TReportRow{Ri1rDelayCaption() + QStringLiteral(": K%1").arg(k + 1),
                                    Qv1DelayText(delays[k]), QStringLiteral("сек")};
    settings.rows << TReportRow{Ri1rFaultLatchCaption(),
                                YesNo(common.bFlagMode_E & kQv1ModeFaultLatch),
                                {}}
                  << TReportRow{Ri1rInvertInputsCaption(),
                                YesNo(common.bFlagMode_E & kQv1ModeInvertInputs),
                                {}};
    r.sections << settings;

    TReportSection volts{Ri1rThresholdsCaption(), {}, {}};
    volts.rows << TReportRow{QString::fromUtf8(kRi1rVoltCaptions[0]), Qv1RealText(vref, 2),
                             QStringLiteral("В")};
    const std::uint16_t codes[] = {common.wBut_Lvl_DO, common.wBut_Lvl_UD, common.wBut_Lvl_SC};
    for (int k = 0; k < 3; ++k)
        volts.rows << TReportRow{QString::fromUtf8(kRi1rVoltCaptions[k + 1]),
                                 Qv1VoltText(codes[k], vref), QStringLiteral("В")};
    r.sections << volts;
    if (input.check)
        r.verify = VerifySection(input.checkTitle, *input.check);
    r.signature = ReportSignatureLine();
    return r;
}
