#pragma once
// FormNsm: the NSM unit's settings and clock ("Brenstal Nsm Settings"). Each setting sits in its frame
// with its own Write; the clock's fields (hour : minute, month - day - year, AM/PM) are read from the unit
// when the window opens and written with the ninth Write. Forwards to the NsmSession.

#include "app/ui/closewhenidle.h"
#include "service/nsmsession.h"

#include <QWidget>

#include <array>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QHBoxLayout;

namespace app {
class AppContext;
}
namespace controls {
class NumEdit;
}

namespace service {

class FormNsm : public QWidget {
    Q_OBJECT
public:
    explicit FormNsm(app::AppContext& ctx, QWidget* parent = nullptr);

    NsmSession& session() { return session_; }
    void Write_Click(int index);
    void mnuExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void showClock();
    // The frame of a setting: its controls (fill), then its Write.
    QGroupBox* settingFrame(int item, const std::function<void(QGroupBox*, QHBoxLayout*)>& fill);
    QButtonGroup* twoOptions(QWidget* frame, QHBoxLayout* row, const QString& name, const QString& first,
                             const QString& second);
    QGroupBox* choiceFrame(int item, const QString& name, const QString& off, const QString& on);
    QGroupBox* clockFrame();
    QGroupBox* numberFrame(int item, const char* name, int minimum, int maximum);

    NsmSession session_;
    app::CloseWhenIdle closer_{*this};
    // The choices of items 1, 6, 7, 8 (by item).
    std::array<QButtonGroup*, NsmSession::Settings + 1> choices_{};
    // Hour, minute, month, day, year.
    std::array<controls::NumEdit*, 5> CWTimeDate{};
    QButtonGroup* optAmPm = nullptr;
};

} // namespace service
