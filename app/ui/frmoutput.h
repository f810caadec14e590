#pragma once
// FrmOutput: the text window of the service commands' reports. It holds one list of lines, filled line by
// line with ListAddItem, and a File menu to save them (exact lines, CR LF, Windows-1252) or close it.

#include <QStringList>
#include <QWidget>

class QListWidget;

namespace base {
class Dialogs;
}

namespace app {

// Texts of the file filter of the save dialog: text files first, so they are the ones offered.
inline const QString OutputFileFilter = QStringLiteral("Text File (*.Txt *.txt *.TXT);;All Files (*)");

// Saves report lines as the output window does: asks for a file, asks before overwriting, writes every line
// with CR LF (nothing before or after) and confirms. A write error keeps the old file whole and says so.
// True when the file was written.
bool saveOutputLines(const QStringList& lines, base::Dialogs& dialogs);

class FrmOutput : public QWidget {
    Q_OBJECT
public:
    explicit FrmOutput(base::Dialogs& dialogs, QWidget* parent = nullptr);

    // Appends a line at the end of the list.
    void ListAddItem(const QString& text);
    QStringList lines() const;

    // Room for a screenful of lines, each shown whole: at least a report's 40-character lines, and as wide
    // as the longest line (the 60-column rundown and 80-column route reports).
    QSize sizeHint() const override;

    void mnuSave_Click();
    // Print has no action.
    void mnuPrint_Click() {}
    void mnuExit_Click();

private:
    base::Dialogs& dialogs_;
    QListWidget* List1 = nullptr;
};

} // namespace app
