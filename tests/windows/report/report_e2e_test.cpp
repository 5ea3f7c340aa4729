// The protocol from the program's pages on the real line: windows as at
// start-up, the engine on a pseudo-terminal, a simulated unit at the other
// end. After a read the "Протокол…" button's PDF, read back with pdftotext,
// holds every parameter under its caption with the value the page shows; the
// archive window's protocol of the record holds the same. The print dialogs
// are answered through the interaction, never shown.
#include "archive/archive_form.h"
#include "archive/archive_recorder.h"
#include "devices/qv2f3/bench_packet.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "devices/qv4m/qv4m_registers.h"
#include "devices/qv4m/ro4d_captions.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "report/report_form.h"
#include "report/report_pages.h"
#include "shell/app_globals.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "shell/user_options.h"
#include "shell/where_bar.h"
#include "support/pdf_text.h"
#include "support/program_line.h"
#include "support/test_env.h"

#include "ri1r_unit.h"
#include "ro4d_unit.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace std::chrono_literals;

// A row the protocol must hold: caption, then what the page's control shows.
struct Row {
    QString section; // the section's title it stands under
    QString caption;
    QString value;
    QString unit;
    // False for what only the program keeps (in the .qvf), not the unit.
    bool unitKeeps = true;
};

class ReportLineTest : public ProgramLineTest {
public:
    void start(std::unique_ptr<sim::SimUnit> unit, QWidget* (*tab)(), bool paced = false) {
        ResetUnitChecks();
        ProgramLineTest::start(std::move(unit), tab, paced);
    }
    void TearDown() override {
        if (Qv2f3Page && ExchangeState.PortOpen[0])
            Qv2f3Page->QV2_stop_ButtonClick();
        ProgramLineTest::TearDown();
        ResetUnitChecks();
    }
    template <typename T = QPushButton> T* find(const QString& name) {
        T* w = Relcon4->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString text(const QString& edit) {
        QLineEdit* e = find<QLineEdit>(edit);
        return e ? e->text().trimmed() : QString();
    }
    QString yesNo(const QString& box) {
        QCheckBox* b = find<QCheckBox>(box);
        return b && b->isChecked() ? QStringLiteral("да") : QStringLiteral("нет");
    }
    // Clicks button (the page's "Протокол…" unless given); the form that opens
    // takes the names and saves the PDF to path; its status line comes back.
    QString saveProtocol(QPushButton* button, const QString& path,
                         const QString& object = QStringLiteral("Школа 5, корпус 2"),
                         const QString& technician = QStringLiteral("Петров П. П.")) {
        QString status;
        user.onDialog = [&](QDialog* d) {
            auto* form = qobject_cast<TReportForm*>(d);
            if (!form)
                return int(QDialog::Rejected);
            form->ObjectEdit->setText(object);
            form->TechnicianEdit->setText(technician);
            user.saveFileAnswers.push_back(path);
            form->SavePdfButton->click();
            status = form->StatusLabel->text();
            return int(QDialog::Rejected);
        };
        button->click();
        user.onDialog = nullptr;
        return status;
    }
    QPushButton* reportButton() {
        auto* b = Relcon4->WhereBar->findChild<QPushButton*>(QStringLiteral("ReportButton"));
        EXPECT_NE(b, nullptr);
        EXPECT_EQ(b ? b->text() : QString(), QStringLiteral("Протокол…"));
        return b;
    }

    QTemporaryDir dir;
};

// The sections of the laid-out text: a line equal to a title starts one;
// each section's text without blanks.
QMap<QString, QString> Sections(const QString& layout, const QStringList& titles) {
    QMap<QString, QString> sections;
    QString current;
    for (const QString& line : layout.split(QLatin1Char('\n'))) {
        if (titles.contains(line.trimmed()))
            current = line.trimmed();
        else if (!current.isEmpty())
            sections[current] += testenv::Bare(line);
    }
    return sections;
}

void ExpectRows(const QString& pdf, const QList<Row>& rows, const QStringList& titles,
                bool ofUnit = false) {
    const QMap<QString, QString> sections = Sections(testenv::PdfLayoutText(pdf), titles);
    for (const Row& r : rows) {
        if (ofUnit && !r.unitKeeps)
            continue;
        const QString row = testenv::Bare(r.caption + QStringLiteral(": ") + r.value + r.unit);
        EXPECT_TRUE(sections.value(r.section).contains(row))
            << r.section.toStdString() << " / " << row.toStdString();
    }
}

} // namespace

