// Program-wide state of the exchange log: the ring of the last 400 lines with
// their colours, the running number of byte lines, and the next status line.
// Any part of the program writes a status line by setting AnalyzeLog.sStr and
// calling MonitorForm->prStatusAsStrToLog(colour).
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// Line colours keep the Windows form 0x00BBGGRR, so 0x0000FF is red.
using TLogColor = std::uint32_t;
inline constexpr TLogColor clLogBlack = 0x000000;  // stitching notes
inline constexpr TLogColor clLogRed = 0x0000FF;    // failures
inline constexpr TLogColor clLogGreen = 0x008000;  // decoded bench packets
inline constexpr TLogColor clLogGrey = 0x808080;   // port-opening traces, shown in debug mode only
inline constexpr TLogColor clLogViolet = 0xA00050; // retry notes
inline constexpr TLogColor clLogBlue = 0xFF0000;   // request row of a command entry
inline constexpr TLogColor clLogPurple = 0x800080; // reply row of a command entry

inline constexpr int kLogLines = 400;
// Byte lines are numbered 1..32000, then from 1 again.
inline constexpr int kLogLineNoLimit = 32000;

struct TAnalyzeLog {
    QString sStr;
    int iVal = 0;
    // Append " : " and iVal to the line; cleared once the line is written.
    bool fWithIntVal = false;
};

extern TAnalyzeLog AnalyzeLog;
extern std::array<QString, kLogLines> LogLines;
extern std::array<TLogColor, kLogLines> LogLineColor;
// Colour of each list row as last filled.
extern std::array<TLogColor, kLogLines> LogViewColor;
// Local time each line was made, ms since the epoch (0 for an empty line).
extern std::array<qint64, kLogLines> LogLineTime;
// Order in which the lines were made: a request counts before its reply even
// where the list order stores the reply first.
extern std::array<std::uint64_t, kLogLines> LogLineSeq;
extern std::uint64_t LogSeqCounter;
// The ring index behind each list row as last filled (-1: none).
extern std::array<int, kLogLines> LogViewSlot;
// Where the next line goes.
extern std::uint16_t LogWritePos;
extern int LogLineNo;

// Called after the user changed a log option that the settings file keeps;
// the program points it at its settings writer.
extern std::function<void()> OnLogOptionsChanged;

// Empty ring, black colours, numbering from the start; for creation and tests.
void ResetLogState();

// Advances LogLineNo (back to 1 once it has reached 32000) and returns it.
int NextLogLineNo();

// Moves LogWritePos on by count lines, round the ring.
void AdvanceLogWritePos(int count);

// The list rows as the log shows them, given where the newest line is:
// newest first rewrites all 400 rows, empty ones included; oldest first copies
// only the non-empty lines from the top and leaves the rows below as they were.
// LogViewColor and LogViewSlot follow the rows.
void FillLogRows(int newest, bool oldestFirst, std::array<QString, kLogLines>& rows);
// Empties every row, after the ring has been emptied.
void ClearLogRows(std::array<QString, kLogLines>& rows);
