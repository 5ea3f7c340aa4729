#include "archive/archive_model.h"

#include "archive/archive_store.h"

namespace {

constexpr int kBatch = 200;

const QString kHeaders[] = {
    QStringLiteral("Время"),      QStringLiteral("Блок"),       QStringLiteral("Операция"),
    QStringLiteral("Результат"),  QStringLiteral("Объект"),     QStringLiteral("Порт"),
    QStringLiteral("Устройство"), QStringLiteral("Примечание"),
};

} // namespace

TArchiveModel::TArchiveModel(QObject* parent) : QAbstractTableModel(parent) {}

void TArchiveModel::Show(TArchiveStore* store, const TArchiveFilter& filter) {
    beginResetModel();
    store_ = store;
    filter_ = filter;
    rows_.clear();
    total_ = store_ ? store_->Count(filter_) : 0;
    if (store_)
        rows_ = store_->List(filter_, 0, kBatch);
    endResetModel();
}

int TArchiveModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TArchiveModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::size(kHeaders));
}

QVariant TArchiveModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size() || role != Qt::DisplayRole)
        return {};
    const TArchiveRecord& r = rows_[index.row()];
    switch (index.column()) {
    case 0:
        return r.time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    case 1:
        return ArchiveUnitCaption(r.unit);
    case 2:
        return r.operation;
    case 3:
        return r.result;
    case 4:
        return r.object;
    case 5:
        return r.port;
    case 6:
        return r.ident;
    default:
        return r.note;
    }
}

QVariant TArchiveModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return kHeaders[section];
}

bool TArchiveModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && store_ && rows_.size() < total_;
}

void TArchiveModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    const QList<TArchiveRecord> more =
        store_->List(filter_, static_cast<int>(rows_.size()), kBatch);
    if (more.isEmpty()) {
        total_ = static_cast<int>(rows_.size());
        return;
    }
    beginInsertRows({}, static_cast<int>(rows_.size()),
                    static_cast<int>(rows_.size() + more.size() - 1));
    rows_ += more;
    endInsertRows();
}
