#include "service/ui/frmmatch.h"

#include "app/ui/appcontext.h"
#include "service/servicemodule.h"
#include "service/ui/controlnames.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace service {

namespace {
const QString Caption = QStringLiteral("Dsm Match File Builder");
const QString ExamplePattern = QStringLiteral("078*******801*************************************");
constexpr int ExamplePset = 2;
const QString Instructions =
    QStringLiteral("Enter barcode characters then place * where character does not need "
                   "to match. All characters are case senstivie.");
const QString ExampleText =
    QStringLiteral("Example:  barcode = 0789AF0909801 pset = 2      must match first and last 3 characters");

enum Column { BarcodeColumn, PsetColumn, ScannerColumn };
// Grid rows: instructions, example text, column heads, the example row, rows 1 to 10, the reader's notice.
constexpr int HeadRow = 2;
constexpr int ExampleRow = 3;
constexpr int NoticeRow = ExampleRow + MatchRowCount + 1;
} // namespace

FrmMatch::FrmMatch(app::AppContext& ctx, ServiceModule& module, QWidget* parent)
    : QWidget(parent),
      editor_(ctx.dialogs, std::make_unique<BarcodeReader>(module.makeSerialPort()), module.serialDevices) {
    setObjectName(QStringLiteral("frmMatch"));
    setWindowTitle(Caption);

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFle"));
    file->addAction(QStringLiteral("New"), this, &FrmMatch::mnuNew_Click)
        ->setObjectName(QStringLiteral("mnuNew"));
    file->addAction(QStringLiteral("&Save"), this, &FrmMatch::mnuSaveFile_Click)
        ->setObjectName(QStringLiteral("mnuSaveFile"));
    file->addAction(QStringLiteral("Load"), this, &FrmMatch::mnuloadFile_Click)
        ->setObjectName(QStringLiteral("mnuloadFile"));
    file->addSeparator()->setObjectName(QStringLiteral("mnusep1"));
    file->addAction(QStringLiteral("Exit"), this, &FrmMatch::mnuExit_Click)
        ->setObjectName(QStringLiteral("mnuExit"));

    auto* grid = new QGridLayout;
    const auto label = [&](const QString& text, int index, int row, int column, int span = 1) {
        auto* l = new QLabel(text, this);
        l->setObjectName(controlName("Label1", index));
        l->setWordWrap(span > 1);
        grid->addWidget(l, row, column, 1, span);
    };
    label(Instructions, 0, 0, BarcodeColumn, 3);
    label(ExampleText, 1, 1, BarcodeColumn, 3);
    label(QStringLiteral("BARCODE"), 2, HeadRow, BarcodeColumn);
    label(QStringLiteral("PSET"), 3, HeadRow, PsetColumn);
    label(QStringLiteral("Scanner Barcode"), 4, HeadRow, ScannerColumn);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const int patternWidth = QFontMetrics(fixed).horizontalAdvance(QString(PatternWidth + 2, u'*'));
    auto* scanRows = new QButtonGroup(this);
    for (int number = 0; number <= MatchRowCount; ++number) {
        auto* barcode = new QLineEdit(this);
        barcode->setObjectName(controlName("Barcode", number));
        barcode->setFont(fixed);
        barcode->setMinimumWidth(patternWidth);
        auto* pset = new QSpinBox(this);
        pset->setObjectName(controlName("CWPset", number));
        pset->setRange(0, MatchEditor::MaxPset);
        Barcode.append(barcode);
        CWPset.append(pset);
        Option1.append(nullptr);
        grid->addWidget(barcode, ExampleRow + number, BarcodeColumn);
        grid->addWidget(pset, ExampleRow + number, PsetColumn);
        if (number == 0) {
            // The example row only shows how a pattern looks.
            barcode->setText(ExamplePattern);
            barcode->setReadOnly(true);
            pset->setValue(ExamplePset);
            pset->setReadOnly(true);
            continue;
        }
        auto* option = new QRadioButton(this);
        option->setObjectName(controlName("Option1", number));
        scanRows->addButton(option, number);
        Option1[number] = option;
        grid->addWidget(option, ExampleRow + number, ScannerColumn, Qt::AlignCenter);
        showRow(number);
        connect(barcode, &QLineEdit::textEdited, this,
                [this, number](const QString& text) { editor_.setBarcode(number, text); });
        connect(pset, &QSpinBox::valueChanged, this,
                [this, number](int value) { editor_.setPset(number, value); });
    }
    Option1[editor_.SelectedRow()]->setChecked(true);
    connect(scanRows, &QButtonGroup::idClicked, &editor_, &MatchEditor::Option1_Click);

    lblReader = new QLabel(this);
    lblReader->setObjectName(QStringLiteral("lblReader"));
    lblReader->setWordWrap(true);
    grid->addWidget(lblReader, NoticeRow, BarcodeColumn, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(&editor_, &MatchEditor::rowChanged, this, &FrmMatch::showRow);
    connect(&editor_, &MatchEditor::readerNoticeChanged, this,
            [this] { lblReader->setText(editor_.readerNotice()); });
    editor_.Form_Load();
}

void FrmMatch::showRow(int number) {
    const MatchRow& row = editor_.row(number);
    const QSignalBlocker blockText(Barcode[number]);
    const QSignalBlocker blockPset(CWPset[number]);
    Barcode[number]->setText(row.barcode);
    CWPset[number]->setValue(row.pset);
}

void FrmMatch::mnuExit_Click() {
    app::closeWindow(this);
}

} // namespace service
