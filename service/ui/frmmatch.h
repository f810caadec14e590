#pragma once
// frmMatch: the match file builder ("Dsm Match File Builder"). Ten rows of a barcode pattern, a Pset and the
// button that sends the next scan to the row; an example row; the File menu's New, Save, Load and Exit.
// Every handler forwards to the MatchEditor, whose rows the boxes show.

#include "service/matcheditor.h"

#include <QList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace app {
class AppContext;
}

namespace service {

class ServiceModule;

class FrmMatch : public QWidget {
    Q_OBJECT
public:
    FrmMatch(app::AppContext& ctx, ServiceModule& module, QWidget* parent = nullptr);

    MatchEditor& editor() { return editor_; }

    void mnuNew_Click() { editor_.mnuNew_Click(); }
    void mnuSaveFile_Click() { editor_.mnuSaveFile_Click(); }
    void mnuloadFile_Click() { editor_.mnuloadFile_Click(); }
    void mnuExit_Click();

private:
    void showRow(int number);

    MatchEditor editor_;
    // Element 0 is the example row; 1 to 10 the rows.
    QList<QLineEdit*> Barcode;
    QList<QSpinBox*> CWPset;
    QList<QRadioButton*> Option1;
    QLabel* lblReader = nullptr;
};

} // namespace service
