// The 400 rows of the log list: the texts as last filled, and the colour of
// each row asked from the window that draws them.
#pragma once

#include "exchange/log_state.h"

#include <QAbstractListModel>
#include <array>
#include <functional>

class TLogListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TLogListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The row texts, for the writer to fill between rowsFilled() calls.
    std::array<QString, kLogLines>& rows() { return rows_; }
    // Tells the view that every row may have changed: one repaint per refresh.
    void rowsFilled();
    void setRowColor(std::function<QColor(int)> rowColor) { rowColor_ = std::move(rowColor); }
    // Text shown in front of a row (the time of its line), or nothing.
    void setRowPrefix(std::function<QString(int)> rowPrefix) { rowPrefix_ = std::move(rowPrefix); }

private:
    std::array<QString, kLogLines> rows_;
    std::function<QColor(int)> rowColor_;
    std::function<QString(int)> rowPrefix_;
};
