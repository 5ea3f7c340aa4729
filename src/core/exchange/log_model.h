// The exchange log as a model that needs no windows: it writes lines into the
// program-wide ring (log_state.h), stamps each with the local time it was
// made, and holds the options that decide what gets written. The log window is
// one view of it; the command line can be another. Nothing here may include a
// Qt Widgets or Qt Gui header.
#pragma once

#include "exchange/log_state.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

// What a line is, told by its colour; the window maps colours to the screen,
// texts written out name the kind in words.
enum class TLogKind { Note, Failure, Packet, Trace, Retry, Request, Reply };

TLogKind LogKindOf(TLogColor color);
// The kind in a word, padded to one width so written lines align.
QString LogKindText(TLogKind kind);

struct TLogLine {
    QString text;
    TLogColor color = clLogBlack;
    // Local time the line was made, ms since the epoch.
    qint64 timeMs = 0;
};

// "HH:mm:ss.zzz" in local time.
QString LogTimeText(qint64 timeMs);
// One line as copied, saved or recorded: time, kind, then the text as shown.
QString LogLineForText(const TLogLine& line);
// The lines as text, one a line, each ending in lineEnd (the clipboard takes
// line feeds on every system; a saved file ends lines as the system's do).
QString LogLinesText(const QList<TLogLine>& lines, QLatin1String lineEnd = QLatin1String("\n"));

struct TLogOptions {
    // "CMD": the request/reply pairs of the exchange are written.
    bool cmdEntries = true;
    // "Debug": grey port-opening traces are written.
    bool debugLines = true;
    // The window shows the time in front of every line.
    bool showTimes = false;
};

class TLogModel : public QObject {
    Q_OBJECT
public:
    explicit TLogModel(QObject* parent = nullptr);

    // Consulted by the writers below; the window's check boxes set them.
    TLogOptions options;
    // The latency of the reply now in the exchange buffers, in ms; the owner
    // of the serial port points it at the port.
    std::function<int()> replyLatencyMs;
    // Source of the line times; tests may fix it.
    std::function<qint64()> clockMs;

    // Writes AnalyzeLog as a status line; grey lines only while debugLines.
    void prStatusAsStrToLog(TLogColor iColor);
    // Writes the characters of AnalyzeLog.sStr as a numbered byte line.
    void prStatusAsCmdToLog(TLogColor iColor, bool fToHex);
    // The writer under both; with famCmd it writes the command entry of the
    // exchange buffers. fOnlyToFile keeps grey lines and command entries out.
    void prShowLog(bool fToHex, bool famCmd, bool fOnlyToFile);
    // The command entry of the exchange just made, when cmdEntries is on.
    void prCommandToLog();
    // Empties the ring; numbering goes on.
    void Clear();

    // Every line in the ring, in the order they were made.
    QList<TLogLine> LinesOldestFirst() const;
    // The lines behind these list rows, in the order they were made.
    QList<TLogLine> RowsOldestFirst(const QList<int>& rows) const;
    // The line shown in a list row; empty for an empty row.
    TLogLine RowLine(int row) const;

    // The status line being written and its colour.
    QString sToLogStatus;
    TLogColor iColorToLogStatus = clLogBlack;

signals:
    // One line has been stored, in the order lines are made (a request
    // before its reply, whatever the list order).
    void lineAdded(const TLogLine& line);
    // The ring changed up to the newest line at this index: refill the rows.
    void ringChanged(int newest);
    // The ring was emptied.
    void cleared();

private:
    void store(int slot, const QString& text, TLogColor color, qint64 timeMs);
};

// The program's one exchange log.
TLogModel& ExchangeLog();
