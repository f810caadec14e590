#pragma once
// One collector of the settings collection: it reads one kind of setting from the controller and writes it
// to its file next to the base name. It reports through the collection's page: its own progress bar, the
// list of lines the window shows, and the program editors it drives. Every failure shows the collector's
// own message (critical, the program's title) before it returns false; nothing is written then, unless the
// collector says otherwise.
//
//   class DspCollector : public Collector {
//       bool collect(const QString& base, CollectorPage& page) override;   // base + "DSPParms.txt"
//   };

#include "base/progress.h"

#include <QString>
#include <QStringList>

namespace app {
class AppServices;
}

namespace service {

// The program editors a logic collector shows while it receives the controller's program.
enum class ProgramEditor { LogicIo, Ladder };

// The collection window as one collector sees it.
class CollectorPage {
public:
    virtual ~CollectorPage() = default;
    // The collector's own progress bar.
    virtual void setBar(int value) = 0;
    // The window's list (List1): the report collectors leave their last report in it.
    virtual void clearList() = 0;
    virtual void addLines(const QStringList& lines) = 0;
    // Shows or closes a program editor's window (nothing happens without a window).
    virtual void showEditor(ProgramEditor editor) = 0;
    virtual void closeEditor(ProgramEditor editor) = 0;
};

class Collector {
public:
    virtual ~Collector() = default;
    // True when the file was written.
    virtual bool collect(const QString& base, CollectorPage& page) = 0;
};

// The helpers every collector uses, over the program's services.
class CollectorTools {
public:
    explicit CollectorTools(app::AppServices& ctx) : ctx(ctx) {}

    // Writes report lines (CR LF, Windows-1252) atomically; on failure the box "Unable To Write File".
    bool writeReport(const QString& path, const QStringList& lines) const;
    // The same, then the page's bar at done.
    bool writeReport(const QString& path, const QStringList& lines, CollectorPage& page, int done) const;
    // The box a failed write shows.
    void writeFailed(const QString& path, const QString& error) const;

    app::AppServices& ctx;
};

// A collector over the program's services.
class ServiceCollector : public Collector {
public:
    explicit ServiceCollector(app::AppServices& ctx) : tools_(ctx) {}

protected:
    CollectorTools tools_;
};

// A progress that shows a read's position on a collector's bar, divided by a factor (a bar of 150 shows
// the EEPROM address / 10). The range the read sets is not the bar's and is ignored.
class ScaledProgress : public base::Progress {
public:
    ScaledProgress(CollectorPage& page, int divisor) : page_(page), divisor_(divisor) {}
    void setRange(int, int) override {}
    void setValue(int value) override { page_.setBar(value / divisor_); }

private:
    CollectorPage& page_;
    int divisor_;
};

} // namespace service
