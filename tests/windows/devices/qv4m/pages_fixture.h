// The program's windows with the RO-4D pages, activated as at start-up.
#pragma once

#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/qv4m_registers.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

class Qv4mPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetQv4mRegisters();
        CreateAppWindows(false);
        Relcon4->prActivateMasterForm(nullptr);
        pages = Qv4mPagesOf(Relcon4);
        ASSERT_TRUE(pages);
        modeTab = Relcon4->TabSheet3;
        timesTab = Relcon4->TabSheet6;
        showTab(modeTab);
    }
    void TearDown() override {
        DestroyAppWindows();
        ResetQv4mRegisters();
    }

    void showTab(QWidget* tab) {
        Relcon4->PageControl1->setCurrentWidget(tab);
        QCoreApplication::processEvents();
    }

    // Controls are looked up on the pages: other windows reuse names like CheckBox1.
    template <typename T = QAbstractButton> T* on(const char* name) const {
        T* w = modeTab->findChild<T*>(QLatin1String(name));
        if (!w)
            w = timesTab->findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    bool checked(const char* name) const { return on(name)->isChecked(); }
    bool enabled(const char* name) const { return on<QWidget>(name)->isEnabled(); }
    QString text(const char* name) const { return on<QLineEdit>(name)->text(); }
    void setText(const char* name, const QString& t) { on<QLineEdit>(name)->setText(t); }

    // A click as the user makes it, on the box itself (not the empty end of a wide control).
    void click(const char* name) {
        QAbstractButton* b = on(name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->height() / 2, b->height() / 2));
    }
    void clickItem(const char* group, int item) {
        const QString name = QLatin1String(group) + QStringLiteral("_Item") + QString::number(item);
        click(name.toLatin1().constData());
    }
    // Moves a combo's choice with the arrow keys, as the keyboard does.
    void stepCombo(const char* name, int steps) {
        auto* combo = on<QComboBox>(name);
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(combo, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }

    TQv4mPages* pages = nullptr;
    QWidget* modeTab = nullptr;
    QWidget* timesTab = nullptr;
};
