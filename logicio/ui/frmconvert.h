#pragma once
// frmConvert: the converter from the older ladder file (*.Plc) to a version 2 logic file (*.Lio), modal.
// One button asks for the ladder file, converts it, lists the converted rungs and asks where to write the
// new file. A view over logicio::LadderConverter.

#include "logicio/ladderconverter.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace app {
class AppServices;
}

namespace logicio {

class frmConvert : public QDialog {
    Q_OBJECT
public:
    explicit frmConvert(app::AppServices& services, QWidget* parent = nullptr);

    void Command1_Click();

private:
    void showList();

    LadderConverter converter_;
    QPushButton* Command1 = nullptr;
    QListWidget* List1 = nullptr;
};

} // namespace logicio
