#include "devices/qv4m/ro4d_text.h"

#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/ro4d_captions.h"
#include "devices/qv4m/ro4d_error_bits.h"
#include "devices/qv4m/ro4d_read_decode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

// The name scripts know a value by (JSON "name"); its caption and unit are
// the pages' own (ro4d_captions.h).
struct TShownValue {
    const char* name; // the page's control, without "Edit"
    QString TQv4mParams::*field;
};

// The values a read puts on the pages, in the order of the pages.
const TShownValue kShown[] = {
    {"TimeSearchSinus", &TQv4mParams::TimeSearchSinus},
    {"NumOfCycleReleSwitch", &TQv4mParams::NumOfCycleReleSwitch},
    {"TimeAntidrebRele", &TQv4mParams::TimeAntidrebRele},
    {"TimeAntidrebADC", &TQv4mParams::TimeAntidrebADC},
    {"TimeAntidrebWarning", &TQv4mParams::TimeAntidrebWarning},
    {"VoltOpora", &TQv4mParams::VoltOpora},
    {"VoltLowTestMotor", &TQv4mParams::VoltLowTestMotor},
    {"Edit1", &TQv4mParams::Edit1},
    {"Edit2", &TQv4mParams::Edit2},
    {"VoltHiBtn", &TQv4mParams::VoltHiBtn},
    {"VoltDnBtn", &TQv4mParams::VoltDnBtn},
    {"VoltLoBtn", &TQv4mParams::VoltLoBtn},
    {"VoltHiSig", &TQv4mParams::VoltHiSig},
    {"VoltDnSig", &TQv4mParams::VoltDnSig},
    {"VoltLoSig", &TQv4mParams::VoltLoSig},
    {"T_off", &TQv4mParams::T_off},
    {"T_min6a", &TQv4mParams::T_min6a},
    {"T_min6b", &TQv4mParams::T_min6b},
    {"T_240", &TQv4mParams::T_240},
    {"T_end", &TQv4mParams::T_end},
    {"T_wait", &TQv4mParams::T_wait},
    {"TimeMode3", &TQv4mParams::TimeMode3},
    {"PeriodTimeTest", &TQv4mParams::PeriodTimeTest},
};

struct TDecoded {
    TQv4mParams params;
    int mainMode = 0;
    TReadCarry carry;
    std::uint8_t bVers = 0;
};

std::array<std::uint16_t, kRo4dPageWords> pageWords(const TRo4dUnitImage& image, int page) {
    std::array<std::uint16_t, kRo4dPageWords> words{};
    std::copy_n(image.registers.begin() + page * kRo4dPageWords, kRo4dPageWords, words.begin());
    return words;
}

// The pages decoded as the page decodes a read.
TDecoded decode(const TRo4dUnitImage& image) {
    TDecoded d;
    d.bVers = image.bVers;
    const double volts = BoardVoltOpora(d.bVers);
    for (int page = 0; page < image.pagesRead; ++page)
        DecodeReadPage(page, pageWords(image, page), volts, IsBoard2x(d.bVers), d.params,
                       d.mainMode, d.carry);
    return d;
}

QString boardText(std::uint8_t bVers) {
    return QStringLiteral("%1.%2").arg(bVers >> 4).arg(bVers & 0x0F);
}

} // namespace

QString Ro4dImageText(const TRo4dUnitImage& image) {
    const TDecoded d = decode(image);
    QStringList lines{QStringLiteral("Версия: ") + image.version};
    for (const TShownValue& v : kShown) {
        const QString value = d.params.*v.field;
        const TRo4dValueCaption& c = Ro4dValueCaptionOf(v.field);
        if (!value.isEmpty())
            lines << QStringLiteral("%1: %2 %3")
                         .arg(Ro4dValuePlace(v.field), value, CaptionText(c.unit));
    }
    lines << QStringLiteral("wFlag_Mode_1 = 0x%1").arg(d.carry.flagMode1, 4, 16, QLatin1Char('0'));
    return lines.join(QLatin1Char('\n'));
}

QString Ro4dImageJson(const TRo4dUnitImage& image) {
    const TDecoded d = decode(image);
    QJsonArray parameters;
    for (const TShownValue& v : kShown) {
        const QString value = d.params.*v.field;
        const TRo4dValueCaption& c = Ro4dValueCaptionOf(v.field);
        if (!value.isEmpty())
            parameters.append(QJsonObject{{QStringLiteral("name"), QLatin1String(v.name)},
                                          {QStringLiteral("caption"), Ro4dValuePlace(v.field)},
                                          {QStringLiteral("value"), value},
                                          {QStringLiteral("unit"), CaptionText(c.unit)}});
    }
    QJsonArray pages;
    for (int page = 0; page < image.pagesRead; ++page) {
        QJsonArray row;
        for (std::uint16_t w : pageWords(image, page))
            row.append(w);
        pages.append(row);
    }
    QJsonArray modeWords;
    for (std::uint16_t w : d.carry.modeWords)
        modeWords.append(w);
    const QJsonObject root{
        {QStringLiteral("version"), image.version},
        {QStringLiteral("versionRead"), image.versionRead},
        {QStringLiteral("board"), boardText(d.bVers)},
        {QStringLiteral("parameters"), parameters},
        {QStringLiteral("mainMode"), d.mainMode},
        {QStringLiteral("wFlag_Mode_1"), d.carry.flagMode1},
        {QStringLiteral("modeWords"), modeWords},
        {QStringLiteral("pages"), pages},
    };
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)).trimmed();
}

QString Ro4dErrorsText(const TRo4dErrors& errors) {
    QStringList lines{QStringLiteral("wErr1 = 0x%1, wErr2 = 0x%2, bVoltErr = 0x%3")
                          .arg(errors.wErr1, 4, 16, QLatin1Char('0'))
                          .arg(errors.wErr2, 4, 16, QLatin1Char('0'))
                          .arg(errors.bVoltErr, 2, 16, QLatin1Char('0'))};
    for (const TRo4dErrorBit& bit : Ro4dErrorBits())
        if (Ro4dErrorBitSet(errors, bit))
            lines << bit.group + QStringLiteral(": ") + bit.caption;
    return lines.join(QLatin1Char('\n'));
}

QString Ro4dErrorsJson(const TRo4dErrors& errors) {
    QJsonArray set;
    for (const TRo4dErrorBit& bit : Ro4dErrorBits())
        if (Ro4dErrorBitSet(errors, bit))
            set.append(QJsonObject{{QStringLiteral("group"), bit.group},
                                   {QStringLiteral("caption"), bit.caption}});
    const QJsonObject root{{QStringLiteral("wErr1"), errors.wErr1},
                           {QStringLiteral("wErr2"), errors.wErr2},
                           {QStringLiteral("bVoltErr"), errors.bVoltErr},
                           {QStringLiteral("set"), set}};
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)).trimmed();
}
