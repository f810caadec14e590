#include "monitor/rundownlogmodel.h"

#include <algorithm>
#include <limits>

namespace monitor {

namespace {
// The grid shows at least one row under the heading, empty when the log holds no rundown.
constexpr int LeastRows = 1;
// The grid counts rows in an int; rows past that are not shown.
constexpr qsizetype MostRows = std::numeric_limits<int>::max();
} // namespace

RundownLogModel::RundownLogModel(QObject* parent) : QAbstractTableModel(parent) {}

void RundownLogModel::setRows(RundownLogRows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    heading_ = rows_.fields(0);
    cachedRow_ = -1;
    cachedFields_.clear();
    endResetModel();
}

int RundownLogModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return int(std::clamp<qsizetype>(rows_.size() - 1, LeastRows, MostRows));
}

int RundownLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RundownLogFile::Fields;
}

const QStringList& RundownLogModel::rowFields(qsizetype row) const {
    if (row != cachedRow_) {
        cachedFields_ = rows_.fields(row);
        cachedRow_ = row;
    }
    return cachedFields_;
}

QVariant RundownLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    // Grid row r is log row r + 1: the log's first row is the heading.
    const QStringList& fields = rowFields(qsizetype(index.row()) + 1);
    return index.column() < fields.size() ? fields[index.column()] : QString();
}

QVariant RundownLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section >= 0 && section < heading_.size() ? heading_[section] : QString();
}

} // namespace monitor
