#include "devices/qv1m/ri1r_captions.h"

QString Ri1rChannelCaption(int channel) {
    return QStringLiteral("Канал %1").arg(channel);
}

QString Ri1rPairCaption(int channel) {
    return QStringLiteral("K%1-K%2").arg(2 * channel - 1).arg(2 * channel);
}

QString Ri1rControlCaption() {
    return QStringLiteral("Управление реле");
}

QString Ri1rControlItem(bool alternate) {
    return alternate ? QStringLiteral("попеременно") : QStringLiteral("удержание");
}

QString Ri1rWorkCaption() {
    return QStringLiteral("Работа реле");
}

QString Ri1rWorkItem(bool byTime) {
    return byTime ? QStringLiteral("по времени") : QStringLiteral("по кнопке");
}

QString Ri1rFaultCheckCaption() {
    return QStringLiteral("контроль аварии");
}

QString Ri1rInverseCaption() {
    return QStringLiteral("инверсный");
}

QString Ri1rModesCaption() {
    return QStringLiteral("Настройки режимов");
}

QString Ri1rDelayCaption() {
    return QStringLiteral("Время до аварии, [ сек ]");
}

QString Ri1rFaultLatchCaption() {
    return QStringLiteral("Реле аварии не включается до сброса питания");
}

QString Ri1rInvertInputsCaption() {
    return QStringLiteral("Инверсия входов O+ и Z+");
}

QString Ri1rThresholdsCaption() {
    return QStringLiteral("Напряжения порогов");
}
