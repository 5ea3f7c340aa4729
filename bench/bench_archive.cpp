// The archive's costs: the time a record adds after a command, opening the
// archive window on 100,000 records and filtering them, and the file's size
// per 1,000 RO-4D records. Prints rows of the results table.
#include "bench_app.h"

#include "archive/archive_config.h"
#include "archive/archive_form.h"
#include "archive/archive_model.h"
#include "archive/archive_recorder.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

using namespace bench;

namespace {

TArchiveRecord Ro4dRecord(int n) {
    TArchiveRecord r;
    r.unit = n % 3 == 1 ? kArchiveRi1r : n % 3 == 2 ? kArchiveZi2z3 : kArchiveRo4d;
    r.operation = n % 2 ? QStringLiteral("запись") : QStringLiteral("чтение");
    r.ok = true;
    r.result = QStringLiteral("Статус: выполнено");
    r.port = QStringLiteral("COM5");
    r.adapter = QStringLiteral("/dev/ttyUSB0, FTDI FT232R USB UART, A1B2C3");
    r.ident = QStringLiteral(" RO-4D v2.1 ");
    r.object = QStringLiteral("Объект %1").arg(n % 50);
    r.config = QByteArray(r.unit == kArchiveRi1r ? 400 : 148, static_cast<char>(n));
    return r;
}

qint64 FileBytes(const QString& path) {
    qint64 total = 0;
    for (const char* part : {"", "-wal"})
        total += QFileInfo(path + QLatin1String(part)).size();
    return total;
}

} // namespace

int main(int argc, char** argv) {
    BenchProcess process(argc, argv);
    QuietInteraction quiet;
    OpenProgramWindows(process.home, false);

    // A record after a command: the first opens (and checks) the file.
    ResetProgramArchive();
    auto t0 = Clock::now();
    RecordToArchive(Ro4dArchiveRecord(archive_op::Read, QStringLiteral("Статус: выполнено")));
    const double first = MsBetween(t0, Clock::now());
    std::vector<double> each;
    for (int i = 1; i < 1000; ++i) {
        t0 = Clock::now();
        RecordToArchive(Ro4dArchiveRecord(archive_op::Read, QStringLiteral("Статус: выполнено")));
        each.push_back(MsBetween(t0, Clock::now()));
    }
    const Spread s = SpreadOf(each);
    Row(QStringLiteral("7. Archive: time a record adds after a command"), QStringLiteral("≤ 5 ms"),
        QStringLiteral("median %1 ms, p95 %2 ms, worst %3 ms; the first of a run %4 ms")
            .arg(Ms(s.median, 3), Ms(s.p95, 3), Ms(s.worst, 3), Ms(first, 1)),
        QStringLiteral("%1 RO-4D records, each its own transaction (WAL)").arg(s.count + 1));
    const QString path = ArchiveFilePath();
    ResetProgramArchive();
    Row(QStringLiteral("7. Archive: file size per 1,000 RO-4D records"), QStringLiteral("—"),
        QStringLiteral("%1 KiB").arg(FileBytes(path) / 1024.0, 0, 'f', 0),
        QStringLiteral("148-byte configuration and the texts of a read each"));

    // 100,000 records of 50 objects and three kinds.
    QFile::remove(path);
    t0 = Clock::now();
    for (int n = 0; n < 100000; ++n)
        RecordToArchive(Ro4dRecord(n));
    const double fill = MsBetween(t0, Clock::now()) / 1000.0;
    ResetProgramArchive();
    // The program opens the file at start-up, while the splash counts down.
    t0 = Clock::now();
    ProgramArchive();
    const double fileOpened = MsBetween(t0, Clock::now());

    t0 = Clock::now();
    TArchiveForm* form = ArchiveFormOf(Relcon4);
    form->ShowArchive();
    QCoreApplication::processEvents();
    const double opened = MsBetween(t0, Clock::now());
    const int shown = form->Model->Total();
    struct Filter {
        const char* name;
        std::function<void()> apply;
    };
    const Filter filters[] = {
        {"text \"запись\"", [form] { form->TextFilter->setText(QStringLiteral("запись")); }},
        {"object",
         [form] {
             form->TextFilter->clear();
             form->ObjectFilter->setCurrentIndex(7);
             form->Refilter();
         }},
        {"unit RI1-R",
         [form] {
             form->UnitFilter->setCurrentIndex(2);
             form->Refilter();
         }},
    };
    QStringList filtered;
    for (const Filter& f : filters) {
        t0 = Clock::now();
        f.apply();
        QCoreApplication::processEvents();
        filtered << QStringLiteral("%1 %2 ms (%3 records)")
                        .arg(QString::fromUtf8(f.name), Ms(MsBetween(t0, Clock::now()), 1))
                        .arg(form->Model->Total());
    }
    Row(QStringLiteral("7. Archive window on 100,000 records: open, then filter"),
        QStringLiteral("≤ 200 ms"),
        QStringLiteral("open %1 ms (%2 records); %3")
            .arg(Ms(opened, 1))
            .arg(shown)
            .arg(filtered.join(QStringLiteral("; "))),
        QStringLiteral("newest 200 fetched, more as the table scrolls; the file opened at "
                       "start-up in %1 ms; filled in %2 s, %3 MiB")
            .arg(Ms(fileOpened, 1))
            .arg(fill, 0, 'f', 1)
            .arg(FileBytes(path) / 1048576.0, 0, 'f', 1));
    ResetProgramArchive();
    return 0;
}
