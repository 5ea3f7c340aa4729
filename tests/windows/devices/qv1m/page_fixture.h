// The main window with its RI1-R page, shown headless, and a fake unit on the line.
#pragma once

#include "core/devices/qv1m/fake_unit.h"
#include "core/devices/qv1m/qstring_print.h"
#include "devices/qv1m/qv1m_page.h"
#include "exchange/exchange_state.h"
#include "shell/app_globals.h"
#include "shell/relcon4_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class Ri1rPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        ExchangeState.Reset();
        ResetAppGlobals();
        window = std::make_unique<TRelcon4>();
        window->setEnabled(true); // as after activation, without the port scan
        window->PageControl1->setCurrentWidget(window->TabSheet2);
        window->show();
        page = window->findChild<TQv1mPage*>();
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override { window.reset(); }

    template <class T> T* child(const QString& name) {
        T* w = page->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QLineEdit* edit(const QString& name) { return child<QLineEdit>(name); }
    QString text(const QString& name) {
        if (auto* e = page->findChild<QLineEdit*>(name))
            return e->text();
        return child<QLabel>(name)->text();
    }
    QString status() { return text(QStringLiteral("StatusLabel2")); }
    void click(const QString& name) {
        auto* b = page->findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        // Check boxes and radio buttons take a click on their mark or text, not anywhere in the
        // row.
        const QPoint at = b->isCheckable() ? QPoint(6, b->height() / 2) : QPoint();
        QTest::mouseClick(b, Qt::LeftButton, {}, at);
    }
    // Replaces an edit's text by typing, as the user would.
    void type(const QString& name, const QString& value) {
        QLineEdit* e = edit(name);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, value);
    }
    // Picks a list item with the arrow keys.
    void pickMode(int index) {
        auto* combo = child<QComboBox>(QStringLiteral("ComboBox2"));
        while (combo->isEnabled() && combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->isEnabled() && combo->currentIndex() > index)
            QTest::keyClick(combo, Qt::Key_Up);
    }
    bool enabled(const QString& name) {
        auto* w = page->findChild<QWidget*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w && w->isEnabled();
    }
    // A unit memory with a distinct value in every field.
    static void fillMemory(TQv1mSet& set) {
        for (int n = 0; n < kQv1ModeCount; ++n)
            for (int c = 1; c <= kQv1ChannelCount; ++c)
                set.channel(c)[static_cast<std::size_t>(n)] = {
                    static_cast<std::uint16_t>(100 * n + 10 * c + 1),
                    static_cast<std::uint16_t>(100 * n + 10 * c + 2),
                    static_cast<std::uint16_t>(100 * n + 10 * c + 3),
                    static_cast<std::uint8_t>((n + c) & 0x0F)};
        set.mQV1M_s = {10, 20, 30, 0x02, 0, 400, 401, 1023};
    }
    // A session start against the fake unit that succeeds.
    void startSession() {
        click(QStringLiteral("Button5"));
        ASSERT_EQ(status(), QStringLiteral("Статус: успешно"));
        unit.frames.clear();
        unit.opens = 0;
    }

    FakeRi1r unit;
    std::unique_ptr<TRelcon4> window;
    TQv1mPage* page = nullptr;
};
