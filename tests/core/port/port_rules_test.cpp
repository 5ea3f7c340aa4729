#include "port/port_rules.h"

#include <gtest/gtest.h>

TEST(PortRules, SlowAttemptLimitsInWholeSeconds) {
    EXPECT_FALSE(OpenAttemptIsSlow(1, 100, 105));
    EXPECT_TRUE(OpenAttemptIsSlow(1, 100, 106));
    EXPECT_FALSE(OpenAttemptIsSlow(2, 100, 103));
    EXPECT_TRUE(OpenAttemptIsSlow(2, 100, 104));
    // Over midnight the difference is negative: timely.
    EXPECT_FALSE(OpenAttemptIsSlow(1, 86399, 2));
}

TEST(PortRules, OpeningVerdictsAndMessages) {
    EXPECT_EQ(JudgeOpenResult(2, false), TOpenVerdict::Missing);
    EXPECT_EQ(JudgeOpenResult(123, false), TOpenVerdict::Missing);
    EXPECT_EQ(JudgeOpenResult(5, false), TOpenVerdict::Busy);
    EXPECT_EQ(JudgeOpenResult(1314, false), TOpenVerdict::NoAccess);
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
    EXPECT_EQ(
        OpenVerdictMessage(TOpenVerdict::NoAccess, 1314, {}),
        QStringLiteral("Нет прав на СОМ-порт: добавьте пользователя в группу, которой "
                       "принадлежит устройство (обычно dialout), и войдите в систему заново"));
    EXPECT_EQ(OpenVerdictMessage(TOpenVerdict::Reserved, 31, {}),
              QStringLiteral("СОМ-порт зарезервирован как виртуальный"));
    EXPECT_TRUE(OpenVerdictMessage(TOpenVerdict::Open, 0, {}).isEmpty());
    EXPECT_EQ(OpenVerdictMessage(TOpenVerdict::Failed, 87, QStringLiteral("Invalid argument")),
              QStringLiteral("СОМ-порт открыть не удалось (ошибка 87): Invalid argument"));
}

TEST(PortRules, TraceNamesDeviceReasonAndUsualCause) {
    EXPECT_EQ(OpenTraceText(QStringLiteral("COM3"), QStringLiteral("/dev/pts/4"), 0, {}),
              QStringLiteral("OpenNewPort: COM3 = /dev/pts/4"));
    const QString denied = OpenTraceText(QStringLiteral("COM34"), QStringLiteral("/dev/ttyUSB0"),
                                         1314, QStringLiteral("Permission denied"));
    EXPECT_TRUE(denied.startsWith(
        QStringLiteral("OpenNewPort: COM34 = /dev/ttyUSB0, ошибка 1314: Permission denied")))
        << denied.toStdString();
    const QString held = OpenTraceText(QStringLiteral("COM34"), QStringLiteral("/dev/ttyUSB0"), 5,
                                       QStringLiteral("Resource temporarily unavailable"));
#ifndef Q_OS_WIN
    // The Linux causes (the Windows ones: WindowsPorts.OpenTraceNamesOnlyWindowsCauses).
    EXPECT_TRUE(denied.contains(QStringLiteral("Permission denied (")) &&
                denied.contains(QStringLiteral("dialout")))
        << denied.toStdString();
    EXPECT_TRUE(held.contains(QStringLiteral("ModemManager"))) << held.toStdString();
#endif
    const QString unmapped =
        OpenTraceText(QStringLiteral("COM9"), {}, 2, QStringLiteral("no device is mapped to COM9"));
    EXPECT_TRUE(unmapped.startsWith(
        QStringLiteral("OpenNewPort: COM9 = ?, ошибка 2: no device is mapped to COM9 (")));
}
