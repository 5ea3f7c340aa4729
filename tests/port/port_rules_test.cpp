#include "port/port_rules.h"
#include "port/status_com_form.h"

#include <gtest/gtest.h>

TEST(PortRules, DisplayAndStoredForms) {
    EXPECT_EQ(PortDisplayName(QStringLiteral("COM3")), QStringLiteral("COM 3"));
    EXPECT_EQ(PortDisplayName(QStringLiteral("COM10")), QStringLiteral("COM 10"));
    EXPECT_EQ(PortDisplayName(QString()), QStringLiteral(" "));
    EXPECT_EQ(PortDisplayName(QStringLiteral("COM")), QStringLiteral("COM "));
    EXPECT_EQ(PortStoredName(QStringLiteral("COM 10")), QStringLiteral("COM10"));
    EXPECT_EQ(PortStoredName(QStringLiteral("COM3")), QStringLiteral("COM3"));
    // Only a space in the fourth place is the display form's.
    EXPECT_EQ(PortStoredName(QStringLiteral("CO M3")), QStringLiteral("CO M3"));
    EXPECT_EQ(PortStoredName(QStringLiteral("COM ")), QStringLiteral("COM"));
}

TEST(PortRules, ListedOnlyAmongTheCountedEntriesAndExactly) {
    const QStringList shown{QStringLiteral("COM 1"), QStringLiteral("COM 3"),
                            QStringLiteral("COM 34")};
    EXPECT_TRUE(PortIsListed(QStringLiteral("COM3"), shown, 3));
    EXPECT_FALSE(PortIsListed(QStringLiteral("COM34"), shown, 2));
    EXPECT_FALSE(PortIsListed(QStringLiteral("com3"), shown, 3));
    EXPECT_FALSE(PortIsListed(QStringLiteral("COM7"), shown, 3));
    // A count above the list's length never reads past it.
    EXPECT_TRUE(PortIsListed(QStringLiteral("COM34"), shown, 99));
}

TEST(PortRules, TriesLeftAndStatusTexts) {
    EXPECT_EQ(TriesLeftText(0), QStringLiteral("Попыток: 3"));
    EXPECT_EQ(TriesLeftText(2), QStringLiteral("Попыток: 1"));
    EXPECT_EQ(StatusCOMText(1),
              QStringLiteral("Подключение к СОМ-порту. Пожалуйста, подождите..."));
    EXPECT_EQ(StatusCOMText(2), QStringLiteral("При подключении к СОМ-порту возникли проблемы!!"));
    EXPECT_TRUE(StatusCOMText(3).isEmpty());
}

TEST(PortRules, SlowAttemptLimitsInWholeSeconds) {
    EXPECT_FALSE(OpenAttemptIsSlow(1, 100, 105));
    EXPECT_TRUE(OpenAttemptIsSlow(1, 100, 106));
    EXPECT_FALSE(OpenAttemptIsSlow(2, 100, 103));
    EXPECT_TRUE(OpenAttemptIsSlow(2, 100, 104));
    // Over midnight the difference is negative: timely.
    EXPECT_FALSE(OpenAttemptIsSlow(1, 86399, 2));
}

TEST(PortRules, SecondsOfDayClockCanBeReplaced) {
    SetSecondsOfDayClock([] { return 4242; });
    EXPECT_EQ(SecondsOfDay(), 4242);
    SetSecondsOfDayClock({});
    const int now = SecondsOfDay();
    EXPECT_GE(now, 0);
    EXPECT_LT(now, 86400);
}

TEST(PortRules, OpeningVerdictsAndMessages) {
    EXPECT_EQ(JudgeOpenResult(2, false), TOpenVerdict::Missing);
    EXPECT_EQ(JudgeOpenResult(123, false), TOpenVerdict::Missing);
    EXPECT_EQ(JudgeOpenResult(5, false), TOpenVerdict::Busy);
    EXPECT_EQ(JudgeOpenResult(31, false), TOpenVerdict::Reserved);
    EXPECT_EQ(JudgeOpenResult(0, true), TOpenVerdict::Open);
    // An error met after connecting (a line setting) leaves the port usable.
    EXPECT_EQ(JudgeOpenResult(7, true), TOpenVerdict::Open);
    // Whatever the code, a port that did not connect is not open.
    EXPECT_EQ(JudgeOpenResult(87, false), TOpenVerdict::Failed);
    EXPECT_EQ(JudgeOpenResult(0, false), TOpenVerdict::Failed);

    EXPECT_EQ(OpenVerdictMessage(TOpenVerdict::Missing, 2, {}),
              QStringLiteral("СОМ-порт в системе отсутствует"));
    EXPECT_EQ(OpenVerdictMessage(TOpenVerdict::Busy, 5, {}),
              QStringLiteral("СОМ-порт занят другим процессом"));
    EXPECT_EQ(OpenVerdictMessage(TOpenVerdict::Reserved, 31, {}),
              QStringLiteral("СОМ-порт зарезервирован как виртуальный"));
    EXPECT_TRUE(OpenVerdictMessage(TOpenVerdict::Open, 0, {}).isEmpty());
    EXPECT_EQ(OpenVerdictMessage(TOpenVerdict::Failed, 87, QStringLiteral("Invalid argument")),
              QStringLiteral("СОМ-порт открыть не удалось (ошибка 87): Invalid argument"));
}

TEST(PortRules, TraceNamesDeviceReasonAndUsualCause) {
    EXPECT_EQ(OpenTraceText(QStringLiteral("COM3"), QStringLiteral("/dev/pts/4"), 0, {}),
              QStringLiteral("OpenNewPort: COM3 = /dev/pts/4"));
    const QString denied = OpenTraceText(QStringLiteral("COM34"), QStringLiteral("/dev/ttyUSB0"), 5,
                                         QStringLiteral("Permission denied"));
    EXPECT_TRUE(denied.startsWith(
        QStringLiteral("OpenNewPort: COM34 = /dev/ttyUSB0, ошибка 5: Permission denied (")))
        << denied.toStdString();
    EXPECT_TRUE(denied.contains(QStringLiteral("dialout")));
    EXPECT_TRUE(denied.contains(QStringLiteral("ModemManager")));
    const QString unmapped =
        OpenTraceText(QStringLiteral("COM9"), {}, 2, QStringLiteral("no device is mapped to COM9"));
    EXPECT_TRUE(unmapped.startsWith(
        QStringLiteral("OpenNewPort: COM9 = ?, ошибка 2: no device is mapped to COM9 (")));
}
