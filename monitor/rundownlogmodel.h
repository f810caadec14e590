#pragma once
// The rundown log as the "Rundown Results" grid shows it: the log's first row names the 13 columns, every
// further row is one grid row, and a log with no rundowns shows one empty row. Cells are taken from the
// log's rows as the grid asks for them, so only the rows on screen are ever turned into text.

#include "monitor/runscreenlog.h"

#include <QAbstractTableModel>

namespace monitor {

class RundownLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RundownLogModel(QObject* parent = nullptr);

    // Shows another log in place of the one shown.
    void setRows(RundownLogRows rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // The fields of a log row, kept for the row asked for last: the grid asks for its cells one by one.
    const QStringList& rowFields(qsizetype row) const;

    RundownLogRows rows_;
    QStringList heading_;
    mutable qsizetype cachedRow_ = -1;
    mutable QStringList cachedFields_;
};

} // namespace monitor
