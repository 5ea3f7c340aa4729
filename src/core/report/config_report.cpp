#include "report/config_report.h"

#include "archive/archive_config.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/ro4d_protocol.h"
#include "report/ri1r_report.h"
#include "report/ro4d_report.h"
#include "report/zi2z3_report.h"

namespace {

const QString kNotWhole = QStringLiteral("конфигурация неполна или повреждена");

} // namespace

bool ConfigReport(const TConfigReportInput& input, const TReportHeader& header, TReport& report,
                  QString& reason) {
    if (input.unit == kArchiveRo4d) {
        TRo4dReportInput ro4d;
        if (!ParseConfigImage(input.config, ro4d.image, reason))
            return false;
        ro4d.version = input.ident.trimmed();
        ro4d.bVers = BoardGeneration(ro4d.version);
        ro4d.check = input.check;
        ro4d.checkTitle = input.checkTitle;
        report = Ro4dReport(ro4d, header);
        return true;
    }
    if (input.unit == kArchiveRi1r) {
        const TQv1mFileRead read = Qv1mParseFile(input.config);
        if (!read.ok) {
            reason = read.reason.isEmpty() ? kNotWhole : read.reason;
            return false;
        }
        TRi1rReportInput ri1r;
        ri1r.ident = input.ident;
        ri1r.releaseDate = input.releaseDate;
        ri1r.set = read.set;
        ri1r.vref = read.set.mQV1M_s.rVolt;
        ri1r.check = input.check;
        ri1r.checkTitle = input.checkTitle;
        report = Ri1rReport(ri1r, header);
        return true;
    }
    if (input.unit == kArchiveZi2z3) {
        TZi2z3ReportInput bench;
        if (!ParseBenchConfig(input.config, bench.bench)) {
            reason = kNotWhole;
            return false;
        }
        bench.ident = input.ident;
        report = Zi2z3Report(bench, header);
        return true;
    }
    reason = QStringLiteral("неизвестный вид блока «%1»").arg(input.unit);
    return false;
}
