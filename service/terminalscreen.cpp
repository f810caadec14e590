#include "service/terminalscreen.h"

#include "base/cp1252.h"

#include <QtCore/qnamespace.h>

#include <algorithm>

namespace service {

namespace {
constexpr char16_t CarriageReturn = u'\r';
constexpr char16_t LineFeed = u'\n';
constexpr char16_t Backspace = u'\b';
constexpr char16_t FirstPrintable = 0x20;
constexpr char16_t Delete = 0x7F;
} // namespace

void TerminalScreen::feed(const QByteArray& bytes) {
    for (QChar c : base::fromCp1252(bytes)) {
        const char16_t u = c.unicode();
        if (u == CarriageReturn) {
            column_ = 0;
        } else if (u == LineFeed) {
            newLine();
        } else if (u == Backspace) {
            column_ = std::max(0, column_ - 1);
        } else if (u >= FirstPrintable && u != Delete && c.category() != QChar::Other_Control) {
            QString& line = lines_.last();
            if (line.size() < column_)
                line.append(QString(column_ - line.size(), u' '));
            if (column_ < line.size())
                line[column_] = c;
            else
                line.append(c);
            ++column_;
        }
    }
}

void TerminalScreen::newLine() {
    lines_.append(QString());
    column_ = 0;
    while (lines_.size() > MaxLines)
        lines_.removeFirst();
}

QByteArray terminalKeyBytes(int key, const QString& text) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return QByteArray(1, '\r');
    if (key == Qt::Key_Backspace)
        return QByteArray(1, '\b');
    return base::toCp1252(text);
}

} // namespace service
