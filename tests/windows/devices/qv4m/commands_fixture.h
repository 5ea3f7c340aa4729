// The commands page against the simulated RO-4D on a real pseudo-terminal:
// the windows, the unit's server and the exchange settings of one test.
#pragma once

#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/qv4m_registers.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "port/settings_file.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "support/recording_interaction.h"

#include "ro4d_unit.h"
#include "sim_server.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace ro4d_e2e {

using sim::FaultKind;
using sim::Ro4dBoard;
using sim::Ro4dUnit;

constexpr int kReplyTimeOutMs = 300;
constexpr int kPreSendPauseMs = 5;

class Ro4dCommandsTest : public ::testing::Test {
protected:
    void start(Ro4dBoard board) {
        ASSERT_TRUE(dir.isValid());
        SettingsDirOverride = dir.path();
        ResetExchangeSettings();
        ExchangeState.Reset();
        ResetQv4mRegisters();
        CreateAppWindows(false);
        Relcon4->prActivateMasterForm(nullptr);
        // No port watchdog in these tests: the failures here are the page's.
        Relcon4->CrashComTimer->stop();
        server = std::make_unique<sim::SimServer>(std::make_unique<Ro4dUnit>(board));
        const QString com = server->start();
        ASSERT_FALSE(com.isEmpty()) << server->errorString().toStdString();
        ExchangeState.PortName[0] = com;
        TimeOut = kReplyTimeOutMs;
        PreSendPause = kPreSendPauseMs;
        page = Qv4mCommandsOf(Relcon4);
        ASSERT_TRUE(page);
    }
    void SetUp() override { start(Ro4dBoard::V2); }
    void TearDown() override {
        if (server)
            server->stop();
        DestroyAppWindows();
        ResetQv4mRegisters();
        ResetExchangeSettings();
        ExchangeState.Reset();
        SettingsDirOverride.clear();
    }

    template <typename T = QAbstractButton> T* find(const char* name) const {
        // The pages first: other windows reuse names such as Button2 and CheckBox1.
        for (QWidget* tab : {Relcon4->TabSheet1, Relcon4->TabSheet3, Relcon4->TabSheet6})
            if (T* w = tab->findChild<T*>(QLatin1String(name)))
                return w;
        ADD_FAILURE() << name;
        return nullptr;
    }
    void click(const char* name) { find(name)->click(); }
    QString text(const char* name) const { return find<QLineEdit>(name)->text(); }
    void setText(const char* name, const QString& t) { find<QLineEdit>(name)->setText(t); }
    QString status() const { return page->StatusLabel1()->text(); }
    static TQv4mPages* pages() { return Qv4mPagesOf(Relcon4); }
    sim::UnitAccess<Ro4dUnit> unit() { return server->unit<Ro4dUnit>(); }
    void addFault(FaultKind kind, int after = 0, int count = -1) {
        sim::Fault f;
        f.kind = kind;
        f.after = after;
        f.count = count;
        unit()->faults().add(f);
    }
    // How many requests with this command code the unit received.
    int requestsOf(std::uint8_t command) {
        int n = 0;
        for (const auto& r : unit()->requests())
            n += r.size() > 2 && r[2] == command;
        return n;
    }
    void expectIdle() const {
        EXPECT_FALSE(Relcon4->fBlockPressKey);
        EXPECT_FALSE(Relcon4->fNotSetCheckBoxs);
        EXPECT_FALSE(ExchangeState.PortOpen[0]) << "the port is open only during a command";
    }

    QTemporaryDir dir;
    RecordingInteraction user;
    std::unique_ptr<sim::SimServer> server;
    TQv4mCommandsPage* page = nullptr;
};

class Ro4dCommandsOldBoardTest : public Ro4dCommandsTest {
protected:
    void SetUp() override { start(Ro4dBoard::V1); }
};

} // namespace ro4d_e2e

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
