#pragma once
// The DSM terminal's screen area: shows a TerminalScreen in a fixed-width font with the cursor where the
// DSM left it, and turns the keys typed into it into the bytes they send.

#include <QPlainTextEdit>

namespace service {

class TerminalScreen;

class TerminalView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TerminalView(QWidget* parent = nullptr);

    void render(const TerminalScreen& screen);

signals:
    void typed(const QByteArray& bytes);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace service
