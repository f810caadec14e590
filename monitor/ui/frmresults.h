#pragma once
// frmResults ("Rundown Results"): the run screen's rundown log in a grid of 13 columns (flxRundown). The
// first row of the log names the columns; each further row is one rundown. One shared window.

#include "monitor/runscreenlog.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QTableView;

namespace monitor {

class RundownLogModel;

class frmResults : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = RundownLogFile::Fields;

    explicit frmResults(QWidget* parent = nullptr);

    // Shows the rows of a log in place of what the grid held: the first names the columns, the others
    // follow.
    void showRows(RundownLogRows rows);
    // The grid as rows of texts, the heading first (the grid has at least the heading and one row).
    QList<QStringList> rows() const;

private:
    QTableView* flxRundown = nullptr;
    RundownLogModel* model_ = nullptr;
};

} // namespace monitor
