#pragma once
// frmResults ("Rundown Results"): the run screen's rundown log in a grid of 13 columns (flxRundown). The
// first row of the log names the columns; each further row is one rundown. One shared window.

#include <QList>
#include <QStringList>
#include <QWidget>

class QTableWidget;

namespace monitor {

class frmResults : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 13;

    explicit frmResults(QWidget* parent = nullptr);

    // Shows the rows of a log: the first names the columns, the others follow. The grid is emptied first.
    void showRows(const QList<QStringList>& rows);
    // The grid as rows of texts, the heading first (the grid has at least the heading and one row).
    QList<QStringList> rows() const;

private:
    void reset();

    QTableWidget* flxRundown = nullptr;
};

} // namespace monitor
