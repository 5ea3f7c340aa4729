// The configuration file and the register export: bytes on disk, the
// overwrite question, and what a load puts back on the pages.
#include "pages_fixture.h"

#include "devices/qv4m/number_text.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/qv4m_mode_page.h"
#include "platform/user_folders.h"
#include "support/recording_interaction.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class Qv4mFilesTest : public Qv4mPagesTest {
protected:
    void SetUp() override {
        Qv4mPagesTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    void SaveAs(const QString& path) {
        user.saveFileAnswers.push_back(path);
        on("Button3")->click();
    }
    void Load(const QString& path) {
        user.openFileAnswers.push_back(path);
        on("Button4")->click();
    }
    QStringList Plain() const {
        QStringList t;
        for (const auto& m : user.messages)
            if (m.kind == QLatin1String("plain"))
                t << m.text;
        return t;
    }
    // The first lines only: a success names its file on the second.
    QStringList Told() const {
        QStringList t;
        for (const QString& text : Plain())
            t << text.section(QLatin1Char('\n'), 0, 0);
        return t;
    }

    RecordingInteraction user;
    QTemporaryDir dir;
};

} // namespace

TEST_F(Qv4mFilesTest, SavedDefaultsAreTheListedWords) {
    SaveAs(Path("defaults")); // the dialog's extension is added
    const QByteArray bytes = ReadAll(Path("defaults.qvf"));
    ASSERT_EQ(bytes.size(), 148);
    EXPECT_EQ(bytes.left(26), Bytes({0x0F, 0x00, 0x07, 0x00, 0x01, 0x00, 0x06, 0x00, 0x06,
                                     0x00, 0xF0, 0x00, 0x19, 0x00, 0x03, 0x00, 0x05, 0x00,
                                     0x0A, 0x00, 0x00, 0x00, 0xCD, 0x00, 0xE8, 0x00}));
    EXPECT_EQ(bytes.mid(48, 2), Bytes({0x55, 0x33})) << "word 24";
    EXPECT_EQ(bytes.mid(66, 4), Bytes({0x3C, 0x05, 0x1C, 0x05})) << "wFlagWork_M1, _M2";
    EXPECT_EQ(bytes.mid(132, 2), Bytes({0x01, 0x00})) << "unused signals dropped";
    EXPECT_EQ(Told(), QStringList{QStringLiteral("Успешно")});
    EXPECT_TRUE(user.messages.size() == 1) << "no question for a new file";
    EXPECT_EQ(user.messages[0].text.section(QLatin1Char('\n'), 1),
              QDir::toNativeSeparators(Path("defaults.qvf")))
        << "the file saved, in full";
}

TEST_F(Qv4mFilesTest, SaveThenLoadBringsThePagesBack) {
    setText("T_240_Edit", QStringLiteral("100"));
    setText("VoltHiBtnEdit", QStringLiteral("4,00"));
    setText("TimeMode3_Edit", QStringLiteral("44"));
    click("K3stop_M1_CheckBox");
    pages->ModePage->prPackModeWords();
    const auto savedWords = ModeWordsOf(*Relcon4);
    SaveAs(Path("a.qvf"));
    const QByteArray saved = ReadAll(Path("a.qvf"));

    setText("T_240_Edit", QStringLiteral("7"));
    setText("VoltHiBtnEdit", QStringLiteral("1.00"));
    setText("TimeMode3_Edit", QStringLiteral("1"));
    click("K3stop_M1_CheckBox");
    on("BlockFreeSignalCheckBox")->setChecked(false);
    Load(Path("a.qvf"));

    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("100"));
    EXPECT_EQ(text("VoltHiBtnEdit"), FormatVolts(4.00));
    EXPECT_EQ(text("TimeMode3_Edit"), QStringLiteral("44"));
    EXPECT_TRUE(checked("K3stop_M1_CheckBox"));
    EXPECT_TRUE(checked("BlockFreeSignalCheckBox"));
    EXPECT_EQ(ModeWordsOf(*Relcon4), savedWords);
    EXPECT_EQ(Told(), (QStringList{QStringLiteral("Успешно"), QStringLiteral("Успешно")}));
    EXPECT_FALSE(Relcon4->fNotSetCheckBoxs);
    // Saving again writes the same bytes.
    user.boxAnswers.push_back(IDYES);
    SaveAs(Path("a.qvf"));
    EXPECT_EQ(ReadAll(Path("a.qvf")), saved);
}

