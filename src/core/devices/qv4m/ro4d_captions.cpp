#include "devices/qv4m/ro4d_captions.h"

namespace {

const char* const kModePage = "Параметры режима VI-4D";
const char* const kTimesPage = "Времена, опции, напряжения VI-4D";
const char* const kButtons = "Линии кнопок";
const char* const kSignals = "Линии сигналов концевиков";
const char* const kTestLine = "Линия тестирования М1/М2";

using P = TQv4mParams;

const TRo4dValueCaption kValues[] = {
    {"TimeSearchSinusEdit", "TimeSearchSinusLabel", &P::TimeSearchSinus, kTimesPage,
     "[1], [мс] - Отслеживание синусов напряжений: Vl, Vu, Vu1; def=1,5 цикла от 50 Гц", "мс"},
    {"NumOfCycleReleSwitchEdit", "NumOfCycleReleSwitchLabel", &P::NumOfCycleReleSwitch, kTimesPage,
     "[2], [шт] - Число циклов ожидания переключения реле К2, K3", "шт"},
    {"TimeAntidrebReleEdit", "TimeAntidrebReleLabel", &P::TimeAntidrebRele, kTimesPage,
     "[3], [мс] - Антидребезг переключения реле", "мс"},
    {"TimeAntidrebADC_Edit", "TimeAntidrebADC_Label", &P::TimeAntidrebADC, kTimesPage,
     "[мс] - Антидребезг для АЦП сигналов (нажаты кнопки K1, K3; SW, O, Z)", "мс"},
    {"TimeAntidrebWarningEdit", "TimeAntidrebWarningLabel", &P::TimeAntidrebWarning, kTimesPage,
     "[мс] - Антидребезг определения аварийных состояний K1, K3, C1, C3", "мс"},
    {"PeriodTimeTestEdit", "PeriodTimeTestLabel", &P::PeriodTimeTest, kTimesPage,
     "[с] - Период тестирования питающих линий M1/M2", "с"},
    {"TimeMode3_Edit", "TimeMode3_Label", &P::TimeMode3, kTimesPage,
     "[с] - T_mode3 - время работы М1 после отпускания К3 (режим работы по switch_3)", "с"},
    {"T_off_Edit", "T_off_Label", &P::T_off, kModePage,
     "[сек] - T_off - время работы привода после снятия управляющих сигналов", "сек"},
    {"T_min6a_Edit", "Tmin6M1Label", &P::T_min6a, "М1", "[сек] - T_min6", "сек"},
    {"T_min6b_Edit", "Tmin6M2Label", &P::T_min6b, "М2", "[сек] - T_min6", "сек"},
    {"T_240_Edit", "T_240_Label", &P::T_240, kModePage,
     "[сек] - T_240 - таймаут ожидания концевика; заклинивание привода", "сек"},
    {"T_end_Edit", "T_end_Label", &P::T_end, kModePage,
     "[сек] - T_end - время работы после срабатывания концевика", "сек"},
    {"T_wait_Edit", "T_wait_Label", &P::T_wait, kModePage,
     "[сек] - T_wait - пауза перед включением M1/M2", "сек"},
    {"VoltOporaEdit", "VoltOporaLabel", &P::VoltOpora, kTimesPage,
     "[В] - Опорное напряжение (исп-ся для расчёта коэф-тов, которые расчитываются данной "
     "программой по указанным значениям напряжений порогов)",
     "В"},
    {"VoltLowTestMotorEdit", "Label19", &P::VoltLowTestMotor, kTimesPage,
     "[В], нижний предел при тесте M1/M2, через (10 + 11.5/2) мкс от начала импульса", "В",
     TBoardShown::Only1x},
    {"VoltHiBtnEdit", "VoltHiBtnLabel", &P::VoltHiBtn, kButtons, "[В], порог, выше которого обрыв",
     "В"},
    {"VoltDnBtnEditEdit", "VoltDnBtnLabel", &P::VoltDnBtn, kButtons,
     "[В], порог, выше которого кнопка отпущена, ниже - нажата", "В"},
    {"VoltLoBtnEdit", "VoltLoBtnLabel", &P::VoltLoBtn, kButtons, "[В], порог, ниже которого К.З.",
     "В"},
    {"VoltHiSigEditEdit", "VoltHiSigLabel", &P::VoltHiSig, kSignals,
     "[В], порог, выше которого обрыв", "В"},
    {"VoltDnSigEditEdit", "VoltDnSigLabel", &P::VoltDnSig, kSignals,
     "[В], порог, выше которого нет сигнала концевика, ниже - есть сигнал", "В"},
    {"VoltLoSigEditEdit", "VoltLoSigLabel", &P::VoltLoSig, kSignals,
     "[В], порог, ниже которого К.З.", "В"},
    {"Edit1", "Edit1Label", &P::Edit1, kTestLine, "[В], порог, выше которого обрыв", "В",
     TBoardShown::Only2x},
    {"Edit2", "Edit2Label", &P::Edit2, kTestLine, "[В], порог, ниже которого К.З.", "В",
     TBoardShown::Only2x},
};

const TRo4dOptionCaption kOptions[] = {
    {"CheckBox1", &P::CheckBox1, kTimesPage, "Нормально замкнутые кнопки (K1, K3)"},
    {"NoWaitOffBtnCheckBox", &P::NoWaitOffBtn, kTimesPage,
     "Отключить фазу гарантированного отпускания всех кнопок/сигналов"},
    {"CheckBox16", &P::CheckBox16, kTimesPage,
     "Игнорировать ошибки теста в одном из каналов М1/M2"},
    {"BlockFreeSignalCheckBox", &P::BlockFreeSignal, kTimesPage,
     "Отключать незадействованные сигналы от проверки"},
    {"IfBadK3OffM1CheckBox", &P::IfBadK3OffM1, kTimesPage,
     "Отключать М1 во время работы при возникновении аварии по К3 (только для режима работы по "
     "switch_3)"},
    {"CheckBox19", &P::CheckBox19, kModePage,
     "Сигнал диспетчеру от одного концевика отключать при срабатывании другого концевика"},
};

const TRo4dLineCaption kLines[] = {
    {"K1_check_CheckBox", sig::K1, "K1"},     {"K3_check_CheckBox", sig::K3, "K3"},
    {"C1_check_CheckBox", sig::C1, "C1"},     {"C3_check_CheckBox", sig::C3, "C3"},
    {"Op_check_CheckBox", sig::Op, "O+"},     {"Zp_check_CheckBox", sig::Zp, "Z+"},
    {"CheckBox11", sig::Switch1, "switch 1"}, {"CheckBox12", sig::Switch2, "switch 2"},
    {"CheckBox13", sig::Switch3, "switch 3"}, {"CheckBox14", sig::Switch4, "switch 4"},
};

} // namespace

