#pragma once
// The controller's serial-output mode: how it reports each rundown on its serial output. The mode is read
// with [C1] and set with [C0 mode] on 15EF0103; the controller answers on 15EF0301 with [C2 mode-now]
// (clink::SerialOutExchange).
//
//   SerialOutSession session(ctx);
//   session.Form_Load();              // reads the mode in force
//   session.cmdSet_Click(1);          // asks for Profibus; txtResult() shows what the controller reports

#include <QString>
#include <QStringList>

#include <optional>

namespace app {
class AppServices;
}

namespace service {

// The modes as the list offers them (list index = mode).
inline const QStringList SerialOutModes = {QStringLiteral("Standard Output"), QStringLiteral("Profibus"),
                                           QStringLiteral("Standard Output w/LF & PSET")};
// "Standard Output Selected", ...; empty for a mode the list does not hold.
QString serialOutModeText(int mode);

// The serial-out window's session: the text of the mode in force and the list item that shows it.
class SerialOutSession {
public:
    explicit SerialOutSession(app::AppServices& ctx) : ctx_(ctx) {}

    // Reads the mode; an answer also selects its item. False when another command holds the program busy.
    bool Form_Load();
    // Sends the mode of the list item; on the parallel port the answer also selects its item.
    bool cmdSet_Click(int listIndex);

    const QString& txtResult() const { return txtResult_; }
    // The list item the last read or set selects; -1 none.
    int cboSerOut() const { return cboSerOut_; }

private:
    void show(const std::optional<int>& mode, bool select);

    app::AppServices& ctx_;
    QString txtResult_;
    int cboSerOut_ = -1;
};

} // namespace service
