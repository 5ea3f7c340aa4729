// The program's windows on a real pseudo-terminal with a simulated unit at
// the other end, shared by the cases of one page: each case types its entries,
// sets one fault, presses one button, checks the page, the port and the
// entries, then clears the fault and shows that the same command works again.
#pragma once

#include "line_faults.h"
#include "sim_server.h"
#include "support/recording_interaction.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <chrono>
#include <memory>

class QAbstractButton;
class QLineEdit;

namespace line {

// A distinctive value the user typed into an editor before the command.
struct TypedEntry {
    const char* editor;
    QString text;
};

// How one button press went.
struct Press {
    int elapsedMs = 0;
    int ticks = 0; // a 0 ms timer's runs while the command ran: the event loop's passes
};

class LineFixture : public ::testing::TestWithParam<FaultCase> {
protected:
    // Windows, the unit's server and the exchange settings of every case.
    // Time-outs of the suite: for a command meant to fail, and for the rest;
    // the bench's watch takes its packets with one short time-out for both.
    static void StartLine(std::unique_ptr<sim::SimUnit> unit, int missTimeOutMs = kMissTimeOutMs,
                          int replyTimeOutMs = kReplyTimeOutMs);
    static void StopLine();
    static sim::SimServer& server();
    static RecordingInteraction& user();

    // Where the page's controls live (the main window's tabs).
    virtual QList<QWidget*> roots() const = 0;
    virtual const char* statusLabel() const = 0;
    // What the user typed before the command (kept unless a reply fills it).
    virtual std::vector<TypedEntry> entries() const = 0;
    // Brings page and unit to where the command can be given (a read before a write...).
    virtual void prepare(const LineCommand& command) = 0;
    // A one-exchange command of the page: after a longer command's fault it
    // shows that port and unit work again.
    virtual const LineCommand& quickCommand() const = 0;

    template <typename T> T* find(const char* name) const;
    QAbstractButton* button(const char* name) const;
    QLineEdit* edit(const char* name) const;
    QString status() const;
    void type(const char* editor, const QString& text);
    // Presses the button the way a user does and times the command's run.
    Press press(const char* name);
    void addFault(LineFault fault, int after, int attempts = kAttempts);
    // The time-out the command of this case runs with.
    static int TimeOutFor(const LineCommand& command, LineFault fault);
    // True once the unit has nothing more on its way (a late reply, a tail).
    bool waitQuiet();

    // The whole case: the four checks and the recovery.
    void runCase();
    // After the fault: the unit answers again, the line is back, a marked port recovered.
    void recover(LineFault fault);
    void expectIdle(const char* when);
};

template <typename T> T* LineFixture::find(const char* name) const {
    for (QWidget* root : roots())
        if (T* w = root->findChild<T*>(QLatin1String(name)))
            return w;
    ADD_FAILURE() << "no control " << name;
    return nullptr;
}

} // namespace line
