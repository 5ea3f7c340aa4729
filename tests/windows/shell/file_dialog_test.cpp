// The file dialogs: the last files of each kind offered again, and a dialog
// that lists only the files of one layout.
#include "shell/file_dialog.h"
#include "shell/interaction.h"
#include "shell/recent_files.h"
#include "support/recording_interaction.h"
#include "support/test_env.h"

#include <QAbstractProxyModel>
#include <QComboBox>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kPages = QStringLiteral("Файлы параметров (*.qvf)");
const QString kSets = QStringLiteral("Настройки RI1-R (*.ini);;Все файлы (*)");

QString Touch(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes = "x") {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

} // namespace

// Every choice through the program's dialogs counts, newest first, at most
// eight, each once, per kind of file; files since gone are not offered.
TEST(RecentFiles, KeptPerKindNewestFirstAndOnlyWhileThere) {
    QTemporaryDir dir;
    RecordingInteraction user;
    QStringList qvf;
    for (int i = 0; i < 10; ++i)
        qvf << Touch(dir, QStringLiteral("u%1.qvf").arg(i));
    const QString set = Touch(dir, QStringLiteral("QV1M.ini"));
    const struct {
        bool save;
        QString filter;
        QString file;
    } choices[] = {{false, kPages, qvf[0]},    {true, kPages, qvf[1]},  {false, kSets, set},
                   {false, kPages, QString()}, // cancelled
                   {false, kPages, qvf[2]},    {false, kPages, qvf[3]}, {false, kPages, qvf[4]},
                   {true, kPages, qvf[5]},     {false, kPages, qvf[6]}, {false, kPages, qvf[7]},
                   {false, kPages, qvf[8]},    {false, kPages, qvf[1]}};
    for (const auto& c : choices) {
        if (c.save) {
            user.saveFileAnswers.push_back(c.file);
            interaction().saveFileName(nullptr, QString(), QString(), c.filter);
        } else {
            user.openFileAnswers.push_back(c.file);
            interaction().openFileName(nullptr, QString(), QString(), c.filter);
        }
    }
    EXPECT_EQ(RecentFiles(kPages),
              (QStringList{qvf[1], qvf[8], qvf[7], qvf[6], qvf[5], qvf[4], qvf[3], qvf[2]}));
    EXPECT_EQ(RecentFiles(kSets), QStringList{set});
    ASSERT_TRUE(QFile::remove(qvf[8]));
    EXPECT_EQ(RecentFiles(kPages).size(), 7);
    EXPECT_FALSE(RecentFiles(kPages).contains(qvf[8]));
}

// The real dialog offers them under its own caption; picking one selects it,
// and a dialog asked to list one layout leaves other files out.
TEST(RecentFiles, TheDialogOffersThemAndListsOnlyWhatItIsAskedTo) {
    QTemporaryDir dir;
    const QString a = Touch(dir, QStringLiteral("a.ini"), QByteArray(95 * 3, '\n'));
    const QString b = Touch(dir, QStringLiteral("rs_m.ini"));
    const auto dialog = MakeFileDialog(nullptr, {QStringLiteral("Сравнить с файлом"),
                                                 dir.path(),
                                                 QStringLiteral("(*.ini)"),
                                                 false,
                                                 {a, b},
                                                 [&](const QString& path) { return path == a; }});
    auto* recent = dialog->findChild<QComboBox*>(QStringLiteral("RecentFilesComboBox"));
    ASSERT_NE(recent, nullptr);
    QLabel* caption = nullptr;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (label->text() == QString::fromUtf8(kRecentFilesCaption))
            caption = label;
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->buddy(), recent);
    ASSERT_EQ(recent->count(), 3);
    emit recent->activated(2);
    EXPECT_EQ(dialog->selectedFiles(), QStringList{b});

    QAbstractProxyModel* listed = dialog->proxyModel();
    ASSERT_NE(listed, nullptr);
    auto* files = qobject_cast<QFileSystemModel*>(listed->sourceModel());
    ASSERT_NE(files, nullptr);
    QStringList names;
    ASSERT_TRUE(testenv::WaitFor([&] {
        names.clear();
        const QModelIndex folder = listed->mapFromSource(files->index(dir.path()));
        for (int r = 0; r < listed->rowCount(folder); ++r)
            names << listed->index(r, 0, folder).data().toString();
        return !names.isEmpty();
    }));
    EXPECT_EQ(names, QStringList{QStringLiteral("a.ini")});
}
