#pragma once
// A progress bar as the sink of a core transfer's progress, shown or hidden as a command asks.

#include "app/sessions/commandsession.h"

#include <QProgressBar>

namespace app {

class BarProgress : public CommandProgress {
public:
    explicit BarProgress(QProgressBar& bar) : bar_(bar) {}
    void setRange(int minimum, int maximum) override { bar_.setRange(minimum, maximum); }
    void setValue(int value) override { bar_.setValue(value); }
    void setVisible(bool visible) override { bar_.setVisible(visible); }

private:
    QProgressBar& bar_;
};

} // namespace app
