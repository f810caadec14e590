#include "app/ui/frmoutput.h"

#include "app/ui/windowregistry.h"
#include "base/dialogs.h"
#include "base/textlines.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {
const QString Caption = QStringLiteral(" Brenstal");
// Characters and lines the window shows at first.
constexpr int ShownColumns = 56;
constexpr int ShownLines = 24;
// Room beside the text of a line: the list's frame and the item's margins, on both sides.
constexpr int LinePadding = 16;
} // namespace

bool saveOutputLines(const QStringList& lines, base::Dialogs& dialogs) {
    const QString path = dialogs.saveFileName(QStringLiteral("Save File"), OutputFileFilter, QString());
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path) &&
        !dialogs.askYesNoWithoutIcon(QStringLiteral("File Exists, Overwrite ?"), base::ProgramTitle))
        return false;
    if (QString error; !base::writeFileAtomically(path, base::joinLinesCrLf(lines), &error)) {
        dialogs.message(base::notWrittenText(QStringLiteral("Error - Data Not Stored"), path, error),
                        QStringLiteral("File Error"), base::MessageIcon::Critical);
        return false;
    }
    dialogs.message(QStringLiteral("File Saved Successfully"), base::ProgramTitle,
                    base::MessageIcon::Information);
    return true;
}

FrmOutput::FrmOutput(base::Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FrmOutput"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    QAction* save = file->addAction(QStringLiteral("&Save"), this, &FrmOutput::mnuSave_Click);
    save->setObjectName(QStringLiteral("mnuSave"));
    file->addSeparator();
    QAction* print = file->addAction(QStringLiteral("&Print"), this, &FrmOutput::mnuPrint_Click);
    print->setObjectName(QStringLiteral("mnuPrint"));
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("&Exit"), this, &FrmOutput::mnuExit_Click);
    exit->setObjectName(QStringLiteral("mnuExit"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    // Reports are laid out in fixed-width columns.
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(List1);
}

QSize FrmOutput::sizeHint() const {
    const QFontMetrics metrics(List1->font());
    int width = metrics.horizontalAdvance(QLatin1Char('X')) * ShownColumns;
    for (int i = 0; i < List1->count(); ++i)
        width = std::max(width, metrics.horizontalAdvance(List1->item(i)->text()));
    width += LinePadding + List1->frameWidth() * 2 + List1->verticalScrollBar()->sizeHint().width();
    return {width, metrics.lineSpacing() * ShownLines};
}

void FrmOutput::ListAddItem(const QString& text) {
    List1->addItem(text);
}

QStringList FrmOutput::lines() const {
    QStringList result;
    result.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i)
        result.append(List1->item(i)->text());
    return result;
}

void FrmOutput::mnuSave_Click() {
    saveOutputLines(lines(), dialogs_);
}

void FrmOutput::mnuExit_Click() {
    closeWindow(this);
}

} // namespace app
