#include "service/matcheditor.h"

#include "app/programcore.h"
#include "base/textlines.h"

#include <QFile>

#include <algorithm>

namespace service {

namespace {
// Match files first, so they are the ones offered.
const QString FileFilter = QStringLiteral("Match Files (*.Txt *.txt *.TXT);;All Files (*)");
const QString FileError = QStringLiteral("File Error");
const QString FileMissing = QStringLiteral("File does not exists");
const QString FileShort = QStringLiteral("Match File Too Short - Rows Not In The File Are Left Empty");
const QString NotStored = QStringLiteral("Error - Data Not Stored");
} // namespace

MatchEditor::MatchEditor(base::Dialogs& dialogs, std::unique_ptr<BarcodeReader> reader,
                         SerialDevices& devices)
    : dialogs_(dialogs), reader_(std::move(reader)), devices_(devices) {
    rows_.fill(emptyMatchRow());
    connect(reader_.get(), &BarcodeReader::scanned, this, &MatchEditor::placeScan);
}

void MatchEditor::Form_Load() {
    const QString device = devices_.scannerPort();
    if (reader_->open(device))
        return;
    readerNotice_ =
        QStringLiteral("Barcode reader not available on %1: %2").arg(device, reader_->errorText());
    emit readerNoticeChanged();
}

void MatchEditor::setBarcode(int number, const QString& barcode) {
    rows_.at(size_t(number - 1)).barcode = barcode;
}

void MatchEditor::setPset(int number, int pset) {
    rows_.at(size_t(number - 1)).pset = std::clamp(pset, 0, MaxPset);
}

void MatchEditor::Option1_Click(int number) {
    if (number >= 1 && number <= MatchRowCount)
        selectedRow_ = number;
}

void MatchEditor::placeScan(const QString& pattern) {
    rows_.at(size_t(selectedRow_ - 1)).barcode = pattern;
    emit rowChanged(selectedRow_);
}

void MatchEditor::mnuNew_Click() {
    MatchRows rows;
    rows.fill(emptyMatchRow());
    setRows(rows);
}

void MatchEditor::setRows(const MatchRows& rows) {
    rows_ = rows;
    for (int number = 1; number <= MatchRowCount; ++number)
        emit rowChanged(number);
}

void MatchEditor::mnuSaveFile_Click() {
    const QString path = dialogs_.saveFileName(QStringLiteral("Save As"), FileFilter);
    if (path.isEmpty())
        return;
    matchFileName_ = path;
    if (QString error; !base::writeFileAtomically(path, writeMatchFile(rows_), &error))
        dialogs_.message(base::notWrittenText(NotStored, path, error), FileError,
                         base::MessageIcon::Critical);
}

void MatchEditor::mnuloadFile_Click() {
    const QString path = dialogs_.openFileName(QStringLiteral("Open"), FileFilter);
    matchFileName_ = path;
    QFile file(path);
    if (!app::ProgramCore::FileExists(path) || !file.open(QIODevice::ReadOnly)) {
        dialogs_.message(FileMissing, FileError, base::MessageIcon::Critical);
        return;
    }
    const MatchFileContent content = readMatchFile(file.read(MatchRecordsRead * RecordWidth));
    if (file.error() != QFileDevice::NoError) {
        dialogs_.message(FileMissing, FileError, base::MessageIcon::Critical);
        return;
    }
    setRows(content.rows);
    if (!content.complete)
        dialogs_.message(FileShort, FileError, base::MessageIcon::Exclamation);
}

} // namespace service
