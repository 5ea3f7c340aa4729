// Every RI1-R command against every fault on the line.
#include "line_fixture.h"

#include "devices/qv1/qv1_link.h"
#include "devices/qv1m/qv1_frame.h"
#include "devices/qv1m/qv1m_page.h"
#include "platform/clock.h"
#include "ri1r_unit.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"

#include <QAbstractButton>

namespace line {
namespace {

const QString kDone = QStringLiteral("Статус: успешно");
const QString kNotDone = QStringLiteral("Статус: не выполнено");
const QString kBadParameters = QStringLiteral("Статус: ошибки в параметрах");
const QString kWriteErrors = QStringLiteral("Статус: возникли ошибки при записи");

// Session replies: "s", the seven modes ("o"), then "p" and "r"; the shown
// mode's edits are filled once all seven have come (reply 7), the fault
// delays by "p" (reply 8). The whole-set write: "s", seven mode writes, "i",
// "0", "d" or "t", "q". Faults hit the session's fourth mode, the settings
// write's "0" and the whole set's second mode write.
const std::vector<LineCommand> kCommands{
    {"SessionStart",
     "Button5",
     10,
     8,
     4,
     false,
     kDone,
     QStringLiteral("Статус: ошибки связи"),
     {},
     {{"edTonM1", 7}, {"edTimeErrK1", 8}}},
    {"WriteMode", "Button6", 1, 24, 0, true, kDone, kNotDone, kBadParameters, {}},
    {"WriteSettings", "Button7", 3, 10, 1, true, kDone, kNotDone, kBadParameters, {}},
    // The date write reports a failed exchange as a parameter error too.
    {"WriteDate", "Button8", 1, 6, 0, true, kDone, kBadParameters, kBadParameters, {}},
    {"EndSession", "Button9", 1, 4, 0, false, kDone, kNotDone, {}, {}},
    {"EndAndRestart", "Button10", 1, 4, 0, false, kDone, kNotDone, {}, {}},
    {"SwitchMode", "Button13", 1, 4, 0, false, kDone, kNotDone, {}, {}},
    {"WriteWholeSet", "Button16", 12, 24, 2, true, kDone, kWriteErrors, kWriteErrors, {}},
};

class Ri1rOnLine : public LineFixture {
protected:
    static void SetUpTestSuite() {
        sessionSeen_ = false;
        StartLine(std::make_unique<sim::Ri1rUnit>());
    }
    static void TearDownTestSuite() {
        StopLine();
        ResetQv1Line();
    }

    QList<QWidget*> roots() const override { return {Relcon4->TabSheet2}; }
    const char* statusLabel() const override { return "StatusLabel2"; }
    std::vector<TypedEntry> entries() const override {
        return {{"edTonM1", QStringLiteral("4321")}, {"edTimeErrK1", QStringLiteral("9")}};
    }
    const LineCommand& quickCommand() const override { return kCommands[6]; }
    void prepare(const LineCommand& command) override {
        // The session controls come with a session start on the page; once
        // the suite has had one, a lost session (an end of session that got
        // no answer turns them off) is given back as a session start would.
        if (!sessionSeen_) {
            press("Button5");
            ASSERT_EQ(status(), kDone);
            sessionSeen_ = true;
        }
        if (!button("Button6")->isEnabled())
            Relcon4->findChild<TQv1mPage*>()->prQV1ControlsOn();
        if (qstrcmp(command.button, "Button8") == 0 || qstrcmp(command.button, "Button16") == 0) {
            // A unit without its release date, as the page last read it (a
            // unit refuses a second date).
            Relcon4->sInitDate = QStringLiteral("00.00.00");
            ASSERT_TRUE(server().unit<sim::Ri1rUnit>()->setReleaseDate(QStringLiteral("00.00.00")));
        }
        // The unit still in the session the page opened (an end of session
        // or a restart before closed it).
        auto unit = server().unit<sim::Ri1rUnit>();
        if (!unit->inSession()) {
            unit->feed(Qv1StartSessionRequest().frame, platform::TickCount());
            unit->clearRequests();
        }
    }

    static bool sessionSeen_;
};

bool Ri1rOnLine::sessionSeen_ = false;

TEST_P(Ri1rOnLine, EndsInItsStatusAndKeepsTheEntries) {
    runCase();
}

INSTANTIATE_TEST_SUITE_P(Commands, Ri1rOnLine, ::testing::ValuesIn(Cases(kCommands)), CaseName);

} // namespace
} // namespace line
