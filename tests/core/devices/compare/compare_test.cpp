// The compares as data: the unit's words against a file's, one change at a
// time, each named by its caption with both values in the page's units; a
// read that stopped part-way never matches; a damaged file is refused whole.
#include "devices/qv1m/qv1m_compare.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/ro4d_compare.h"

#include "ro4d_unit.h"

#include <QLocale>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Volts as the pages show them, with the system's decimal separator.
QString V(const char* text) {
    return QString::fromUtf8(text).replace(QLatin1Char('.'), QLocale::system().decimalPoint()) +
           QStringLiteral(" В");
}

TRo4dUnitImage FactoryUnit(sim::Ro4dBoard board) {
    TRo4dUnitImage unit;
    unit.versionRead = true;
    unit.bVers = board == sim::Ro4dBoard::V2 ? 0x21 : 0x19;
    unit.registers = sim::Ro4dUnit::FactoryRegisters(board);
    unit.pagesRead = kRo4dPageCount;
    return unit;
}

struct TRo4dCase {
    const char* name;
    std::function<void(TRo4dImage&)> change;
    // Empty place: the change is no difference as the unit keeps its words.
    const char* place;
    QString unit, file;
};

TEST(Ro4dCompare, EachChangeIsNamedOnceWithBothValues) {
    const TRo4dCase cases[] = {
        {"time", [](TRo4dImage& f) { f.params[9] = 12; },
         "[сек] - T_end - время работы после срабатывания концевика", "10 сек", "12 сек"},
        {"scaled time", [](TRo4dImage& f) { f.params[6] = 30; },
         "[мс] - Антидребезг для АЦП сигналов (нажаты кнопки K1, K3; SW, O, Z)", "500 мс",
         "600 мс"},
        {"voltage", [](TRo4dImage& f) { f.params[13] = 900; },
         "Линии кнопок: [В], порог, выше которого обрыв", V("3.20"), V("2.90")},
        {"code within one hundredth", [](TRo4dImage& f) { f.params[13] = 992; },
         "Линии кнопок: [В], порог, выше которого обрыв", V("3.20") + " (код 993)",
         V("3.20") + " (код 992)"},
        {"reference", [](TRo4dImage& f) { f.params[12] = 200; },
         "[В] - Опорное напряжение (исп-ся для расчёта коэф-тов, которые расчитываются данной "
         "программой по указанным значениям напряжений порогов)",
         V("3.30"), V("2.85")},
        {"byte word, high byte", [](TRo4dImage& f) { f.params[3] = 0x0106; }, "", "", ""},
        {"matrix cell", [](TRo4dImage& f) { f.mode[6] |= 0x0004; }, "М1, K3: Участие в Стоп", "нет",
         "да"},
        {"timer of M1", [](TRo4dImage& f) { f.mode[0] |= 0x0001; }, "М1: Активировать T_wait",
         "нет", "да"},
        {"stop variant of M2", [](TRo4dImage& f) { f.mode[1] |= 0x0002; }, "М2: Вариант для Стоп",
         "Набор условий", "Режим T_min6"},
        {"main mode", [](TRo4dImage& f) { f.params[19] |= 0x0004; }, "Режим М1/М2",
         "М2 - независимый от М1 канал управления", "M2 не используется"},
        {"option", [](TRo4dImage& f) { f.params[19] |= 0x0001; },
         "Нормально замкнутые кнопки (K1, K3)", "нет", "да"},
        {"bit no control shows", [](TRo4dImage& f) { f.params[19] |= 0x2000; },
         "wFlag_Mode_1 (слово параметров 19)", "0x1800", "0x3800"},
        {"line control", [](TRo4dImage& f) { f.params[24] &= ~0x0001; },
         "Контроль линий по каналам: K1", "да", "нет"},
        {"board switch", [](TRo4dImage& f) { f.params[24] ^= 0x0400; }, "", "", ""},
        {"words only files keep",
         [](TRo4dImage& f) { f.params[30] = 5, f.mode[25] = 1, f.extra[0] = 1; }, "", "", ""},
    };
    const TRo4dUnitImage unit = FactoryUnit(sim::Ro4dBoard::V2);
    for (const TRo4dCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRo4dImage file = unit.image();
        c.change(file);
        const TCompareResult r = CompareRo4d(unit, file, Ro4dFileSide());
        ASSERT_TRUE(r.complete);
        if (!*c.place) {
            EXPECT_TRUE(r.equal()) << r.differences.value(0).place.toStdString();
            EXPECT_EQ(r.verdict(), QStringLiteral("Совпадает"));
            continue;
        }
        ASSERT_EQ(r.differences.size(), 1) << CompareResultText(r).toStdString();
        EXPECT_EQ(r.differences[0], (TDifference{QString::fromUtf8(c.place), c.unit, c.file}));
        EXPECT_EQ(r.verdict(), QStringLiteral("Различий: 1"));
    }
}

