#include "devices/qv1m/qv1m_file.h"

#include "qstring_print.h"
#include <QList>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

TQv1mSet knownSet() {
    TQv1mSet set;
    for (int n = 0; n < kQv1ModeCount; ++n)
        for (int c = 1; c <= kQv1ChannelCount; ++c)
            set.channel(c)[static_cast<std::size_t>(n)] = {
                static_cast<std::uint16_t>(100 * n + 10 * c + 1),
                static_cast<std::uint16_t>(100 * n + 10 * c + 2),
                static_cast<std::uint16_t>(100 * n + 10 * c + 3), static_cast<std::uint8_t>(c)};
    set.mQV1M_1[6].wTimePrevOn = 65535;
    set.mQV1M_s = {10, 0, 255, 3, 5.25, 400, 512, 1023};
    return set;
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    EXPECT_TRUE(lines.last().isEmpty());
    lines.removeLast();
    return lines;
}

QByteArray withLine(QByteArray bytes, int number, const QByteArray& text) {
    QList<QByteArray> lines = bytes.split('\n');
    lines[number - 1] = text + '\r';
    return lines.join('\n');
}

} // namespace

TEST(Qv1mFile, KnownSetLineByLine) {
    QLocale::setDefault(QLocale::c());
    const QList<QByteArray> lines = linesOf(Qv1mFileBytes(knownSet()));
    ASSERT_EQ(lines.size(), 95);
    for (const QByteArray& line : lines)
        EXPECT_TRUE(line.endsWith('\r'));
    auto line = [&](int n) { return lines[n - 1].chopped(1); };
    // Mode m, channel c, field f stands on line 12(m-1) + 4(c-1) + f.
    EXPECT_EQ(line(1), "11");
    EXPECT_EQ(line(4), "1");
    EXPECT_EQ(line(5), "21");
    EXPECT_EQ(line(12 * 2 + 4 * 2 + 3), "233"); // mode 3, channel 3, Toff
    EXPECT_EQ(line(12 * 6 + 1), "65535");       // mode 7, channel 1, Ton
    EXPECT_EQ(line(84), "3");
    const QList<QByteArray> tail{"10", "0",   "0",   "0",    "255",  "0",
                                 "3",  "400", "512", "1023", "5.250"};
    for (int i = 0; i < tail.size(); ++i)
        EXPECT_EQ(line(85 + i), tail[i]) << "line " << 85 + i;
}

TEST(Qv1mFile, SavedThenParsedGivesTheSameSet) {
    QLocale::setDefault(QLocale::c());
    const TQv1mSet set = knownSet();
    const TQv1mFileRead read = Qv1mParseFile(Qv1mFileBytes(set));
    ASSERT_TRUE(read.ok) << read.reason.toStdString();
    EXPECT_EQ(read.set, set);
    // Lines after 95 are ignored; LF-only files are read too.
    QByteArray lf = Qv1mFileBytes(set) + "junk\r\nmore\r\n";
    lf.replace("\r\n", "\n");
    const TQv1mFileRead more = Qv1mParseFile(lf);
    ASSERT_TRUE(more.ok);
    EXPECT_EQ(more.set, set);
}

TEST(Qv1mFile, CommaSeparatorWrittenAndRead) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QByteArray bytes = Qv1mFileBytes(knownSet());
    QLocale::setDefault(saved);
    EXPECT_TRUE(bytes.endsWith("\r\n5,250\r\n"));
    const TQv1mFileRead read = Qv1mParseFile(bytes);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.set.mQV1M_s.rVolt, 5.25);
}

TEST(Qv1mFile, DamagedFilesAreRefusedWhole) {
    QLocale::setDefault(QLocale::c());
    const QByteArray good = Qv1mFileBytes(knownSet());
    const QByteArray short94 = good.left(good.lastIndexOf("5.250"));
    TQv1mFileRead read = Qv1mParseFile(short94);
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.tooShort);
    EXPECT_TRUE(Qv1mParseFile(QByteArray()).tooShort);

    struct Case {
        int line;
        QByteArray text;
        QString reason;
    };
    const QList<Case> cases{
        {3, "abc", QStringLiteral("строка 3 — не число")},
        {3, "", QStringLiteral("строка 3 — не число")},
        {3, "12x", QStringLiteral("строка 3 — не число")},
        {3, "65536", QStringLiteral("строка 3 — число вне диапазона 0..65535")},
        {4, "256", QStringLiteral("строка 4 — число вне диапазона 0..255")},
        {85, "-1", QStringLiteral("строка 85 — число вне диапазона 0..255")},
        {92, "99999999999999999999999", QStringLiteral("строка 92 — число вне диапазона 0..65535")},
        {95, "volts", QStringLiteral("строка 95 — не число")},
    };
    for (const Case& c : cases) {
        read = Qv1mParseFile(withLine(good, c.line, c.text));
        EXPECT_FALSE(read.ok) << c.line;
        EXPECT_FALSE(read.tooShort);
        EXPECT_EQ(read.reason, c.reason);
    }
    // The constant zero lines are skipped unread.
    EXPECT_TRUE(Qv1mParseFile(withLine(good, 86, "x")).ok);
    // Blanks around a number are harmless.
    EXPECT_TRUE(Qv1mParseFile(withLine(good, 1, " 11 ")).ok);

    QByteArray binary = good;
    binary[10] = '\0';
    read = Qv1mParseFile(binary);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.reason, QStringLiteral("это не текстовый файл"));
    EXPECT_EQ(Qv1mParseFile("\x89PNG\r\n\x1a\n\0\0").reason,
              QStringLiteral("это не текстовый файл"));
    // What follows line 95 is not looked at, binary or not.
    EXPECT_TRUE(Qv1mParseFile(good + QByteArray("\0\x01\xFF", 3)).ok);
}

TEST(Qv1mFile, AFileThatDoesNotOpenNamesTheSystemsReason) {
    const TQv1mFileRead read = Qv1mReadFile(QStringLiteral("/nonexistent/QV1M.ini"));
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.reason.isEmpty());
    EXPECT_TRUE(read.openProblem.startsWith(QStringLiteral("не удаётся открыть (")))
        << read.openProblem.toStdString();
    EXPECT_GT(read.openProblem.size(), QStringLiteral("не удаётся открыть ()").size());
}
