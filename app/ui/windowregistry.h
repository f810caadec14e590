#pragma once
// The feature windows the main window opens, by name. Each window kind is opened either as a new instance
// per click or as its one shared instance (created on first use, shown again later), modeless in the main
// window's MDI area or modal. Each feature provides its windows here by a factory (its installWindows());
// a kind without one opens a small placeholder titled with the window's name.
//
//   ctx.windows.provide(wnd::FrmMonitor, [&ctx] { return new FrmMonitor(ctx); });
//   QWidget* w = ctx.windows.open(wnd::FrmMonitor, [](QWidget* w) { ... set up before show ... });

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QMdiArea;
class QProgressBar;

namespace app {

// Window names.
namespace wnd {
inline const QString frmSetConnection = QStringLiteral("frmSetConnection");
inline const QString frmMaybe = QStringLiteral("frmMaybe");
inline const QString frmPassword = QStringLiteral("frmPassword");
inline const QString formNewPword = QStringLiteral("formNewPword");
inline const QString frmValue2 = QStringLiteral("frmValue2");
inline const QString frmPset = QStringLiteral("frmPset");
inline const QString frmDefaults = QStringLiteral("frmDefaults");
inline const QString frmRunScreen1 = QStringLiteral("frmRunScreen1");
inline const QString FrmMonitor = QStringLiteral("FrmMonitor");
inline const QString FrmMonitorButtons = QStringLiteral("FrmMonitorButtons");
inline const QString ToolLed = QStringLiteral("ToolLed");
inline const QString frmGraph = QStringLiteral("frmGraph");
inline const QString frmStats = QStringLiteral("frmStats");
inline const QString frmLogData = QStringLiteral("frmLogData");
inline const QString frmResults = QStringLiteral("frmResults");
inline const QString frmLogicIo = QStringLiteral("frmLogicIo");
inline const QString frmLogicIoB = QStringLiteral("frmLogicIoB");
inline const QString frmBatchCounting = QStringLiteral("frmBatchCounting");
inline const QString frmConvert = QStringLiteral("frmConvert");
inline const QString frmPLCIO = QStringLiteral("frmPLCIO");
inline const QString FrmDspParameters = QStringLiteral("FrmDspParameters");
inline const QString FormNsm = QStringLiteral("FormNsm");
inline const QString FormCalibration = QStringLiteral("FormCalibration");
inline const QString FrmCollectSettings = QStringLiteral("FrmCollectSettings");
inline const QString frmResetAll = QStringLiteral("frmResetAll");
inline const QString frmCalButtons = QStringLiteral("frmCalButtons");
inline const QString frmSerialOut = QStringLiteral("frmSerialOut");
inline const QString DsmTerm = QStringLiteral("DsmTerm");
inline const QString frmMatch = QStringLiteral("frmMatch");
inline const QString FrmTestSocketTray = QStringLiteral("FrmTestSocketTray");
inline const QString frmTestTool = QStringLiteral("frmTestTool");
inline const QString frmTubeNut = QStringLiteral("frmTubeNut");
} // namespace wnd

enum class Instance { New, Shared };

// How a kind of window is opened.
struct WindowPolicy {
    Instance instance = Instance::New;
    bool modal = false;
    // An editor that makes the main window's progress bar visible again when it closes.
    bool restoresProgressBar = false;
    // Opens at the top left of the MDI area.
    bool topLeft = false;
};

// Closes a window: its MDI frame when it has one.
void closeWindow(QWidget* window);

class WindowRegistry : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<QWidget*()>;
    using Prepare = std::function<void(QWidget*)>;

    WindowRegistry();

    // Supplies the real window of a kind.
    void provide(const QString& name, Factory factory);
    // Where modeless windows open, and the bar that editors make visible again on closing.
    void setMdiArea(QMdiArea* area);
    void setProgressBar(QProgressBar* bar);
    // Runs a modal window until it closes (tests replace it).
    void setModalRunner(std::function<void(QWidget*)> runner) { runModal_ = std::move(runner); }

    static WindowPolicy policy(const QString& name);

    // Creates (or, for a shared kind, finds) the window without showing it.
    QWidget* create(const QString& name);
    // Shows a window made by create(), modeless or modal by its kind.
    void show(const QString& name, QWidget* window);
    // create + prepare + show. Returns the window (already gone after a modal run).
    QWidget* open(const QString& name, const Prepare& prepare = {});

    // The shared instance of a kind, when one is open.
    QWidget* shared(const QString& name) const { return shared_.value(name); }

signals:
    // Every window shown, in order (the spy of the tests).
    void opened(const QString& name, QWidget* window);

private:
    QWidget* make(const QString& name);

    QHash<QString, Factory> factories_;
    QHash<QString, QPointer<QWidget>> shared_;
    QPointer<QMdiArea> mdiArea_;
    QPointer<QProgressBar> bar_;
    std::function<void(QWidget*)> runModal_;
};

// A window that stands in for one not built yet: its title is the window's name.
class PlaceholderWindow : public QWidget {
    Q_OBJECT
public:
    explicit PlaceholderWindow(const QString& name, QWidget* parent = nullptr);
};

} // namespace app
