// Entries typed since the last read are marked, "Вернуть считанное" puts the
// page back, and closing the window with such edits asks first.
#include "commands_fixture.h"

#include "shell/edit_marks.h"
#include "shell/interaction.h"
#include "shell/where_bar.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace ro4d_e2e;

TEST_F(Ro4dCommandsTest, EditsAreMarkedRevertedAndAskedAboutOnClosing) {
    click("RdDataButton");
    ASSERT_EQ(status(), QStringLiteral("Статус: выполнено"));
    QPushButton* revert = Relcon4->WhereBar->RevertButton;
    const struct {
        QWidget* tab;
        const char* edit;
        const char* typed;
    } cases[] = {
        {Relcon4->TabSheet3, "T_240_Edit", "77"},
        {Relcon4->TabSheet6, "VoltHiBtnEdit", "4.10"},
        {Relcon4->TabSheet4, "QV2_T11_Edit", "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        Relcon4->PageControl1->setCurrentWidget(c.tab);
        auto* edit = c.tab->findChild<QLineEdit*>(QLatin1String(c.edit));
        ASSERT_TRUE(edit);
        const QString before = edit->text();
        EXPECT_FALSE(revert->isEnabled());
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(c.typed));
        EXPECT_TRUE(edit->font().italic()) << "marked as typed";
        EXPECT_TRUE(revert->isEnabled());
        revert->click();
        EXPECT_EQ(edit->text(), before);
        EXPECT_FALSE(edit->font().italic());
        EXPECT_FALSE(revert->isEnabled());
    }
    // A write takes the edits to the unit: nothing left to ask about.
    Relcon4->PageControl1->setCurrentWidget(Relcon4->TabSheet3);
    auto* t240 = find<QLineEdit>("T_240_Edit");
    t240->selectAll();
    QTest::keyClicks(t240, QStringLiteral("99"));
    user.messages.clear();
    user.boxAnswers = {IDCANCEL};
    Relcon4->close();
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(user.messages[0].text.contains(QStringLiteral("RO-4D"))) << "names the page";
    EXPECT_EQ(user.messages[0].type, MB_YESNOCANCEL_ICONQUESTION);
    EXPECT_TRUE(Relcon4->isVisible()) << "Отмена keeps the window open";
    click("WrDataButton");
    ASSERT_EQ(status(), QStringLiteral("Статус: выполнено"));
    EXPECT_FALSE(t240->font().italic());
    user.messages.clear();
    Relcon4->close();
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(Relcon4->isVisible());
}
