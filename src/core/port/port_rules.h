// Plain rules of choosing and opening a port: the display form of a port
// name, how long an opening attempt may take, and what an opening error means.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// "COM3" shows as "COM 3": one space before the fourth character (appended to
// a shorter name, so an empty name shows as a single space).
QString PortDisplayName(const QString& storedName);
// A name as stored: a space in the fourth place is dropped ("COM 10" gives COM10).
QString PortStoredName(const QString& name);
// The stored form of a port name as a user may type it: COM1 to COM96, in any
// case, with or without the space of the display form ("com 5" gives COM5);
// empty for anything else. The port component would take such a name for
// COM1, so it must never get one.
QString ComPortName(const QString& typed);
// A port with what stands behind it: "COM 34 — /dev/ttyUSB1, FTDI FT232R USB UART,
// A1B2C3"; the display form alone when nothing is known.
QString PortTitle(const QString& shownName, const QString& details);
// True when the display form of name is among the first count entries of shown.
bool PortIsListed(const QString& name, const QStringList& shown, int count);
// The text of the tries label: "Попыток: " and the tries left of three.
QString TriesLeftText(std::uint8_t triesUsed);
// Beside it, so the two counts are not taken for one another: what the tries
// above count, and how often the exchange settings repeat a request.
QString TriesToolTip(std::int32_t requestAttempts);

// Whole seconds since midnight, by default from the local time of day; tests
// install their own clock (an empty one restores the real time).
using TSecondsClock = std::function<int()>;
void SetSecondsOfDayClock(TSecondsClock clock);
int SecondsOfDay();
// An attempt is slow when it took more than 5 s (attempt 1) or 3 s (attempt 2).
bool OpenAttemptIsSlow(int attempt, int startSec, int endSec);

// What the result check of an opening makes of the port's error code.
enum class TOpenVerdict {
    Open,     // counts as open
    Missing,  // 2, 123: "СОМ-порт в системе отсутствует"
    Busy,     // 5: "СОМ-порт занят другим процессом"
    NoAccess, // 1314: no rights to the device (the user is not in its group)
    Reserved, // 31: "СОМ-порт зарезервирован как виртуальный"
    Failed,   // any other code on a port that did not connect
};
// connected tells whether the port component really holds the device; a
// failed open never counts as open, whatever its code.
TOpenVerdict JudgeOpenResult(std::uint32_t code, bool connected);
// The plain message for a verdict, empty for Open. reason names the system's
// cause for the Failed case.
QString OpenVerdictMessage(TOpenVerdict verdict, std::uint32_t code, const QString& reason);
// The grey log trace of one connection: the port, the device behind it and,
// after a failure, the code, the system's reason and a hint at the usual cause.
QString OpenTraceText(const QString& portName, const QString& devicePath, std::uint32_t code,
                      const QString& reason);

// The port status window's text for a message number (1 connecting, 2
// problems while connecting); empty for an unknown one.
QString StatusCOMText(std::uint8_t bNumStatus);
