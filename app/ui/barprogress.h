#pragma once
// A progress bar as the sink of a core transfer's progress.

#include "base/progress.h"

#include <QProgressBar>

namespace app {

class BarProgress : public base::Progress {
public:
    explicit BarProgress(QProgressBar& bar) : bar_(bar) {}
    void setRange(int minimum, int maximum) override { bar_.setRange(minimum, maximum); }
    void setValue(int value) override { bar_.setValue(value); }

private:
    QProgressBar& bar_;
};

} // namespace app
