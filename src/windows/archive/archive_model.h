// The archive window's table: the records that pass the filter, newest
// first, fetched from the store a batch at a time as the view scrolls, so a
// large archive opens as fast as a small one.
#pragma once

#include "archive/archive_record.h"

#include <QAbstractTableModel>
#include <QList>

class TArchiveStore;

class TArchiveModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TArchiveModel(QObject* parent = nullptr);

    // The store and filter to show; refills from the first record.
    void Show(TArchiveStore* store, const TArchiveFilter& filter);
    // Records matching the filter in all, fetched or not.
    int Total() const { return total_; }
    // The record in a row, without its configuration.
    const TArchiveRecord& RecordAt(int row) const { return rows_[row]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    TArchiveStore* store_ = nullptr;
    TArchiveFilter filter_;
    QList<TArchiveRecord> rows_;
    int total_ = 0;
};
