// The commissioning protocol's costs: the time to lay each unit kind's
// protocol out on A4 and write its PDF in memory, and the PDF's size. The
// configurations are the simulated units' own. Prints rows of the results table.
#include "bench_app.h"

#include "archive/archive_config.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/ro4d_compare.h"
#include "report/config_report.h"
#include "report/report_pdf.h"

#include "ro4d_unit.h"

using namespace bench;

namespace {

QByteArray Ro4dConfig() {
    sim::Ro4dUnit unit;
    TRo4dUnitImage image;
    std::copy(unit.registers().begin(), unit.registers().end(), image.registers.begin());
    const TRo4dImage words = image.image();
    return ConfigFileBytes(words.params, words.mode, words.extra);
}

void Measure(const QString& name, const TConfigReportInput& input, int reps) {
    TReportHeader header;
    header.port = QStringLiteral("COM5");
    header.when = QDateTime::currentDateTime();
    header.object = QStringLiteral("Школа № 5, корпус 2");
    header.technician = QStringLiteral("Иванов И. И.");
    header.source = QStringLiteral("чтение устройства");
    TReport report;
    QString reason;
    if (!ConfigReport(input, header, report, reason)) {
        Progress(name + QStringLiteral(": ") + reason);
        return;
    }
    std::vector<double> each;
    qsizetype bytes = 0;
    for (int i = 0; i < reps; ++i) {
        const auto t0 = Clock::now();
        bytes = ReportPdfBytes(report).size();
        each.push_back(MsBetween(t0, Clock::now()));
    }
    const Spread s = SpreadOf(each);
    Row(QStringLiteral("8. Protocol PDF, ") + name, QStringLiteral("—"),
        QStringLiteral("median %1 ms, worst %2 ms; %3 KiB")
            .arg(Ms(s.median, 1), Ms(s.worst, 1))
            .arg(bytes / 1024.0, 0, 'f', 1),
        QStringLiteral("%1 runs, laid out and written in memory (DejaVu embedded)").arg(s.count));
}

} // namespace

int main(int argc, char** argv) {
    BenchProcess process(argc, argv);
    const int reps = 20;
    Measure(QStringLiteral("RO-4D"),
            {kArchiveRo4d, Ro4dConfig(), QStringLiteral("VI-4D v.2.1"), {}, {}, {}}, reps);
    TQv1mSet set;
    Measure(QStringLiteral("RI1-R"),
            {kArchiveRi1r, Qv1mFileBytes(set), QStringLiteral("РИ1-Р"), {}, {}, {}}, reps);
    Measure(QStringLiteral("ZI2-Z3"),
            {kArchiveZi2z3, BenchConfigBytes({}), QStringLiteral("ЗИ2З3"), {}, {}, {}}, reps);
    return 0;
}
