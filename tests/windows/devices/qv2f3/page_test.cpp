#include "devices/qv2f3/qv2f3_page.h"

#include "core/devices/qv2f3/bench_bytes.h"
#include "core/devices/qv2f3/fake_bench.h"

#include "devices/entries/entry_marks.h"
#include "exchange/exchange_state.h"
#include "shell/relcon4_window.h"
#include "support/recording_interaction.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv2f3;

namespace {

class BenchPage : public ::testing::Test {
protected:
    void SetUp() override {
        ExchangeState.Reset();
        page.resize(664, 690);
    }
    QString text(const char* name) const { return page.findChild<QLineEdit*>(name)->text(); }
    bool checked(const char* name) const { return page.findChild<QCheckBox*>(name)->isChecked(); }
    QString status() const { return page.findChild<QLabel*>("StatusLabel3")->text(); }
    QPushButton* button(const char* name) const { return page.findChild<QPushButton*>(name); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void setEdit(const char* name, const QString& t) {
        page.findChild<QLineEdit*>(name)->setText(t);
    }

    bool block = false;
    TQv2f3Page page{block};
    // The page's line: the bench behind the service's QV1 line.
    FakeBench bench;
};

const char* const kSettingEdits[] = {"QV2_T11_Edit", "QV2_T12_Edit", "QV2_T13_Edit",
                                     "QV2_T21_Edit", "QV2_T22_Edit", "QV2_T23_Edit"};
const char* const kCommandButtons[] = {"QV2_cmd00_Button", "QV2_cmd01_Button", "QV2_cmd02_Button",
                                       "QV2_cmd03_Button", "QV2_cmd04_Button", "QV2_cmd05_Button",
                                       "QV2_cmd06_Button", "QV2_cmd80_Button"};

} // namespace

TEST_F(BenchPage, StartsWithItsCaptionsAndDefaults) {
    EXPECT_EQ(page.findChild<QLabel*>("QV2MverLabel")->text(), "Устройство: ?");
    EXPECT_EQ(status(), "Статус: ...");
    EXPECT_TRUE(button("QV2_start_Button")->isEnabled());
    EXPECT_FALSE(button("QV2_stop_Button")->isEnabled());
    for (const char* name : kCommandButtons)
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    for (const char* name : kSettingEdits)
        EXPECT_TRUE(text(name).isEmpty()) << name;
    for (int place = 1; place <= 2; ++place) {
        EXPECT_FALSE(
            page.findChild<QWidget*>(QStringLiteral("Place%1GroupBox").arg(place))->isEnabled());
        for (const QString& name : PresetFieldNames(place))
            EXPECT_EQ(page.findChild<QLineEdit*>(name)->text(), "0") << name.toStdString();
        for (const QString& name : MeasuredFieldNames(place)) {
            auto* edit = page.findChild<QLineEdit*>(name);
            EXPECT_EQ(edit->text(), "0");
            EXPECT_TRUE(edit->isReadOnly());
            EXPECT_EQ(edit->alignment(), Qt::AlignCenter);
        }
    }
    for (const char* name :
         {"U1hhEdit", "U2hhEdit", "U1izmEdit", "U2izmEdit", "I1izmEdit", "I2izmEdit"})
        EXPECT_EQ(text(name), "0.00") << name;
}

TEST_F(BenchPage, ShowsDecodedPacketsAndLogsThemGreen) {
    page.onPacket({0x53, 0x01, 0x10, 0x64});
    page.onPacket({0x75, 0x05, 0x07, 0x0C, 0x32, 0xBF});
    page.onPacket(withSum({'t', 1, 2, 3, 4, 5, 6, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    page.onPacket(withSum({'T', 0x32, 0xD2, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(checked("CB1_noPlate"));
    EXPECT_FALSE(checked("CB1_noConn"));
    EXPECT_FALSE(checked("CB2_noPlate"));
    EXPECT_TRUE(checked("CB2_noConn"));
    EXPECT_EQ(text("U1hhEdit"), "5.07");
    EXPECT_EQ(text("U2hhEdit"), "12.50");
    EXPECT_EQ(text("U1izmEdit"), "0.00");
    EXPECT_EQ(text("T1Zauto12Edit"), "6");
    EXPECT_EQ(text("T2Zon11Edit"), "-");
    EXPECT_EQ(text("T2Ion11Edit"), " 12.34");
    EXPECT_EQ(text("T1Ion11Edit"), "0");
    ASSERT_EQ(bench.log.size(), 4u);
    EXPECT_EQ(bench.log[0].text, "CRC-ok, к.1 : 01, к.2 : 10");
    EXPECT_EQ(bench.log[1].text, "CRC-ok, U1 = 5.07V, U2 = 12.50V");
    for (const auto& line : bench.log) {
        EXPECT_EQ(line.color, 0x008000);
        EXPECT_TRUE(line.text.startsWith("CRC-")) << "a status line, not a byte line";
    }
}

TEST_F(BenchPage, SessionReadsIdentAndSettings) {
    bench.replies.push_back(TMasBytes{0x08, 0x73, 'Z', 'E', '2', '-', 'R', 0x3E});
    bench.replies.push_back(TMasBytes{0x09, 0x52, 1, 2, 3, 4, 5, 200, 0x3E});
    click("Button17");
    ASSERT_EQ(bench.sent.size(), 2u);
    EXPECT_EQ(bench.sent[0], (TMasBytes{0x08, 0x73, 0x52, 0x34, 0x43, 0x46, 0x47, 0x3C}));
    EXPECT_EQ(bench.sent[1], (TMasBytes{0x03, 0x52, 0x3C}));
    EXPECT_EQ(bench.opens, (std::vector<bool>{true, false}));
    EXPECT_EQ(page.findChild<QLabel*>("QV2MverLabel")->text(), "Устройство: ZE2-R");
    const char* values[] = {"1", "2", "3", "4", "5", "200"};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(text(kSettingEdits[k]), values[k]) << kSettingEdits[k];
    EXPECT_EQ(status(), "Статус: успешно");
    EXPECT_FALSE(block);

    // A silent unit: the label falls back, the edits keep their values.
    bench.replies.push_back(std::nullopt);
    click("Button17");
    EXPECT_EQ(page.findChild<QLabel*>("QV2MverLabel")->text(), "Устройство: ?");
    EXPECT_EQ(text("QV2_T23_Edit"), "200");
    EXPECT_EQ(status(), "Статус: ошибки связи");

    // A reply one byte short fails the settings read.
    bench.replies.push_back(TMasBytes{0x08, 0x73, 'A', 'B', 'C', 'D', 'E', 0x3E});
    bench.replies.push_back(TMasBytes{0x09, 0x52, 9, 9, 9, 9, 9, 9});
    click("Button17");
    EXPECT_EQ(page.findChild<QLabel*>("QV2MverLabel")->text(), "Устройство: ABCDE");
    EXPECT_EQ(text("QV2_T11_Edit"), "1");
    EXPECT_EQ(status(), "Статус: ошибки связи");
}

TEST_F(BenchPage, RereadEmptiesThenFillsOrStaysEmpty) {
    setEdit("QV2_T11_Edit", "77");
    click("QV2_RereadButton");
    EXPECT_TRUE(text("QV2_T11_Edit").isEmpty()) << "edits stay empty after a failed reread";
    EXPECT_EQ(status(), "Статус: ошибки связи");

    bench.replies.push_back(TMasBytes{0x09, 0x52, 10, 20, 30, 40, 50, 60, 0x3E});
    click("QV2_RereadButton");
    EXPECT_EQ(text("QV2_T11_Edit"), "10");
    EXPECT_EQ(text("QV2_T23_Edit"), "60");
    EXPECT_EQ(status(), "Статус: успешно");
}

TEST_F(BenchPage, WriteSendsValidEntriesAsTypedAndReportsRejection) {
    const char* entries[] = {"255", " 7", "12 ", "0", "$1F", "+1"};
    for (int k = 0; k < 6; ++k)
        setEdit(kSettingEdits[k], QString::fromUtf8(entries[k]));
    bench.replies.push_back(TMasBytes{0x03, 0x00, 0x3E});
    click("QV2_WriteButton");
    ASSERT_EQ(bench.sent.size(), 1u);
    EXPECT_EQ(bench.sent[0], (TMasBytes{0x09, 0x57, 255, 7, 12, 0, 31, 1, 0x3C}));
    EXPECT_EQ(status(), "Статус: успешно");

    bench.replies.push_back(TMasBytes{0x03, 0x01, 0x3E});
    click("QV2_WriteButton");
    EXPECT_EQ(status(), "Статус: ошибки связи") << "a refused write";
}

// Each entry the lenient reading would change is marked as typed and keeps
// the write off the line; the message names it with what was typed.
TEST_F(BenchPage, AnEntryThatWouldChangeBlocksTheWrite) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {{"300", "больше 255"}, {"12x", "не число"},          {"abc", "не число"},
                 {"-1", "меньше 0"},    {"1,5", "нужно целое число"}, {"", "пустое поле"}};
    RecordingInteraction user;
    for (const auto& c : cases) {
        for (const char* name : kSettingEdits)
            setEdit(name, QStringLiteral("3"));
        auto* edit = page.findChild<QLineEdit*>("QV2_T21_Edit");
        edit->setText(QString::fromUtf8(c.text));
        EXPECT_TRUE(IsEntryMarked(edit)) << c.text;
        EXPECT_TRUE(edit->toolTip().contains("от 0 до 255")) << c.text;
        EXPECT_FALSE(IsEntryMarked(page.findChild<QLineEdit*>("QV2_T11_Edit")));
        user.messages.clear();
        click("QV2_WriteButton");
        EXPECT_TRUE(bench.sent.empty()) << c.text;
        EXPECT_EQ(status(), "Статус: ошибки связи");
        ASSERT_EQ(user.messages.size(), 1u) << c.text;
        EXPECT_TRUE(user.messages[0].text.contains(
            QStringLiteral("T21 (канал 1, задержка включения реле): введено «%1» — %2; "
                           "допустимо от 0 до 255")
                .arg(QString::fromUtf8(c.text).trimmed(), QString::fromUtf8(c.reason))))
            << user.messages[0].text.toStdString();
    }
}

TEST_F(BenchPage, WatchStartEnablesCommandsAndStopResets) {
    bench.canOpen = false;
    click("QV2_start_Button");
    EXPECT_EQ(status(), "Статус: ожидание посылок");
    EXPECT_FALSE(button("QV2_cmd80_Button")->isEnabled());
    EXPECT_TRUE(button("QV2_start_Button")->isEnabled());
    EXPECT_TRUE(bench.phon.empty());

    bench.canOpen = true;
    click("QV2_start_Button");
    EXPECT_EQ(status(), "Статус: ожидание посылок");
    for (const char* name : kCommandButtons)
        EXPECT_TRUE(button(name)->isEnabled()) << name;
    EXPECT_TRUE(button("QV2_stop_Button")->isEnabled());
    EXPECT_FALSE(button("QV2_start_Button")->isEnabled());
    EXPECT_EQ(bench.phon, std::vector<bool>{true});

    click("QV2_stop_Button");
    EXPECT_EQ(status(), "Статус: освобождение СОМ-порта выполнено");
    EXPECT_EQ(bench.phon, (std::vector<bool>{true, false}));
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    for (const char* name : kCommandButtons)
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    EXPECT_TRUE(button("QV2_start_Button")->isEnabled());

    // Stop with the port already closed only resets.
    page.QV2_stop_ButtonClick();
    EXPECT_EQ(bench.phon.size(), 2u);
    EXPECT_EQ(status(), "Статус: освобождение СОМ-порта выполнено");
}

TEST_F(BenchPage, BenchCommandsSendThreeBytesAndEmptyTheirFields) {
    click("QV2_start_Button");
    bench.opens.clear();
    page.onPacket({0x75, 0x05, 0x07, 0x0C, 0x32, 0xBF});
    click("QV2_cmd01_Button");
    EXPECT_EQ(bench.sent.back(), (TMasBytes{0x43, 0x01, 0x44}));
    EXPECT_TRUE(text("U1hhEdit").isEmpty());
    EXPECT_TRUE(text("U2hhEdit").isEmpty());
    EXPECT_EQ(text("U1izmEdit"), "0.00");
    EXPECT_EQ(status(), "Статус: команда чтения напряжений USB (холостой ход) отправлена");
    EXPECT_EQ(ExchangeState.RxExpected, 0);
    EXPECT_TRUE(bench.opens.empty()) << "bench commands use the port the watch holds";

    click("QV2_cmd05_Button");
    EXPECT_TRUE(text("T1Zon11Edit").isEmpty());
    EXPECT_TRUE(text("T2Zauto12Edit").isEmpty());
    EXPECT_EQ(text("T1Ion11Edit"), "0");
    click("QV2_cmd06_Button");
    EXPECT_TRUE(text("T2IOff12Edit").isEmpty());
    click("QV2_cmd04_Button");
    EXPECT_TRUE(text("I2izmEdit").isEmpty());
    click("QV2_cmd80_Button");
    EXPECT_EQ(bench.sent.back(), (TMasBytes{0x43, 0x80, 0xC3}));
    EXPECT_EQ(status(), "Статус: команда старта тестирования отправлена");

    // Another command closed the port meanwhile: the fields still empty, the send fails.
    ExchangeState.PortOpen[0] = false;
    page.onPacket({0x75, 0x05, 0x07, 0x0C, 0x32, 0xBF});
    click("QV2_cmd01_Button");
    EXPECT_TRUE(text("U1hhEdit").isEmpty());
    EXPECT_EQ(status(), "Статус: ошибки связи");
}

TEST_F(BenchPage, BusyMainWindowBlocksEveryHandler) {
    block = true;
    page.Button17Click();
    page.QV2_start_ButtonClick();
    page.QV2_cmd00_ButtonClick();
    EXPECT_EQ(status(), "Статус: ...");
    EXPECT_TRUE(bench.opens.empty());
    EXPECT_TRUE(block);
}

TEST_F(BenchPage, DisplayOperationsIgnoreOtherPlacesAndVariants) {
    page.prSetVoltHH(4, 1, 1, 1, 1);
    page.prSetTimePreset(3, 1, 1, 1, 1, 1, 1);
    page.prSetTimeIzmer(0, 1, 1, 1, 1, 1, 1);
    page.prClearVoltHH(0);
    page.prClearTimePreset(3);
    for (const QLineEdit* edit : page.findChildren<QLineEdit*>()) {
        if (!edit->objectName().startsWith(QLatin1String("QV2_"))) {
            EXPECT_FALSE(edit->text().isEmpty()) << edit->objectName().toStdString();
        }
    }
    page.prSetTimeIzmer(1, 100, 200, 300, 400, 500, 600);
    EXPECT_EQ(text("T1Iauto12Edit"), "  6.00");
    page.prSetStatus(0x10, 0x01);
    EXPECT_TRUE(checked("CB1_noConn"));
    EXPECT_TRUE(checked("CB2_noPlate"));
}

TEST(BenchPageInWindow, InstalledIntoTheBenchTab) {
    TRelcon4 window;
    auto* page = window.TabSheet4->findChild<TQv2f3Page*>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Qv2f3Page, page);
    EXPECT_EQ(window.PageControl1->tabText(window.PageControl1->indexOf(window.TabSheet4)),
              "ZE2-R3");
    EXPECT_NE(window.findChild<QPushButton*>("QV2_start_Button"), nullptr);

    // The page fits the tab without clipping its panels.
    window.PageControl1->setCurrentWidget(window.TabSheet4);
    window.show();
    ASSERT_TRUE(testenv::WaitFor([&] { return page->isVisible(); }));
    auto* place2 = page->findChild<QWidget*>("Place2GroupBox");
    const QPoint bottom = place2->mapTo(window.TabSheet4, QPoint(0, place2->height()));
    EXPECT_LE(bottom.y(), window.TabSheet4->height());
    EXPECT_GE(place2->width(), place2->sizeHint().width());

    // Screenshot for the docs, on request only, so test runs leave the tree alone.
    if (qEnvironmentVariableIsSet("RELCON4_PAGE_SHOT")) {
        // As the technician sees it: window activated, watch running.
        window.setEnabled(true);
        ExchangeState.Reset();
        FakeBench bench;
        page->QV2_start_ButtonClick();
        page->onPacket({0x53, 0x01, 0x10, 0x64});
        page->onPacket({0x75, 0x05, 0x07, 0x0C, 0x32, 0xBF});
        page->onPacket({0x55, 12, 5, 11, 98, 0x2F});
        page->onPacket({0x49, 0, 45, 0, 52, 0xE6});
        page->onPacket(withSum({'t', 10, 20, 30, 15, 25, 35, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
        page->onPacket(withSum(
            {'T', 0x31, 0xE8, 0x03, 0xD0, 0x07, 0xB8, 0x0B, 0xDC, 0x05, 0xC4, 0x09, 0xAC, 0x0D}));
        page->onPacket(withSum({'T', 0x32, 0xD2, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        QDir().mkpath(QStringLiteral(RELCON4_SOURCE_DIR "/docs"));
        EXPECT_TRUE(page->grab().save(QStringLiteral(RELCON4_SOURCE_DIR "/docs/zi2z3-page.png")));
    }
    window.close();
}
