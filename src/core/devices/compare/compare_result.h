// The outcome of comparing a unit with a file, with the page or with what was
// just written to it: every difference named as the page names it, both
// values in the page's units. Plain data; no widgets.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

struct TDifference {
    QString place; // the parameter's caption on the page, with its group, mode or channel
    QString left;  // the unit's value
    QString right; // the other side's value
    bool operator==(const TDifference&) const = default;
};

struct TCompareResult {
    QString leftName = QStringLiteral("Устройство");
    QString rightName;
    QList<TDifference> differences;
    // False when the unit could not be read to the end: what was read is
    // compared, but the verdict never says the two sides match.
    bool complete = true;
    QString incompleteReason;
    // What is compared as the unit keeps it, and what is not compared.
    QStringList notes;

    bool equal() const { return complete && differences.isEmpty(); }
    // "Совпадает", "Различий: N" or "Сравнение неполное: ...".
    QString verdict() const;
};

// The word for the two sides matching.
QString MatchText();

// "да"/"нет" for a check box, the way the difference lists show one.
QString CheckedText(bool checked);

// The status line after a compare: "Статус: совпадает", "Статус: различий: N"
// or "Статус: ошибка, сравнение неполное".
QString CompareStatusText(const TCompareResult& result);
// The status line after a write and its check: the write's own success text,
// then whether the unit holds what was written.
QString VerifyStatusText(const TCompareResult& result, const QString& writeDone);

// A raw word, for what no control of the page shows: "0x053C".
QString HexWordText(std::uint16_t word);

// Plain text for a terminal: the verdict, one line per difference, the notes.
QString CompareResultText(const TCompareResult& result);
// The same as a JSON object: equal, complete, reason, differences, notes.
QByteArray CompareResultJson(const TCompareResult& result);
