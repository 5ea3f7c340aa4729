// The commands page as laid out on the first tab, before any command.
#include "pages_fixture.h"

#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/stat_err_form.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

TEST_F(Qv4mPagesTest, CommandsPageHoldsTheShellButtonsAndItsOwnControls) {
    Relcon4->show();
    showTab(Relcon4->TabSheet1);
    QWidget* tab = Relcon4->TabSheet1;
    TQv4mCommandsPage* page = Qv4mCommandsOf(Relcon4);
    ASSERT_TRUE(page);
    for (QWidget* shell :
         {static_cast<QWidget*>(Relcon4->Button1), static_cast<QWidget*>(Relcon4->LogButton),
          static_cast<QWidget*>(Relcon4->ParamComButton),
          static_cast<QWidget*>(Relcon4->sLabel4)}) {
        EXPECT_TRUE(tab->isAncestorOf(shell)) << shell->objectName().toStdString();
        EXPECT_TRUE(shell->isVisible()) << shell->objectName().toStdString();
    }
    auto* label31 = tab->findChild<QLabel*>(QStringLiteral("Label31"));
    ASSERT_TRUE(label31);
    EXPECT_LT(label31->mapTo(tab, QPoint()).y(), Relcon4->Button1->mapTo(tab, QPoint()).y());
    EXPECT_LT(Relcon4->Button1->mapTo(tab, QPoint()).y(),
              tab->findChild<QWidget*>(QStringLiteral("RdDataButton"))->mapTo(tab, QPoint()).y());

    EXPECT_EQ(page->StatusLabel1()->text(), QStringLiteral("Статус: ..."));
    EXPECT_TRUE(page->StatusLabel1()->font().bold());
    EXPECT_FALSE(tab->findChild<QPushButton*>(QStringLiteral("WrDataButton"))->isEnabled());
    EXPECT_FALSE(tab->findChild<QPushButton*>(QStringLiteral("SaveToFlashButton"))->isEnabled());
    auto* hidden = tab->findChild<QPushButton*>(QStringLiteral("Button2"));
    EXPECT_EQ(hidden->text(), QStringLiteral("Save all settings to file"));
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_EQ(tab->findChild<QLabel*>(QStringLiteral("Label35"))->text(),
              QStringLiteral("4б. Зафиксируйте изменения в ПЗУ устройства "));
    EXPECT_LE(tab->minimumSizeHint().height(), tab->height());
    // Word-wrapped texts get the height they need.
    for (QLabel* l : tab->findChildren<QLabel*>()) {
        if (l->wordWrap() && l->isVisible()) {
            EXPECT_GE(l->height(), l->heightForWidth(l->width())) << l->objectName().toStdString();
        }
    }

    const QString dir = qEnvironmentVariable("RELCON4_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(Relcon4->grab().save(QDir(dir).filePath("ro4d-commands-page.png")));
    }
}

TEST_F(Qv4mPagesTest, StatusWindowShowsAndClearsBits) {
    ASSERT_TRUE(StatErrForm);
    EXPECT_EQ(StatErrForm->windowTitle(), QStringLiteral("Текущие статусы и ошибки"));
    const auto groups = StatErrForm->findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 3);
    for (QGroupBox* g : groups)
        EXPECT_FALSE(g->isEnabled()) << "display only";
    StatErrForm->prSetCB(0xFFFF, 0xFFFF, 0xFF);
    int ticked = 0;
    for (QCheckBox* b : StatErrForm->findChildren<QCheckBox*>())
        ticked += b->isChecked();
    EXPECT_EQ(ticked, 25);
    StatErrForm->prSetCB(0x2000, 0, 0x08);
    EXPECT_TRUE(StatErrForm->findChild<QCheckBox*>(QStringLiteral("CheckBox12"))->isChecked());
    EXPECT_TRUE(StatErrForm->findChild<QCheckBox*>(QStringLiteral("CheckBox16"))->isChecked());
    StatErrForm->prClearCB();
    for (QCheckBox* b : StatErrForm->findChildren<QCheckBox*>())
        EXPECT_FALSE(b->isChecked());
    StatErrForm->show();
    StatErrForm->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_FALSE(StatErrForm->isVisible());
}

TEST_F(Qv4mPagesTest, ASetBitReadsPlainlyThoughTheWindowIsReadOnly) {
    auto* box = StatErrForm->findChild<QCheckBox*>(QStringLiteral("CheckBox12"));
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->isEnabled());
    StatErrForm->show();
    const auto shot = [box](std::uint16_t err1) {
        StatErrForm->prSetCB(err1, 0, 0);
        return box->grab().toImage();
    };
    const QImage clear = shot(0), set = shot(0x2000);
    // The tick is what differs; it and the caption must be near black, not grey.
    int tick = 255, caption = 255;
    for (int y = 0; y < set.height(); ++y)
        for (int x = 0; x < set.width(); ++x) {
            const int grey = qGray(set.pixel(x, y));
            caption = std::min(caption, grey);
            if (set.pixel(x, y) != clear.pixel(x, y))
                tick = std::min(tick, grey);
        }
    EXPECT_LT(tick, 100);
    EXPECT_LT(caption, 100);
    StatErrForm->hide();
}
