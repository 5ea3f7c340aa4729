// The captions of the RO-4D parameter pages, in one place: the pages set
// their labels from these tables, and the protocol and the command line name
// each parameter with them, so all three always say the same.
#pragma once

#include "devices/qv4m/param_codec.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>

// Which board generations show a value.
enum class TBoardShown { Both, Only1x, Only2x };

// A numeric entry: its edit and label on the page, the group it stands in
// (the page's caption when it stands in none), the label's text and the unit.
struct TRo4dValueCaption {
    const char* edit;
    const char* label;
    QString TQv4mParams::*field;
    const char* group;
    const char* caption;
    const char* unit;
    TBoardShown shown = TBoardShown::Both;
};

// An option box and its caption.
struct TRo4dOptionCaption {
    const char* box;
    bool TQv4mParams::*option;
    const char* group;
    const char* caption;
};

// A line-control box: its bit in the line-check word.
struct TRo4dLineCaption {
    const char* box;
    std::uint16_t bit;
    const char* caption;
};

// The two pages' captions.
QString Ro4dModePageCaption();  // "Параметры режима VI-4D"
QString Ro4dTimesPageCaption(); // "Времена, опции, напряжения VI-4D"
QString Ro4dLineGroupCaption(); // "Контроль линий по каналам"
// The times page's threshold groups, top to bottom.
QStringList Ro4dThresholdGroups();

// Both pages' numeric entries (the order in which the pages check them).
std::span<const TRo4dValueCaption> Ro4dValueCaptions();
// The times page's option boxes, then the mode page's dispatcher box.
std::span<const TRo4dOptionCaption> Ro4dOptionCaptions();
std::span<const TRo4dLineCaption> Ro4dLineCaptions();

bool ShownOnBoard(TBoardShown shown, bool board2x);
// The text of a caption table entry.
inline QString CaptionText(const char* text) {
    return QString::fromUtf8(text);
}

// The mode editor's items: the matrix rows (the first four also the main
// combos' items), the AND/OR groups, the Stop variant, the main mode, and
// the toggles' two states.
inline constexpr const char* kMatrixRowCaptions[] = {"K1", "O+", "K3", "Z+", "C1", "C3"};
inline constexpr const char* kOrAndCaptions[] = {"-", "И", "ИЛИ"};
inline constexpr const char* kStopVariantCaptions[] = {"Режим T_min6", "Набор условий"};
inline constexpr const char* kMainModeCaptions[] = {"M2 не используется",
                                                    "М2 - независимый от М1 канал управления",
                                                    "М2 включается после М1 через паузу T_min6"};
// items[index], or "—" for an index out of range (nothing selected).
QString CaptionItem(const char* const* items, int count, int index);
QString ToggleText(bool on); // "On" / "Off"

// The entry showing field, and its place in a difference list: the caption,
// after its group when it stands in one ("Линии кнопок: [В], порог, …").
const TRo4dValueCaption& Ro4dValueCaptionOf(QString TQv4mParams::*field);
QString Ro4dValuePlace(QString TQv4mParams::*field);
QString Ro4dOptionPlace(bool TQv4mParams::*option);
// Whether a group caption is one of the two pages' (the entry stands in no group).
bool IsRo4dPageCaption(const QString& group);
