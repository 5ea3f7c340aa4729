// A record as a damaged archive could hold it: any unit kind, identification
// and configuration bytes. What the archive reads back of a configuration
// written out again reads the same; a configuration compared with itself
// matches; the text `archive show` prints is made for any record.
#include "archive/archive_compare.h"
#include "archive/archive_text.h"
#include "archive/bench_config.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv4m/qv4m_files.h"
#include "fuzz_check.h"

namespace {

bool sameBench(const TBenchConfig& a, const TBenchConfig& b) {
    if (a.delays != b.delays || a.fields.size() != b.fields.size())
        return false;
    for (std::size_t k = 0; k < a.fields.size(); ++k)
        if (a.fields[k].name != b.fields[k].name || a.fields[k].text != b.fields[k].text)
            return false;
    return true;
}

// True when the configuration is whole for its unit kind.
bool checkRoundTrip(const TArchiveRecord& record) {
    if (record.unit == kArchiveRo4d) {
        TRo4dImage image;
        QString reason;
        const bool ok = ParseConfigImage(record.config, image, reason);
        FUZZ_REQUIRE(ok == (record.config.size() == kConfigFileBytes));
        FUZZ_REQUIRE(ok == reason.isEmpty());
        if (ok)
            FUZZ_REQUIRE(ConfigFileBytes(image.params, image.mode, image.extra) == record.config);
        return ok;
    }
    if (record.unit == kArchiveRi1r) {
        const TQv1mFileRead read = Qv1mParseFile(record.config);
        if (read.ok) {
            const QByteArray written = Qv1mFileBytes(read.set);
            FUZZ_REQUIRE(Qv1mFileBytes(Qv1mParseFile(written).set) == written);
        }
        return read.ok;
    }
    TBenchConfig config;
    if (!ParseBenchConfig(record.config, config))
        return false;
    const QByteArray written = BenchConfigBytes(config);
    TBenchConfig again;
    FUZZ_REQUIRE(ParseBenchConfig(written, again));
    FUZZ_REQUIRE(sameBench(config, again));
    FUZZ_REQUIRE(BenchConfigBytes(again) == written);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const QString units[] = {kArchiveRo4d, kArchiveRi1r, kArchiveZi2z3, QStringLiteral("ro4")};
    TArchiveRecord record;
    record.unit = units[data[0] % 4];
    // The identification up to the first zero byte, the configuration after it.
    const QByteArray rest = InputBytes(data + 1, size - 1);
    const qsizetype zero = rest.indexOf('\0');
    record.ident = QString::fromUtf8(zero < 0 ? QByteArray() : rest.left(zero));
    record.config = zero < 0 ? rest : rest.mid(zero + 1);
    record.id = QStringLiteral("id");

    const bool whole = checkRoundTrip(record);
    TCompareResult compare;
    QString reason;
    const bool compared = CompareConfigs(record, QStringLiteral("a"), record.config,
                                         QStringLiteral("b"), compare, reason);
    FUZZ_REQUIRE(compared == whole);
    FUZZ_REQUIRE(compared ? compare.equal() : !reason.isEmpty());
    FUZZ_REQUIRE(ArchiveRecordText(record).startsWith(QStringLiteral("Запись: id\n")));
    return 0;
}
