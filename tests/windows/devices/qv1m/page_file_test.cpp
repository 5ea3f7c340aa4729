#include "devices/qv1m/qv1m_file.h"
#include "page_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kDone = QStringLiteral("Статус: успешно");

// Runs a test in a fresh current folder, where the page keeps QV1M.ini.
class InTempFolder {
public:
    InTempFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~InTempFolder() { QDir::setCurrent(previous_); }
    QString path() const { return dir_.filePath(QLatin1String(kQv1mFileName)); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class Ri1rFileTest : public Ri1rPageTest {
protected:
    // Every text, check and radio state of the page's editor.
    QStringList pageState() {
        QStringList state;
        for (QLineEdit* e : page->findChildren<QLineEdit*>())
            if (!e->isReadOnly()) // the file's path is no setting
                state << e->objectName() + QLatin1Char('=') + e->text();
        for (QAbstractButton* b : page->findChildren<QAbstractButton*>())
            if (b->isCheckable())
                state << b->objectName() + QLatin1Char('=') + QString::number(b->isChecked());
        for (QLabel* l : page->findChildren<QLabel*>())
            state << l->objectName() + QLatin1Char('=') + l->text();
        state << QString::number(page->iNumMode);
        return state;
    }
    InTempFolder folder;
};

TEST_F(Ri1rFileTest, SaveAfterSessionThenLoadLeavesThePageAsItWas) {
    fillMemory(unit.memory);
    unit.memory.mQV1M_s.wBut_Lvl_UD = 401; // shows as 2.06, saved as 402
    unit.setModeDigit('6');
    startSession();
    const QStringList before = pageState();
    click("Button14");
    EXPECT_EQ(status(), kDone);
    EXPECT_FALSE(window->fBlockPressKey);
    const QByteArray bytes = readAll(folder.path());
    EXPECT_EQ(bytes.count('\n'), 95);
    EXPECT_TRUE(bytes.contains("\r\n402\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n5.250\r\n"));

    // Spoil the set in memory, then load it back.
    TQv1mSet& set = *page;
    const TQv1mSet saved = set;
    set = TQv1mSet{};
    click("Button15");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(set, saved);
    QStringList after = pageState();
    after.replaceInStrings(QStringLiteral("StatusLabel2=") + kDone, QString());
    QStringList expected = before;
    expected.replaceInStrings(QStringLiteral("StatusLabel2=") + kDone, QString());
    EXPECT_EQ(after, expected);
}

TEST_F(Ri1rFileTest, SavingReplacesTheFileWhole) {
    writeAll(folder.path(), QByteArray(5000, 'x'));
    page->mQV1M_3[4].wTime6sec = 70000 % 65536;
    page->prQV1ControlsOn();
    page->iNumMode = 4;
    page->prQV1ShowMode(4);
    type("edT6secM3", "70000");
    click("Button14");
    EXPECT_EQ(status(), kDone);
    const QByteArray bytes = readAll(folder.path());
    EXPECT_EQ(bytes.size(), Qv1mFileBytes(*page).size());
    EXPECT_EQ(bytes, Qv1mFileBytes(*page));
    EXPECT_EQ(bytes.split('\n')[12 * 4 + 4 * 2 + 2 - 1], "4464\r");
    // The page names the file it wrote, so the technician can find it.
    EXPECT_EQ(text("FilePathEdit"), QDir::toNativeSeparators(folder.path()));
    // The voltage line is written but never shown: the page keeps its own Uацп.
    type("Volt2OporaEdit", "4");
    click("Button15");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(text("Volt2OporaEdit"), "4");
    EXPECT_EQ(page->mQV1M_s.rVolt, 4.0);
    EXPECT_EQ(text("edT6secM3"), QStringLiteral(" 4464"));
}

TEST_F(Ri1rFileTest, SaveThatCannotWriteTellsSoAndKeepsThePageUsable) {
    QDir().mkdir(folder.path()); // a folder where the file should go
    click("Button14");
    EXPECT_TRUE(status().startsWith(
        QStringLiteral("Статус: проблема с файлом: не удалось записать QV1M.ini")))
        << status().toStdString();
    EXPECT_FALSE(window->fBlockPressKey);
    click("Button15");
    EXPECT_EQ(status(), QStringLiteral("Статус: проблема с файлом: это не обычный файл"));
    EXPECT_FALSE(window->fBlockPressKey);
}

TEST_F(Ri1rFileTest, DamagedFilesChangeNothing) {
    TQv1mSet other;
    fillMemory(other);
    other.mQV1M_s.rVolt = 5.25;
    const QByteArray good = Qv1mFileBytes(other);
    page->mQV1M_1[0].wTimePrevOn = 42;
    page->prQV1ShowMode(0);
    const TQv1mSet before = *page;
    const QStringList shown = pageState();

    click("Button15");
    EXPECT_EQ(status(), QStringLiteral("Статус: проблема с файлом")); // no file at all

    struct Case {
        QByteArray bytes;
        QString status;
    };
    QByteArray nonNumeric = good;
    nonNumeric.replace("\r\n131\r\n", "\r\nabc\r\n"); // mode 2, channel 3, Ton: line 21
    QByteArray outOfRange = good;
    outOfRange.replace("\r\n1023\r\n", "\r\n70000\r\n"); // line 94
    QByteArray binary = good;
    binary[200] = '\x01';
    const QList<Case> cases{
        {good.left(good.lastIndexOf("5.250")), QStringLiteral("Статус: в файле не хватает данных")},
        {nonNumeric, QStringLiteral("Статус: проблема с файлом: строка 21 — не число")},
        {outOfRange,
         QStringLiteral("Статус: проблема с файлом: строка 94 — число вне диапазона 0..65535")},
        {binary, QStringLiteral("Статус: проблема с файлом: это не текстовый файл")},
    };
    for (const Case& c : cases) {
        writeAll(folder.path(), c.bytes);
        click("Button15");
        EXPECT_EQ(status(), c.status);
        const TQv1mSet& now = *page;
        EXPECT_EQ(now, before) << c.status.toStdString();
        QStringList state = pageState();
        state.replaceInStrings(QRegularExpression(QStringLiteral("^StatusLabel2=.*")), QString());
        QStringList expected = shown;
        expected.replaceInStrings(QRegularExpression(QStringLiteral("^StatusLabel2=.*")),
                                  QString());
        EXPECT_EQ(state, expected);
        EXPECT_FALSE(window->fBlockPressKey);
    }
    // The same file whole loads.
    writeAll(folder.path(), good);
    click("Button15");
    EXPECT_EQ(status(), kDone);
    const TQv1mSet& loaded = *page;
    EXPECT_EQ(loaded, other);
}
