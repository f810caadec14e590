#pragma once
// The DSM terminal's screen: the text the DSM unit has sent, as a plain terminal shows it. CR returns to the
// start of the line, LF starts a new line, BS steps back one column; other control bytes are not shown;
// printable characters (Windows-1252) overwrite the line at the cursor. The oldest lines go once the
// screen holds MaxLines. Also the bytes a key sends to the DSM.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace service {

class TerminalScreen {
public:
    static constexpr int MaxLines = 1000;

    void feed(const QByteArray& bytes);

    const QStringList& lines() const { return lines_; }
    QString text() const { return lines_.join(u'\n'); }
    int cursorLine() const { return int(lines_.size()) - 1; }
    int cursorColumn() const { return column_; }

private:
    void newLine();

    QStringList lines_{QString()};
    int column_ = 0;
};

// The bytes a key press sends: Enter sends CR, Backspace BS, other keys their text in Windows-1252.
QByteArray terminalKeyBytes(int key, const QString& text);

} // namespace service