QString Ro4dModePageCaption() {
    return CaptionText(kModePage);
}

QString Ro4dTimesPageCaption() {
    return CaptionText(kTimesPage);
}

QString Ro4dLineGroupCaption() {
    return QStringLiteral("Контроль линий по каналам");
}

QStringList Ro4dThresholdGroups() {
    return {CaptionText(kButtons), CaptionText(kSignals), CaptionText(kTestLine)};
}

std::span<const TRo4dValueCaption> Ro4dValueCaptions() {
    return kValues;
}

std::span<const TRo4dOptionCaption> Ro4dOptionCaptions() {
    return kOptions;
}

std::span<const TRo4dLineCaption> Ro4dLineCaptions() {
    return kLines;
}

bool ShownOnBoard(TBoardShown shown, bool board2x) {
    return shown == TBoardShown::Both || (shown == TBoardShown::Only2x) == board2x;
}

QString CaptionItem(const char* const* items, int count, int index) {
    return index >= 0 && index < count ? CaptionText(items[index]) : QStringLiteral("—");
}

QString ToggleText(bool on) {
    return on ? QStringLiteral("On") : QStringLiteral("Off");
}

const TRo4dValueCaption& Ro4dValueCaptionOf(QString TQv4mParams::*field) {
    for (const TRo4dValueCaption& v : kValues)
        if (v.field == field)
            return v;
    qFatal("RO-4D captions: a field without an entry");
}

bool IsRo4dPageCaption(const QString& group) {
    return group == Ro4dModePageCaption() || group == Ro4dTimesPageCaption();
}

QString Ro4dValuePlace(QString TQv4mParams::*field) {
    const TRo4dValueCaption& v = Ro4dValueCaptionOf(field);
    const QString group = CaptionText(v.group);
    return IsRo4dPageCaption(group) ? CaptionText(v.caption)
                                    : group + QStringLiteral(": ") + CaptionText(v.caption);
}

QString Ro4dOptionPlace(bool TQv4mParams::*option) {
    for (const TRo4dOptionCaption& o : kOptions)
        if (o.option == option)
            return CaptionText(o.caption);
    qFatal("RO-4D captions: an option without a box");
}
