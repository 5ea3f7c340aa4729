// Program-wide values of the shell.
#pragma once

#include <QString>
#include <cstdint>

struct TPcDate {
    std::uint16_t Day = 0;
    std::uint16_t Month = 0;
    std::uint16_t Year = 0;
};

// Baud rate given to the serial port as a custom rate.
extern int CustomBaud;
// The executable's folder with a trailing '/'; empty until activation.
extern QString ExeDir;
// The PC's local date, taken once at activation.
extern TPcDate PcDate;

// The folder of the running executable, with a trailing '/'.
QString ExecutableDir();
// Back to the values before activation; for tests.
void ResetAppGlobals();
