#include "app/ui/textviewer.h"

#include "app/ui/cursors.h"
#include "app/ui/textlinesview.h"
#include "base/dialogs.h"
#include "base/textprintout.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {
constexpr int InitialWidth = 640;
constexpr int InitialHeight = 480;
} // namespace

TextViewerDialog::TextViewerDialog(base::Dialogs& dialogs, const QString& title, base::TextLines text,
                                   QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("TextViewer"));
    setWindowTitle(title);
    setModal(true);

    txtView = new TextLinesView(this);
    txtView->setObjectName(QStringLiteral("txtView"));
    txtView->setLines(std::move(text));

    auto* print = new QPushButton(QStringLiteral("Print"), this);
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtView);
    layout->addLayout(buttons);
    resize(InitialWidth, InitialHeight);

    connect(print, &QPushButton::clicked, this, &TextViewerDialog::cmdPrint_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

QString TextViewerDialog::text() const {
    return txtView->text();
}

void TextViewerDialog::cmdPrint_Click() {
    base::TextPrintout printout(txtView->lines(), txtView->font());
    dialogs_.printPages(printout);
}

void QtTextViewer::show(const QString& title, const base::TextLines& text) {
    TextViewerDialog dialog(dialogs_, title, text, QApplication::activeWindow());
    const ArrowCursor arrow;
    dialog.exec();
}

} // namespace app
