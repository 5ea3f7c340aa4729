// A clean program state for the settings tests: default settings, no port
// names, no dialog target, and rs_m.ini in a fresh temporary folder.
#pragma once

#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "port/param_port_form.h"
#include "port/settings_file.h"
#include "shell/app_globals.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir_->isValid());
        savedOverride_ = SettingsDirOverride;
        SettingsDirOverride = dir_->path();
        ResetExchangeSettings();
        ExchangeState.Reset();
        ResetAppGlobals();
        ParamPortTarget = {};
    }
    void TearDown() override {
        SettingsDirOverride = savedOverride_;
        ParamPortTarget = {};
        ResetExchangeSettings();
        ExchangeState.Reset();
        ResetAppGlobals();
    }

    QString Folder() const { return dir_->path(); }
    QString FilePath() const { return dir_->filePath(QStringLiteral("rs_m.ini")); }
    QByteArray FileBytes() const {
        QFile file(FilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void PutFile(const QByteArray& bytes) const {
        QFile file(FilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString savedOverride_;
};