// Codes that two-decimal volts do not lead back to (1000 shows as 4.89 V on
// a 5.00 V reference, which is 1001): loaded and saved unchanged, the file
// keeps them; an edited entry is converted from its volts.
TEST_F(Qv4mFilesTest, LoadedCodesAreSavedBackAsTheyWere) {
    SaveAs(Path("a.qvf"));
    QByteArray file = ReadAll(Path("a.qvf"));
    ASSERT_EQ(file.size(), 148);
    for (const auto& [word, code] : {std::pair{wBut_Lvl_DO, 1000}, std::pair{wSig_Lvl_SC, 1001}}) {
        file[2 * word] = static_cast<char>(code & 0xFF);
        file[2 * word + 1] = static_cast<char>(code >> 8);
    }
    Put(Path("a.qvf"), file);
    Load(Path("a.qvf"));
    EXPECT_EQ(text("VoltHiBtnEdit"), FormatVolts(4.89));
    user.boxAnswers.push_back(IDYES);
    SaveAs(Path("a.qvf"));
    EXPECT_EQ(ReadAll(Path("a.qvf")), file);

    setText("VoltHiBtnEdit", QStringLiteral("4,89"));
    user.boxAnswers.push_back(IDYES);
    SaveAs(Path("a.qvf"));
    EXPECT_EQ(mParamRegs[wBut_Lvl_DO], 1001) << "typed: converted";
    EXPECT_EQ(mParamRegs[wSig_Lvl_SC], 1001);
}

TEST_F(Qv4mFilesTest, DialogsOpenInTheFolderUsedLastAcrossRuns) {
    const QString folder = dir.filePath(QStringLiteral("объект 7"));
    ASSERT_TRUE(QDir().mkpath(folder));
    SaveAs(folder + QStringLiteral("/a.qvf"));
    Load(QString()); // cancelled: remembers nothing
    Load(folder + QStringLiteral("/a.qvf"));
    ASSERT_EQ(user.fileDialogDirs.size(), 3u);
    EXPECT_EQ(user.fileDialogDirs[1], folder);
    EXPECT_EQ(user.fileDialogDirs[2], folder);
    // Kept in the user's config folder, so the next run starts there too.
    QSettings kept(platform::ConfigFolder() + QStringLiteral("/relcon4.conf"),
                   QSettings::IniFormat);
    EXPECT_EQ(kept.value(QStringLiteral("FileDialogs/lastFolder")).toString(), folder);
    // A folder that has gone falls back to the current one.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    Load(QString());
    EXPECT_EQ(user.fileDialogDirs.back(), QDir::currentPath());
}

TEST_F(Qv4mFilesTest, OverwriteOnlyOnYes) {
    Put(Path("old.qvf"), "old contents");
    mParamRegs[23] = 0x1234;
    user.boxAnswers.push_back(IDNO);
    SaveAs(Path("old.qvf"));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].kind, QStringLiteral("box"));
    EXPECT_EQ(user.messages[0].text, QStringLiteral("Такой файл уже есть. Перезаписать?"));
    EXPECT_EQ(user.messages[0].caption, QStringLiteral("Внимание"));
    EXPECT_EQ(user.messages[0].type, 36u);
    EXPECT_EQ(ReadAll(Path("old.qvf")), QByteArray("old contents"));
    EXPECT_EQ(mParamRegs[0], 0) << "No leaves the images as they were";

    user.boxAnswers.push_back(IDYES);
    SaveAs(Path("old.qvf"));
    const QByteArray bytes = ReadAll(Path("old.qvf"));
    ASSERT_EQ(bytes.size(), 148);
    EXPECT_EQ(bytes.mid(46, 2), Bytes({0x34, 0x12})) << "word 23 is kept";
    EXPECT_EQ(Told(), QStringList{QStringLiteral("Успешно")});
}

