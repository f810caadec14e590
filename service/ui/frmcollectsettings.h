#pragma once
// FrmCollectSettings: the settings collection ("Collect All Settings"). Six boxes, each with its progress
// bar on its row, the list of the last report collected, Begin, Close and Set Default as buttons and in the
// File and Settings menus. A grey box has been collected in this window; ticking it again collects it
// again. While Begin runs, the commands and boxes are off but Close; closing the window then cancels the
// run, and the window closes once it has ended. The program editors a collector drives open by name in the
// main window. Every handler forwards to the session.

#include "app/ui/closewhenidle.h"
#include "app/ui/cursors.h"
#include "service/settingscollection.h"

#include <QList>
#include <QWidget>

#include <optional>

class QAction;
class QCheckBox;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace app {
class AppContext;
}

namespace service {

class FrmCollectSettings : public QWidget {
    Q_OBJECT
public:
    FrmCollectSettings(app::AppContext& ctx, ServiceModule& module, QWidget* parent = nullptr);

    SettingsCollection& session() { return session_; }

    void mnuBegin_Click();
    void mnuSetDefault_Click() { session_.mnuSetDefault_Click(); }
    void mnuClose_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showBox(int box);
    void showBar(int box);
    void showList();
    void runningChanged(bool running);

    SettingsCollection session_;
    QList<QCheckBox*> ChkSelection;
    QList<QProgressBar*> ProgressBar1;
    QListWidget* List1 = nullptr;
    // The commands and boxes that are off while the collectors run.
    QList<QWidget*> idleWidgets_;
    QList<QAction*> idleActions_;
    // The hourglass while the collectors run.
    std::optional<app::WaitCursor> waitCursor_;
    app::CloseWhenIdle closer_{*this};
};

} // namespace service