TEST(Ro4dCompare, OlderBoardHasOneTestLimitUnderItsOwnCaption) {
    const TRo4dUnitImage unit = FactoryUnit(sim::Ro4dBoard::V1);
    TRo4dImage file = unit.image();
    file.params[10] = 729; // a 2.x board's limit: this board neither keeps nor shows it
    file.params[11] = 100;
    const TCompareResult r = CompareRo4d(unit, file, Ro4dFileSide());
    ASSERT_EQ(r.differences.size(), 1);
    EXPECT_EQ(r.differences[0].place,
              "[В], нижний предел при тесте M1/M2, через (10 + 11.5/2) мкс от начала импульса");
}

TEST(Ro4dCompare, ReadThatStoppedComparesWhatCameAndNeverMatches) {
    TRo4dUnitImage unit = FactoryUnit(sim::Ro4dBoard::V2);
    TRo4dImage file = unit.image();
    file.params[9] = 12;   // page 1: read
    file.params[16] = 1;   // page 2: never came
    file.mode[6] = 0x0004; // page 4: never came
    unit.pagesRead = 2;
    TCompareResult r = CompareRo4d(unit, file, Ro4dFileSide());
    EXPECT_FALSE(r.complete);
    EXPECT_FALSE(r.equal());
    ASSERT_EQ(r.differences.size(), 1);
    EXPECT_EQ(r.differences[0].right, "12 сек");
    EXPECT_EQ(r.verdict(), "Сравнение неполное: устройство не ответило на чтение страницы 2 "
                           "(считано страниц: 2 из 7)");

    unit.versionRead = false;
    r = CompareRo4d(unit, unit.image(), Ro4dFileSide());
    EXPECT_FALSE(r.equal());
    EXPECT_TRUE(r.differences.isEmpty());
}

TEST(Ro4dCompare, FileOfAnyOtherLengthIsRefusedWhole) {
    const QByteArray whole =
        ConfigFileBytes(TParamRegs{1}, TModeRegs{2}, TExtraWords{3, 0, 0, 0, 0, 0, 0, 7});
    for (qsizetype size : {0, 1, 146, 147, 149, 300}) {
        TRo4dImage image;
        QString reason;
        QByteArray data = whole.left(size);
        data.append(QByteArray(std::max<qsizetype>(0, size - whole.size()), '\0'));
        EXPECT_FALSE(ParseConfigImage(data, image, reason)) << size;
        EXPECT_TRUE(reason.contains(QString::number(size))) << reason.toStdString();
        EXPECT_EQ(image, TRo4dImage{}) << "nothing taken from a refused file";
    }
    TRo4dImage image;
    QString reason;
    ASSERT_TRUE(ParseConfigImage(whole, image, reason));
    EXPECT_EQ(image.params[0], 1);
    EXPECT_EQ(image.mode[0], 2);
    EXPECT_EQ(image.extra[7], 7) << "a compare takes the last word too";
}

