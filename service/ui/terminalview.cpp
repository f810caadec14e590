#include "service/ui/terminalview.h"

#include "service/terminalscreen.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QTextBlock>

namespace service {

TerminalView::TerminalView(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("SaxComm"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    // What is shown comes from the DSM; the keys go to it.
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setCursorWidth(2);
}

void TerminalView::render(const TerminalScreen& screen) {
    setPlainText(screen.text());
    QTextCursor cursor(document()->findBlockByNumber(screen.cursorLine()));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                        std::min<int>(screen.cursorColumn(), cursor.block().length() - 1));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TerminalView::keyPressEvent(QKeyEvent* event) {
    const QByteArray bytes = terminalKeyBytes(event->key(), event->text());
    if (bytes.isEmpty()) {
        // Keys that send nothing move around the screen.
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    emit typed(bytes);
}

} // namespace service
