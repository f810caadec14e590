#pragma once
// The progress of a long transfer as the core reports it: a range, then the value as the transfer goes on.
// The main window's Bar1 and a window's own bars are sinks of it; a transfer nobody watches reports to
// NoProgress.
//
//   bool Reader::read(base::Progress& progress) {
//       progress.setRange(0, Blocks);
//       for (int b = 0; b < Blocks; ++b) { progress.setValue(b); ... }
//   }

namespace base {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setValue(int value) = 0;
};

// Progress that goes nowhere.
class NoProgress final : public Progress {
public:
    void setRange(int, int) override {}
    void setValue(int) override {}
};

} // namespace base
