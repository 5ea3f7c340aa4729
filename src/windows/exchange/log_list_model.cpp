#include "exchange/log_list_model.h"

#include <QBrush>

TLogListModel::TLogListModel(QObject* parent) : QAbstractListModel(parent) {}

int TLogListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kLogLines;
}

QVariant TLogListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= kLogLines)
        return {};
    if (role == Qt::DisplayRole)
        return rowPrefix_ ? rowPrefix_(index.row()) + rows_[index.row()] : rows_[index.row()];
    if (role == Qt::ForegroundRole && rowColor_)
        return QBrush(rowColor_(index.row()));
    return {};
}

void TLogListModel::rowsFilled() {
    emit dataChanged(index(0), index(kLogLines - 1));
}