TEST_F(Qv4mFilesTest, SaveThatCannotBeWrittenSaysSoAndCreatesNothing) {
    Put(Path("plainfile"), "x");
    SaveAs(Path("plainfile") + QStringLiteral("/inside.qvf"));
    EXPECT_EQ(Plain(), QStringList{QStringLiteral("Запись не прошла")});
    EXPECT_EQ(ReadAll(Path("plainfile")), QByteArray("x"));
    EXPECT_EQ(mParamRegs[cKoncErrTime], 240) << "the images are still rebuilt";
}

TEST_F(Qv4mFilesTest, UnloadableFilesChangeNothing) {
    Put(Path("empty.qvf"), {});
    QDir(dir.path()).mkdir(QStringLiteral("folder.qvf"));
    setText("T_240_Edit", QStringLiteral("123"));
    for (const char* name : {"empty.qvf", "folder.qvf", "missing.qvf"})
        Load(Path(name));
    // An empty file is one of the wrong size, and says so.
    EXPECT_EQ(Plain(), (QStringList{QStringLiteral("Загрузка не прошла\nВ файле 0 байт, а в "
                                                   "файле конфигурации их 148"),
                                    QStringLiteral("Загрузка не прошла"),
                                    QStringLiteral("Загрузка не прошла")}));
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("123"));
    EXPECT_EQ(mParamRegs, TParamRegs{});
}

// The words a file holds are taken in file order (the compare and the write
// take only whole files), but the load refuses a file that is not whole.
TEST_F(Qv4mFilesTest, ShortAndLongFilesLoadNothing) {
    TParamRegs p{};
    TModeRegs m{};
    TExtraWords e{};
    m.fill(0x7777);
    e.fill(0x5555);
    // 66 bytes: the parameter image only; an odd 67th byte is not read.
    QByteArray data(66, '\0');
    data[10] = 100;
    EXPECT_EQ(LoadConfigWords(data + Bytes({0x99}), p, m, e), 33);
    EXPECT_EQ(p[5], 100);
    EXPECT_EQ(m[0], 0x7777);
    // A longer file: word 73 (the last extra word) and anything after stay.
    QByteArray full(160, '\x01');
    EXPECT_EQ(LoadConfigWords(full, p, m, e), 73);
    EXPECT_EQ(e[6], 0x0101);
    EXPECT_EQ(e[7], 0x5555);

    Put(Path("short.qvf"), data);
    Load(Path("short.qvf"));
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("240"));
    EXPECT_EQ(Plain(), QStringList{QStringLiteral("Загрузка не прошла\nВ файле 66 байт, а в "
                                                  "файле конфигурации их 148")});
}

// A file of any size but 148 bytes is refused with its size, and the pages
// and the images stay as the technician left them.
TEST_F(Qv4mFilesTest, DamagedFileIsRefusedAndThePagesStay) {
    setText("T_240_Edit", QStringLiteral("123"));
    setText("VoltHiBtnEdit", QStringLiteral("4,44"));
    setText("T_wait_Edit", QStringLiteral("9"));
    mParamRegs[23] = 0x1234;
    const auto shown = [this] {
        QStringList all;
        for (QWidget* tab : {modeTab, timesTab})
            for (QLineEdit* e : tab->findChildren<QLineEdit*>())
                all << e->objectName() + QLatin1Char('=') + e->text();
        return all;
    };
    const QStringList before = shown();
    const TRo4dImage images{mParamRegs, mModeRegs, mExtraWords};
    for (int size : {100, 147, 149, 200}) {
        SCOPED_TRACE(size);
        user.messages.clear();
        Put(Path("damaged.qvf"), QByteArray(size, '\x07'));
        Load(Path("damaged.qvf"));
        EXPECT_EQ(Plain(), QStringList{QStringLiteral("Загрузка не прошла\nВ файле %1 байт, а в "
                                                      "файле конфигурации их 148")
                                           .arg(size)});
        EXPECT_EQ(shown(), before);
        EXPECT_EQ((TRo4dImage{mParamRegs, mModeRegs, mExtraWords}), images);
    }
    // A whole file still loads.
    user.messages.clear();
    Put(Path("whole.qvf"), QByteArray(148, '\0'));
    Load(Path("whole.qvf"));
    EXPECT_EQ(Told(), QStringList{QStringLiteral("Успешно")});
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("0"));
}

