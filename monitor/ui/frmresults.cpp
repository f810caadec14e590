#include "monitor/ui/frmresults.h"

#include "monitor/rundownlogmodel.h"

#include <QHeaderView>
#include <QTableView>
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
    model_ = new RundownLogModel(this);
    flxRundown = new QTableView(this);
    flxRundown->setObjectName(QStringLiteral("flxRundown"));
    flxRundown->setModel(model_);
    flxRundown->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flxRundown->verticalHeader()->setVisible(false);
    // Every row is one line of text: the grid need not measure each row of a long log.
    flxRundown->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    flxRundown->setMinimumSize(GridWidth, GridHeight);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(flxRundown);
}

void frmResults::showRows(RundownLogRows rows) {
    model_->setRows(std::move(rows));
    // Column widths are measured on the first rows only (the header's resize precision), not all of them.
    flxRundown->resizeColumnsToContents();
}

QList<QStringList> frmResults::rows() const {
    QList<QStringList> rows;
    QStringList heading;
    for (int c = 0; c < Columns; ++c)
        heading.append(model_->headerData(c, Qt::Horizontal).toString());
    rows.append(heading);
    for (int r = 0; r < model_->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < Columns; ++c)
            row.append(model_->index(r, c).data().toString());
        rows.append(row);
    }
    return rows;
}

} // namespace monitor
