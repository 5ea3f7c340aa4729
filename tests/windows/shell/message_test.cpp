#include "shell/app_windows.h"
#include "shell/box_message.h"
#include "shell/interaction.h"
#include "shell/message_box_title.h"
#include "shell/qt_russian.h"
#include "support/recording_interaction.h"
#include "support/test_env.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Answers the next real message box by pressing the button with the given role,
// after recording what the box showed.
struct BoxSeen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    int width = 0, titleWidth = 0;
};

void answerNextBox(BoxSeen& seen, QMessageBox::StandardButton press) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.width = box->width();
        seen.titleWidth = TitleWidth(*box);
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
        box->button(press)->click();
        poll->deleteLater();
    });
    poll->start(10);
}

} // namespace

TEST(MessageSeam, PlainMessagesAndBoxesGoThroughTheSeam) {
    RecordingInteraction user;
    user.boxAnswers = {IDNO};
    TBoxMessage holder;
    ShowPlainMessage(QStringLiteral("Порт занят"));
    const int answer =
        holder.MessageBoxR(nullptr, QStringLiteral("Такой файл уже есть. Перезаписать?"),
                           QStringLiteral("Внимание"), MB_YESNO_ICONQUESTION);
    const int ok = holder.MessageBoxR(
        nullptr, QStringLiteral("Цикл выбора СОМ-порта прекращён! Порт сменить не удалось!"),
        QStringLiteral("Ошибка #59"), MB_OK_ICONEXCLAMATION);
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(ok, IDOK);
    ASSERT_EQ(user.messages.size(), 3u);
    EXPECT_EQ(user.messages[0].kind, "plain");
    EXPECT_EQ(user.messages[0].text, QStringLiteral("Порт занят"));
    EXPECT_EQ(user.messages[1].caption, QStringLiteral("Внимание"));
    EXPECT_EQ(user.messages[1].type, 36u);
    EXPECT_EQ(user.messages[2].caption, QStringLiteral("Ошибка #59"));
    EXPECT_EQ(user.messages[2].type, 48u);
}

TEST(MessageSeam, LineBreaksOfCrLfLfAndLoneCr) {
    EXPECT_EQ(messageLines(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(messageLines(QStringLiteral("a\r\n\r\nb")), QStringLiteral("a\n\nb"));
}

TEST(MessageSeam, RealPlainMessageIsTitledRelcon4WithOneOkAndNoIcon) {
    BoxSeen seen;
    answerNextBox(seen, QMessageBox::Ok);
    ShowPlainMessage(QStringLiteral("Строка 1\r\nСтрока 2\rСтрока 3"));
    EXPECT_EQ(seen.title, QStringLiteral("Relcon4"));
    EXPECT_EQ(seen.text, QStringLiteral("Строка 1\nСтрока 2\nСтрока 3"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons.size(), 1);
}

TEST(MessageSeam, RealBoxMapsTypesAndResults) {
    TBoxMessage holder;
    BoxSeen question;
    answerNextBox(question, QMessageBox::Yes);
    EXPECT_EQ(holder.MessageBoxR(nullptr, QStringLiteral("Такой файл уже есть. Перезаписать?"),
                                 QStringLiteral("Внимание"), 36),
              IDYES);
    EXPECT_EQ(question.title, QStringLiteral("Внимание"));
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(question.buttons.size(), 2);

    BoxSeen no;
    answerNextBox(no, QMessageBox::No);
    EXPECT_EQ(holder.MessageBoxR(nullptr, QStringLiteral("?"), QStringLiteral("Внимание"), 36),
              IDNO);

    BoxSeen warning;
    answerNextBox(warning, QMessageBox::Ok);
    EXPECT_EQ(holder.MessageBoxR(nullptr,
                                 QStringLiteral("Для работы программы требуется хотя бы один "
                                                "свободный СОМ-порт!"),
                                 QStringLiteral("Ошибка #5"), 48),
              IDOK);
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.buttons.size(), 1);
}

TEST(MessageSeam, TimersKeepRunningWhileAMessageIsUp) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    BoxSeen seen;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && ticks >= 3) {
            box->button(QMessageBox::Ok)->click();
            poll->deleteLater();
        }
    });
    poll->start(10);
    ShowPlainMessage(QStringLiteral("ждём"));
    EXPECT_GE(ticks, 3);
}

TEST(MessageSeam, QtsOwnButtonsSpeakRussian) {
    QTranslator* russian = InstallQtRussian();
    ASSERT_TRUE(russian) << "qt6-translations-l10n is missing";
    TBoxMessage holder;
    BoxSeen question;
    answerNextBox(question, QMessageBox::No);
    EXPECT_EQ(holder.MessageBoxR(nullptr, QStringLiteral("Такой файл уже есть. Перезаписать?"),
                                 QStringLiteral("Внимание"), MB_YESNO_ICONQUESTION),
              IDNO);
    delete russian;
    question.buttons.replaceInStrings(QStringLiteral("&"), QString());
    question.buttons.sort();
    EXPECT_EQ(question.buttons, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
}

// A frame shows a box's title only where the box is wide enough: a short text
// must not narrow the box below its title, the icon and the frame's buttons.
TEST(MessageSeam, ShortBoxesAreWideEnoughForTheirTitle) {
    TBoxMessage holder;
    const struct {
        const char* name;
        std::function<void()> show;
        QMessageBox::StandardButton press;
        QString title;
    } cases[] = {
        {"plain", [] { ShowPlainMessage(QStringLiteral("Успешно")); }, QMessageBox::Ok,
         QStringLiteral("Relcon4")},
        {"warning",
         [&] {
             holder.MessageBoxR(nullptr, QStringLiteral("Нет"), QStringLiteral("Ошибка #5"), 48);
         },
         QMessageBox::Ok, QStringLiteral("Ошибка #5")},
        {"question",
         [&] { holder.MessageBoxR(nullptr, QStringLiteral("?"), QStringLiteral("Внимание"), 36); },
         QMessageBox::No, QStringLiteral("Внимание")},
        {"save question",
         [&] {
             holder.MessageBoxR(nullptr, QStringLiteral("?"), QStringLiteral("Relcon4"),
                                MB_YESNOCANCEL_ICONQUESTION);
         },
         QMessageBox::Cancel, QStringLiteral("Relcon4")},
    };
    for (const auto& c : cases) {
        BoxSeen seen;
        answerNextBox(seen, c.press);
        c.show();
        EXPECT_EQ(seen.title, c.title) << c.name;
        EXPECT_GT(seen.titleWidth, 0) << c.name;
        EXPECT_GE(seen.width, seen.titleWidth) << c.name;
    }
}