TEST_F(Qv4mFilesTest, RegisterExportByteForByte) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    Put(Path("reg_xx.txt"), "stale");
    Qv4mCommandsOf(Relcon4)->Button2Click();
    const QByteArray text = ReadAll(Path("reg_xx.txt"));
    QDir::setCurrent(before);
    const char* expected = "        wFlagWork_M1 = 0x053C;\r\n"
                           "        wFlagWork_M2 = 0x051C;\r\n"
                           "        wTempV1a = 0x0001;\r\n"
                           "        wTempV2a = 0x1000;\r\n"
                           "        wTempV3a = 0x0040;\r\n"
                           "        wTempV4a = 0x2004;\r\n"
                           "        wTempV5a = 0x0000;\r\n"
                           "        wTempS3a = 0x0000;\r\n"
                           "        wTempS4a = 0x0000;\r\n"
                           "        wTempS5a = 0x0001;\r\n"
                           "        wTempS6a = 0x1000;\r\n"
                           "        wTempV1b = 0x0004;\r\n"
                           "        wTempV2b = 0x2000;\r\n"
                           "        wTempV3b = 0x0010;\r\n"
                           "        wTempV4b = 0x1001;\r\n"
                           "        wTempV5b = 0x0000;\r\n"
                           "        wTempS3b = 0x0000;\r\n"
                           "        wTempS4b = 0x0000;\r\n"
                           "        wTempS5b = 0x0004;\r\n"
                           "        wTempS6b = 0x2000;\r\n"
                           "        cNumTryIsSinus = 0x000F;\r\n"
                           "        cNumTryOff_R2 = 0x0007;\r\n"
                           "        bNsecWorkAfterBtnUp = 0x0001;\r\n"
                           "        wNsecWork_T_min6_M1 = 0x0006;\r\n"
                           "        wNsecWork_T_min6_M2 = 0x0006;\r\n"
                           "        cKoncErrTime = 0x00F0;\r\n"
                           "        cAntiDreb_ADC_B/10 = 0x0019;\r\n"
                           "        cAntiDreb_ADC_E/10 = 0x0003;\r\n"
                           "        cAntiDrebR = 0x0005;\r\n"
                           "        wNsecWork_T_end = 0x000A;\r\n"
                           "        cVolt_Lvl_L = 0x00CD;\r\n"
                           "        bVoltRef = 0x00E8;\r\n"
                           "        wBut_Lvl_DO = 0x03E1;\r\n"
                           "        wBut_Lvl_UD = 0x0373;\r\n"
                           "        wBut_Lvl_SC = 0x0300;\r\n"
                           "        wSig_Lvl_DO = 0x03E1;\r\n"
                           "        wSig_Lvl_UD = 0x0373;\r\n"
                           "        wSig_Lvl_SC = 0x0300;\r\n"
                           "        wFlag_Mode_1 = 0x1800;\r\n"
                           "        bNsecWorkAfterBtnUp_3 = 0x001E;\r\n"
                           "        bValue_T_wait = 0x0001;\r\n"
                           "        cVolt_Lvl_TimePeriod = 0x0078;\r\n"
                           "        wFlagCheck_But_Sig_SW_OZ = 0x3355;\r\n";
    EXPECT_EQ(text, QByteArray(expected));
    EXPECT_EQ(text.count('\n'), 43);
    EXPECT_EQ(Told(), QStringList{QStringLiteral("Успешно")});
    EXPECT_FALSE(Relcon4->fBlockPressKey);

    Relcon4->fBlockPressKey = true;
    QFile::remove(Path("reg_xx.txt"));
    QDir::setCurrent(dir.path());
    Qv4mCommandsOf(Relcon4)->Button2Click();
    QDir::setCurrent(before);
    EXPECT_FALSE(QFile::exists(Path("reg_xx.txt"))) << "busy: nothing happens";
}
