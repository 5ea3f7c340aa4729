// The program's windows as at start-up on the real line: the engine on a
// pseudo-terminal, a simulated unit at the other end, the archive empty and
// the object of the job set. Short exchange settings unless the line is
// paced as a 9600 baud line (the bench's packets must meet the watch so).
#pragma once

#include "archive/archive_recorder.h"
#include "devices/qv4m/qv4m_registers.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "shell/app_globals.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "support/recording_interaction.h"

#include "sim_server.h"

#include <QFile>
#include <QLocale>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

class ProgramLineTest : public ::testing::Test {
public:
    void start(std::unique_ptr<sim::SimUnit> unit, QWidget* (*tab)(), bool paced = false) {
        QLocale::setDefault(QLocale::c());
        ExchangeState.Reset();
        ResetAppGlobals();
        ResetExchangeSettings();
        ResetQv4mRegisters();
        ResetProgramArchive();
        for (const char* part : {"", "-wal", "-shm"})
            QFile::remove(ArchiveFilePath() + QLatin1String(part));
        server = std::make_unique<sim::SimServer>(std::move(unit));
        if (!paced)
            server->setLineRate(0);
        const QString com = server->start();
        ASSERT_FALSE(com.isEmpty()) << server->errorString().toStdString();
        CreateAppWindows(false);
        Relcon4->prActivateMasterForm(nullptr);
        Relcon4->CrashComTimer->stop();
        ExchangeState.PortName[0] = com;
        ExchangeState.NumOfRepeat = 1;
        if (!paced) {
            TimeOut = 300;
            PreSendPause = 5;
        }
        Relcon4->PageControl1->setCurrentWidget(tab());
        SetArchiveObject(QStringLiteral("Школа 5"), false);
    }
    void TearDown() override {
        DestroyAppWindows();
        server.reset();
        ResetProgramArchive();
        ResetQv4mRegisters();
        ResetExchangeSettings();
        ExchangeState.Reset();
    }

    RecordingInteraction user;
    std::unique_ptr<sim::SimServer> server;
};

inline QWidget* Ro4dTab() {
    return Relcon4->TabSheet1;
}
inline QWidget* Ri1rTab() {
    return Relcon4->TabSheet2;
}
inline QWidget* BenchTab() {
    return Relcon4->TabSheet4;
}
