#include "monitor/ui/frmresults.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace monitor {

namespace {
const QString Caption = QStringLiteral("Rundown Results");
constexpr int GridWidth = 900;
constexpr int GridHeight = 300;
} // namespace

frmResults::frmResults(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmResults"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);
    flxRundown = new QTableWidget(this);
    flxRundown->setObjectName(QStringLiteral("flxRundown"));
    flxRundown->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flxRundown->verticalHeader()->setVisible(false);
    flxRundown->setMinimumSize(GridWidth, GridHeight);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(flxRundown);
    reset();
}

void frmResults::reset() {
    flxRundown->clear();
    flxRundown->setColumnCount(Columns);
    flxRundown->setRowCount(1);
    flxRundown->setHorizontalHeaderLabels(QStringList(Columns, QString()));
}

void frmResults::showRows(const QList<QStringList>& rows) {
    reset();
    if (rows.isEmpty())
        return;
    flxRundown->setHorizontalHeaderLabels(rows.first().mid(0, Columns));
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const int row = int(r) - 1;
        if (row >= flxRundown->rowCount())
            flxRundown->insertRow(row);
        for (int c = 0; c < Columns && c < rows[r].size(); ++c)
            flxRundown->setItem(row, c, new QTableWidgetItem(rows[r][c]));
    }
    flxRundown->resizeColumnsToContents();
}

QList<QStringList> frmResults::rows() const {
    QList<QStringList> rows;
    QStringList heading;
    for (int c = 0; c < Columns; ++c) {
        const QTableWidgetItem* item = flxRundown->horizontalHeaderItem(c);
        heading.append(item ? item->text() : QString());
    }
    rows.append(heading);
    for (int r = 0; r < flxRundown->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < Columns; ++c) {
            const QTableWidgetItem* item = flxRundown->item(r, c);
            row.append(item ? item->text() : QString());
        }
        rows.append(row);
    }
    return rows;
}

} // namespace monitor