// Each unit kind read from its page: the protocol holds the header, every
// parameter as the page shows it, the check of the write where one ran, and
// the archive record of the same configuration gives the same rows.
TEST_F(ReportLineTest, PageProtocolHoldsWhatThePageShows) {
    SKIP_WITHOUT_PDFTOTEXT();
    struct Case {
        const char* name;
        std::function<void(ReportLineTest&)> run; // starts the unit, runs the commands
        std::function<QList<Row>(ReportLineTest&)> rows;
        QStringList titles; // the sections in order
        QString device;     // the label naming the unit, after its caption
        QStringList more;   // further rows, whitespace ignored
    };
    const QString modePage = Ro4dModePageCaption(), timesPage = Ro4dTimesPageCaption();
    QStringList ro4dTitles{modePage, QStringLiteral("М1"), QStringLiteral("M2"), timesPage,
                           Ro4dLineGroupCaption()};
    ro4dTitles << Ro4dThresholdGroups() << QStringLiteral("Проверка записи");
    const auto ro4dRows = [=](ReportLineTest& t) {
        QList<Row> rows;
        const bool board2x = IsBoard2x(Relcon4->bVers);
        for (const TRo4dValueCaption& v : Ro4dValueCaptions()) {
            if (!ShownOnBoard(v.shown, board2x))
                continue;
            const QString group = CaptionText(v.group);
            // T_min6 of each drive stands in its drive's section.
            const QString section =
                QLatin1String(v.edit) == QLatin1String("T_min6a_Edit")   ? QStringLiteral("М1")
                : QLatin1String(v.edit) == QLatin1String("T_min6b_Edit") ? QStringLiteral("M2")
                                                                         : group;
            rows << Row{section, CaptionText(v.caption), t.text(QLatin1String(v.edit)),
                        CaptionText(v.unit)};
        }
        for (const TRo4dOptionCaption& o : Ro4dOptionCaptions())
            rows << Row{CaptionText(o.group),
                        CaptionText(o.caption),
                        t.yesNo(QLatin1String(o.box)),
                        {},
                        o.option != &TQv4mParams::BlockFreeSignal};
        for (const TRo4dLineCaption& l : Ro4dLineCaptions())
            rows << Row{
                Ro4dLineGroupCaption(), CaptionText(l.caption), t.yesNo(QLatin1String(l.box)), {}};
        return rows;
    };
    const QString mode1 = QStringLiteral("Настройки режимов: режим 1"),
                  common = QStringLiteral("Настройки режимов"),
                  thresholds = QStringLiteral("Напряжения порогов");
    QStringList ri1rTitles;
    for (int n = 1; n <= 7; ++n)
        ri1rTitles << QStringLiteral("Настройки режимов: режим %1").arg(n);
    ri1rTitles << common << thresholds;
    const auto ri1rRows = [=](ReportLineTest& t) {
        QList<Row> rows;
        for (int c = 1; c <= 3; ++c)
            for (const char* time : {"Ton", "T6sec", "Toff"})
                rows << Row{mode1,
                            QStringLiteral("Канал %1, %2").arg(c).arg(time),
                            t.text(QStringLiteral("ed%1M%2").arg(time).arg(c)),
                            {}};
        for (int k = 1; k <= 3; ++k)
            rows << Row{common, QStringLiteral("Время до аварии, [ сек ]: K%1").arg(k),
                        t.text(QStringLiteral("edTimeErrK%1").arg(k)), QStringLiteral("сек")};
        const char* const volts[][2] = {{"Uацп", "Volt2OporaEdit"},
                                        {"Umin", "edBut_Lvl_DO"},
                                        {"Uсраб.", "edBut_Lvl_UD"},
                                        {"Umax", "edBut_Lvl_SC"}};
        for (const auto& v : volts)
            rows << Row{thresholds, QString::fromUtf8(v[0]), t.text(QLatin1String(v[1])),
                        QStringLiteral("В")};
        return rows;
    };
    const QString place1 = QStringLiteral("Проверочный стенд. Место 1"),
                  place2 = QStringLiteral("Проверочный стенд. Место 2");
    const QStringList benchTitles{QStringLiteral("Настройки режимов"), place1, place2};
    const auto benchRows = [=](ReportLineTest& t) {
        QList<Row> rows;
        const char* const delays[] = {"T11", "T12", "T13", "T21", "T22", "T23"};
        for (const char* d : delays)
            rows << Row{benchTitles[0], QStringLiteral("(%1)").arg(d),
                        t.text(QStringLiteral("QV2_%1_Edit").arg(d)), QStringLiteral("с")};
        for (int place = 1; place <= 2; ++place) {
            const auto captions = qv2f3::TimeCaptions();
            const auto measured = qv2f3::MeasuredFieldNames(place);
            for (std::size_t k = 0; k < captions.size(); ++k)
                rows << Row{benchTitles[place], captions[k] + QStringLiteral(", Измерено"),
                            t.text(measured[k]), QStringLiteral("с")};
            rows << Row{benchTitles[place], QStringLiteral("Uх.ход"),
                        t.text(qv2f3::VoltFieldNames(1)[static_cast<std::size_t>(place - 1)]),
                        QStringLiteral("В")};
        }
        return rows;
    };
    const Case cases[] = {
        {"RO-4D",
         [](ReportLineTest& t) {
             auto u = std::make_unique<sim::Ro4dUnit>();
             u->registers()[bValue_T_wait] = 7;
             t.start(std::move(u), Ro4dTab);
             t.find<QCheckBox>(QStringLiteral("VerifyWriteCheckBox"))->setChecked(true);
             t.find(QStringLiteral("RdDataButton"))->click();
             t.find(QStringLiteral("WrDataButton"))->click();
         },
         ro4dRows,
         ro4dTitles,
         QStringLiteral("VerrQV4Label"),
         {QStringLiteral("Проверка записи"),
          QStringLiteral("Результат: устройство хранит записанное"),
          QStringLiteral("[сек] - T_wait - пауза перед включением M1/M2: 7 сек")}},
        {"RI1-R",
         [](ReportLineTest& t) {
             auto u = std::make_unique<sim::Ri1rUnit>();
             u->modes()[0][1].ton = 321;
             u->common().lvlSc = 777;
             t.start(std::move(u), Ri1rTab);
             t.find<QCheckBox>(QStringLiteral("Qv1VerifyWriteCheckBox"))->setChecked(true);
             t.find(QStringLiteral("Button5"))->click();
             t.find(QStringLiteral("Button16"))->click();
         },
         ri1rRows,
         ri1rTitles,
         QStringLiteral("QV1MverLabel"),
         {QStringLiteral("Проверка записи"),
          QStringLiteral("Результат: устройство хранит записанное")}},
        {"ZI2-Z3",
         [](ReportLineTest& t) {
             auto u = std::make_unique<sim::Zi2z3Unit>();
             u->delays() = {12, 3, 60, 5, 3, 61};
             u->setTestDurationMs(150);
             u->place(0).board = true;
             t.start(std::move(u), BenchTab, true);
             t.find(QStringLiteral("Button17"))->click();
             // Through the buttons, so the archive records the run.
             t.find(QStringLiteral("QV2_start_Button"))->click();
             t.find(QStringLiteral("QV2_cmd80_Button"))->click();
             ASSERT_TRUE(testenv::WaitFor(
                 [&t] {
                     return !t.text(QStringLiteral("T2Ion11Edit")).isEmpty() &&
                            t.text(QStringLiteral("T2Ion11Edit")) != QLatin1String("0");
                 },
                 5s));
             t.find(QStringLiteral("QV2_stop_Button"))->click();
         },
         benchRows,
         benchTitles,
         QString(),
         {QStringLiteral("(T23): 61 с")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.run(*this);
        const QString pagePdf = dir.filePath(QStringLiteral("%1-page.pdf").arg(c.name));
        EXPECT_EQ(saveProtocol(reportButton(), pagePdf), QStringLiteral("Сохранено: ") + pagePdf);
        const QString text = testenv::PdfBareText(pagePdf);
        ASSERT_FALSE(text.isEmpty()) << c.name;
        const QList<Row> rows = c.rows(*this);
        ExpectRows(pagePdf, rows, c.titles);
        QStringList header{QStringLiteral("Объект: Школа 5, корпус 2"),
                           QStringLiteral("Техник: Петров П. П."),
                           QStringLiteral("Порт: ") + ExchangeState.PortName[0]};
        if (!c.device.isEmpty()) {
            const QString label = find<QLabel>(c.device)->text();
            header << QStringLiteral("Устройство: ") + label.mid(label.indexOf(':') + 1).trimmed();
        }
        for (const QString& row : header + c.more)
            EXPECT_TRUE(text.contains(testenv::Bare(row))) << row.toStdString();

        // The newest record of the archive, made into a protocol from its window.
        TArchiveForm* form = ArchiveFormOf(Relcon4);
        form->ShowArchive();
        form->RecordsTable->selectRow(0);
        const QString recordPdf = dir.filePath(QStringLiteral("%1-record.pdf").arg(c.name));
        EXPECT_EQ(form->ReportButton->text(), QStringLiteral("Протокол…"));
        saveProtocol(form->ReportButton, recordPdf);
        const QString fromRecord = testenv::PdfBareText(recordPdf);
        ExpectRows(recordPdf, rows, c.titles, true);
        EXPECT_TRUE(fromRecord.contains(QStringLiteral("Источник:записьархива")));
        form->close();
        TearDown();
    }
    EXPECT_TRUE(user.messages.empty()) << user.texts().join('\n').toStdString();
}

// The form itself: hostile names kept to one line each, the technician kept
// for the next protocol, a target that cannot be written named with its
// cause and nothing left, the print dialog printing and the preview offered.
TEST_F(ReportLineTest, FormKeepsNamesToOneLineAndNamesAFailedTarget) {
    SKIP_WITHOUT_PDFTOTEXT();
    start(std::make_unique<sim::Ro4dUnit>(), Ro4dTab);
    find(QStringLiteral("RdDataButton"))->click();
    const QString pdf = dir.filePath(QStringLiteral("hostile.pdf"));
    const QString object = QStringLiteral("Школа\x01\n5\u202e\t\u05d0\u05d1  конец\u2029");
    const QString technician(10000, QChar(u'Я'));
    saveProtocol(reportButton(), pdf, object, technician);
    const QString objectLine = testenv::PdfLine(pdf, QStringLiteral("Объект:"));
    EXPECT_TRUE(objectLine.startsWith(QStringLiteral("Объект: Школа 5")))
        << objectLine.toStdString();
    EXPECT_TRUE(objectLine.contains(QStringLiteral("конец"))) << objectLine.toStdString();
    const QString technicianLine = testenv::PdfLine(pdf, QStringLiteral("Техник:"));
    EXPECT_TRUE(technicianLine.endsWith(QString(20, QChar(u'Я')) + QChar(0x2026)))
        << technicianLine.toStdString();
    // No line of the document starts with what spilled over.
    EXPECT_TRUE(testenv::PdfLine(pdf, QStringLiteral("Я")).isEmpty());
    EXPECT_EQ(UserText(kReportTechnician), technician);

    // The next form offers the technician; a folder that is not there fails.
    const QString bad = dir.filePath(QStringLiteral("no/such/p.pdf"));
    QString offered;
    QStringList dialogs;
    int previewPages = 0;
    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    user.onDialog = [&](QDialog* d) {
        if (auto* form = qobject_cast<TReportForm*>(d)) {
            // Each entry is named by its buddy label, each button by its caption.
            QList<QWidget*> named;
            for (QLabel* label : form->findChildren<QLabel*>())
                named << label->buddy();
            for (QLineEdit* edit : form->findChildren<QLineEdit*>())
                EXPECT_TRUE(named.contains(edit)) << edit->objectName().toStdString();
            for (QPushButton* button : form->findChildren<QPushButton*>())
                EXPECT_FALSE(button->text().isEmpty());
            offered = form->TechnicianEdit->text();
            form->TechnicianEdit->setText(QStringLiteral("Сидоров"));
            user.saveFileAnswers.push_back(bad);
            form->SavePdfButton->click();
            form->PreviewButton->click();
            form->PrintButton->click();
            return int(QDialog::Rejected);
        }
        dialogs << QString::fromLatin1(d->metaObject()->className());
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(d)) {
            // Shown without its event loop: the preview lays the pages out.
            preview->show();
            if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
                previewPages = pages->pageCount();
            preview->hide();
        }
        if (auto* print = qobject_cast<QPrintDialog*>(d)) {
            print->printer()->setOutputFileName(printed);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    reportButton()->click();
    EXPECT_EQ(offered, technician);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(user.messages[0].text.startsWith(QStringLiteral("Протокол не сохранён в файл ") +
                                                 bad + QStringLiteral(": ")))
        << user.messages[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(bad));
    EXPECT_EQ(previewPages, 2);
    EXPECT_EQ(dialogs,
              (QStringList{QStringLiteral("QPrintPreviewDialog"), QStringLiteral("QPrintDialog")}));
    const QString printedText = testenv::PdfBareText(printed);
    EXPECT_TRUE(
        printedText.contains(testenv::Bare(QStringLiteral("Протокол настройки блока RO-4D"))));
    EXPECT_TRUE(printedText.contains(QStringLiteral("Техник:Сидоров")));
}
