// An entry a write would not send as typed is marked on the page, and the
// write then sends nothing: the message names every such entry.
#include "commands_fixture.h"

#include "devices/entries/entry_marks.h"

using namespace ro4d_e2e;

namespace {

const QString kFailed = QStringLiteral("Статус: ошибка");

struct TBadEntry {
    const char* edit;
    const char* text;
    const char* named; // what the message says of it
};

} // namespace

TEST_F(Ro4dCommandsOldBoardTest, MarkedEntriesKeepTheWriteOffTheLine) {
    const TBadEntry cases[] = {
        {"T_240_Edit", "99999", "T_240: введено «99999» — больше 255; допустимо от 0 до 255 сек"},
        {"T_wait_Edit", "1a,5-", "T_wait: введено «1a,5-» — не число"},
        {"T_wait_Edit", "1.5", "T_wait: введено «1.5» — нужно целое число"},
        {"T_min6a_Edit", "-1", "T_min6 (M1): введено «-1» — меньше 0"},
        {"TimeAntidrebADC_Edit", "5120",
         "Антидребезг для АЦП сигналов: введено «5120» — больше 5100"},
        {"VoltHiBtnEdit", "abc", "Линии кнопок: порог обрыва: введено «abc» — не число"},
        // Above the reference voltage on the page (5.00 V).
        {"VoltLoSigEditEdit", "5.10",
         "Линии сигналов концевиков: порог К.З.: введено «5.10» — больше"},
        {"VoltOporaEdit", "6", "Опорное напряжение: введено «6» — больше"},
        {"VoltLowTestMotorEdit", "", "Нижний предел при тесте M1/M2: введено «» — пустое поле"},
    };
    click("RdDataButton");
    ASSERT_EQ(status(), QStringLiteral("Статус: выполнено"));
    for (const TBadEntry& c : cases) {
        SCOPED_TRACE(c.edit);
        auto* edit = find<QLineEdit>(c.edit);
        const QString before = edit->text();
        EXPECT_FALSE(IsEntryMarked(edit));
        EXPECT_TRUE(edit->toolTip().startsWith(QStringLiteral("Допустимо: от ")));
        edit->setText(QString::fromUtf8(c.text));
        EXPECT_TRUE(IsEntryMarked(edit));
        unit()->clearRequests();
        user.messages.clear();
        click("WrDataButton");
        EXPECT_TRUE(unit()->requests().empty()) << "nothing reaches the line";
        EXPECT_EQ(status(), kFailed);
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_TRUE(user.messages[0].text.contains(QString::fromUtf8(c.named)))
            << user.messages[0].text.toStdString();
        expectIdle();
        edit->setText(before);
        EXPECT_FALSE(IsEntryMarked(edit));
    }
    // Valid entries write as before.
    setText("T_240_Edit", QStringLiteral("255"));
    click("WrDataButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: выполнено"));
    EXPECT_EQ(unit()->registers()[cKoncErrTime], 255);
}
