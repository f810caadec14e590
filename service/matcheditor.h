#pragma once
// The match file editor's session: ten rows of a barcode pattern and a Pset, the row a scan goes to, the
// barcode reader, and New, Save and Load of match files.
//
//   MatchEditor editor(ctx.dialogs, std::move(reader), devices);
//   editor.Form_Load();          // opens the reader's port
//   editor.Option1_Click(3);     // the next scan fills row 3

#include "base/dialogs.h"
#include "service/barcodereader.h"
#include "service/matchfile.h"
#include "service/serialdevices.h"

#include <QObject>

#include <memory>

namespace service {

class MatchEditor : public QObject {
    Q_OBJECT
public:
    // The controller's Psets are single digits, as the file's one Pset character holds them.
    static constexpr int MaxPset = 9;

    MatchEditor(base::Dialogs& dialogs, std::unique_ptr<BarcodeReader> reader, SerialDevices& devices);

    // Opens the reader's port; when it cannot, readerNotice() says so and the editor works without it.
    void Form_Load();
    QString readerNotice() const { return readerNotice_; }

    // Rows are numbered 1 to 10.
    const MatchRow& row(int number) const { return rows_.at(size_t(number - 1)); }
    void setBarcode(int number, const QString& barcode);
    void setPset(int number, int pset);

    int SelectedRow() const { return selectedRow_; }
    void Option1_Click(int number);

    // Every row back to 50 "*" and Pset 0.
    void mnuNew_Click();
    // Asks for a file and writes the rows to it; a cancelled dialog does nothing.
    void mnuSaveFile_Click();
    // Asks for a match file and fills the rows from it.
    void mnuloadFile_Click();
    QString MatchFileName() const { return matchFileName_; }

    // A finished scan: into the selected row.
    void placeScan(const QString& pattern);

signals:
    void rowChanged(int number);
    void readerNoticeChanged();

private:
    void setRows(const MatchRows& rows);

    base::Dialogs& dialogs_;
    std::unique_ptr<BarcodeReader> reader_;
    SerialDevices& devices_;
    MatchRows rows_;
    int selectedRow_ = 1;
    QString matchFileName_;
    QString readerNotice_;
};

} // namespace service
