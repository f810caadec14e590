#pragma once
// The settings collection without its window: six boxes with their progress bars, the list of report lines,
// the remembered selection in "DLOAD.cfg", and Begin, which asks for one file name and runs every ticked
// collector in order, each writing its own file next to the base name. A collector that fails shows its
// message and then the collection's; the others still run. A collector that succeeds turns its box grey
// (collected): only ticked boxes run, so a second Begin collects nothing until a box is ticked again.
//
//   service::SettingsCollection collection(module);   // the six collectors over the module's cores
//   collection.Form_Load();                          // boxes from DLOAD.cfg
//   collection.ChkSelection_Click(DspParmsBox, service::BoxState::Ticked);
//   collection.mnuBegin_Click();                     // the name dialog, then the collectors

#include "base/dialogs.h"
#include "service/collector.h"
#include "service/collectselection.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace app {
class AppServices;
}

namespace service {

class ServiceModule;

// A box: unticked, ticked (to collect), or grey (collected in this window; still selected).
enum class BoxState { Unticked = 0, Ticked = 1, Grey = 2 };

struct CollectBar {
    int value = 0;
    int maximum = 100;
    bool visible = false;
    bool operator==(const CollectBar&) const = default;
};

inline const QString CollectCaption = QStringLiteral("Collect All Settings");
inline const QString CollectHeading = QStringLiteral("Download All");
// The boxes' captions, in box order.
inline const std::array<QString, CollectBoxes> BoxCaptions = {
    QStringLiteral("Parameter Sets"),       QStringLiteral("Logic I/O"),
    QStringLiteral("DSP Parameters"),       QStringLiteral("Tool Parameters"),
    QStringLiteral("Tool Eprom Locations"), QStringLiteral("Rundowns from SCC")};
// What the collection adds when a box's collector failed.
inline const std::array<QString, CollectBoxes> CollectFailedTexts = {
    QStringLiteral("Error writing Parameter sets"),
    QStringLiteral("Error writing Logic IO"),
    QStringLiteral("Error Collecting DSP Parameters"),
    QStringLiteral("Error collecting Tool Parameters"),
    QStringLiteral("Error collecting Tool Eprom Locations"),
    QStringLiteral("Error collecting Rundowns from Spindle")};
inline const QString NoFileNameText = QStringLiteral("No File Name Entered");
inline const QString FileNameCaption = QStringLiteral("General File Name");
inline const QString FileNameFilter = QStringLiteral("All Files (*)");
// What Get_Filename returns when no name was chosen.
inline const QString NoFileName = QStringLiteral("None");

class SettingsCollection : public QObject {
    Q_OBJECT
public:
    using Collectors = std::array<std::unique_ptr<Collector>, CollectBoxes>;
    // The tool bars run to 150 (the EEPROM address / 10 and three steps after the reads).
    static constexpr int ToolBarMaximum = 150;

    // The six collectors of the program over the module's cores (the module must have them).
    explicit SettingsCollection(ServiceModule& module, QObject* parent = nullptr);
    SettingsCollection(app::AppServices& ctx, Collectors collectors, QObject* parent = nullptr);
    ~SettingsCollection() override;

    // --- what the window shows ---
    BoxState box(int box) const { return boxes_[size_t(box)]; }
    const CollectBar& bar(int box) const { return bars_[size_t(box)]; }
    const QStringList& List1() const { return list_; }
    const CollectSelection& selection() const { return selection_; }
    // True while Begin runs the collectors: the window's commands and boxes are off.
    bool running() const { return running_; }
    // The window the collection belongs to: it stays usable while the collectors hold the program busy, so
    // that it can be closed.
    void setWindow(const QObject* window) { window_ = window; }
    // The window is closing: the collector under way ends at its next wait, the others do not run, and
    // nothing more is shown.
    void cancel();
    // How the window shows and closes the program editors a collector drives.
    void setEditorWindows(std::function<void(ProgramEditor)> show, std::function<void(ProgramEditor)> close);

    // --- the window's handlers ---
    // The bars' maxima, the selection from DLOAD.cfg (created empty when missing) and the boxes from it.
    void Form_Load();
    // A box changed (by the user or from the selection): its flag and its bar follow it.
    void ChkSelection_Click(int box, BoxState state);
    // Writes the selection of the boxes (grey counts as selected) into DLOAD.cfg.
    void mnuSetDefault_Click();
    // Asks for the name and runs the ticked collectors.
    void mnuBegin_Click();
    // The save dialog "General File Name": the path chosen, or "None".
    QString Get_Filename();

signals:
    void boxChanged(int box);
    void barChanged(int box);
    void List1Changed();
    void runningChanged(bool running);

private:
    class Page;
    void setBar(int box, int value);
    void setRunning(bool running);
    void runCollectors(const QString& base);

    app::AppServices& ctx_;
    Collectors collectors_;
    std::array<BoxState, CollectBoxes> boxes_{};
    std::array<CollectBar, CollectBoxes> bars_{};
    QStringList list_;
    CollectSelection selection_;
    bool running_ = false;
    bool cancelled_ = false;
    // Held from a cancel to the end of the run.
    std::optional<base::StoppableDialogs::Quiet> quiet_;
    const QObject* window_ = nullptr;
    std::function<void(ProgramEditor)> showEditor_;
    std::function<void(ProgramEditor)> closeEditor_;
};

} // namespace service