TQv1mSet SampleSet() {
    TQv1mSet s;
    for (int c = 1; c <= kQv1ChannelCount; ++c)
        for (auto& r : s.channel(c))
            r = {10, 20, 30, 0x02};
    s.mQV1M_s = {5, 5, 5, 0, 5.25, 293, 400, 878};
    return s;
}

TQv1mUnitRead WholeRead(const TQv1mSet& set) {
    TQv1mUnitRead read;
    read.session = read.delays = read.voltFlags = true;
    read.modes.fill(true);
    read.set = set;
    return read;
}

struct TRi1rCase {
    const char* name;
    std::function<void(TQv1mSet&)> change;
    TDifference expected;
};

TEST(Ri1rCompare, EachChangeIsNamedByModeChannelAndField) {
    const TRi1rCase cases[] = {
        {"time",
         [](TQv1mSet& s) { s.mQV1M_2[2].wTimePrevOn = 11; },
         {"Режим 3, канал 2: Ton", "10", "11"}},
        {"relay control",
         [](TQv1mSet& s) { s.mQV1M_1[0].bFlag |= 0x01; },
         {"Режим 1, канал 1: Управление реле", "удержание", "попеременно"}},
        {"relay work",
         [](TQv1mSet& s) { s.mQV1M_3[6].bFlag = 0; },
         {"Режим 7, канал 3: Работа реле", "по времени", "по кнопке"}},
        {"hidden flag bits",
         [](TQv1mSet& s) { s.mQV1M_3[6].bFlag |= 0x40; },
         {"Режим 7, канал 3: флаги, биты 4–7", "0x0000", "0x0040"}},
        {"fault delay",
         [](TQv1mSet& s) { s.mQV1M_s.bTimePausePrevErr_K2 = 7; },
         {"Время до аварии, [ сек ]: K2", "5 сек", "7 сек"}},
        {"common flag",
         [](TQv1mSet& s) { s.mQV1M_s.bFlagMode_E = 0x02; },
         {"Инверсия входов O+ и Z+", "нет", "да"}},
        {"threshold",
         [](TQv1mSet& s) { s.mQV1M_s.wBut_Lvl_DO = 300; },
         {"Напряжения порогов: Umin", V("1.50"), V("1.54")}},
    };
    const TQv1mUnitRead unit = WholeRead(SampleSet());
    for (const TRi1rCase& c : cases) {
        SCOPED_TRACE(c.name);
        TQv1mSet file = SampleSet();
        c.change(file);
        const TCompareResult r = CompareRi1r(unit, file, QStringLiteral("Файл"), 5.25);
        ASSERT_EQ(r.differences.size(), 1) << CompareResultText(r).toStdString();
        EXPECT_EQ(r.differences[0], c.expected);
    }
    TQv1mSet file = SampleSet();
    file.mQV1M_s.rVolt = 4.0; // kept by no unit
    EXPECT_EQ(CompareRi1r(unit, file, QStringLiteral("Файл"), 5.25).verdict(), "Совпадает");
}

TEST(Ri1rCompare, ScopeAndReadThatStopped) {
    TQv1mSet file = SampleSet();
    file.mQV1M_1[1].wTime6sec = 99;
    file.mQV1M_1[4].wTime6sec = 99;
    TQv1mUnitRead unit = WholeRead(SampleSet());
    // The check of one written mode looks at that mode only.
    TCompareResult r = CompareRi1r(unit, file, "Записано", 5.25, TQv1mScope::OneMode(4));
    ASSERT_EQ(r.differences.size(), 1);
    EXPECT_EQ(r.differences[0].place, "Режим 5, канал 1: T6sec");

    unit.modes[4] = unit.modes[5] = unit.modes[6] = unit.delays = unit.voltFlags = false;
    r = CompareRi1r(unit, file, "Файл", 5.25);
    EXPECT_FALSE(r.equal());
    EXPECT_EQ(r.differences.size(), 1) << "mode 2 was read, mode 5 was not";
    EXPECT_EQ(r.verdict(), "Сравнение неполное: устройство не ответило на чтение режима 5");
}

} // namespace
