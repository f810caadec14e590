#include "tests/windows/shownfixture.h"

#include "app/ui/windowregistry.h"
#include "app/ui/workarea.h"
#include "palverin/installwindows.h"
#include "tests/windows/windowlayout.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>

namespace shown {

namespace {
// Rounds of the event loop a window gets to settle: show, polish, layout, focus, the first timer tick.
constexpr int SettleRounds = 5;
const QString ScreenshotFolder = QStringLiteral(PALVERIN_SCREENSHOT_DIR);
} // namespace

ShownWindows::ShownWindows() {
    serviceModule.serialDevices.setDsmPort(dsmLine.portPath());
    serviceModule.serialDevices.setScannerPort(scannerLine.portPath());
    palverin::installWindows(
        ctx, {.service = serviceModule, .pset = psetModule, .logicio = logicModule, .ladder = ladderModule});
    QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                     [this](const QString& name, QWidget* window) {
                         opened.insert(name, window);
                         lastOpened_ = name;
                     });
    ctx.windows.setModalRunner([this](QWidget* window) {
        window->show();
        settle();
        EXPECT_FALSE(qobject_cast<app::PlaceholderWindow*>(window)) << lastOpened_.toStdString();
        const auto check = modalChecks_.value(lastOpened_);
        if (check)
            check(window);
        else
            ADD_FAILURE() << "unexpected modal window " << lastOpened_.toStdString();
        window->close();
    });
    main = std::make_unique<app::FrmMain>(ctx);
    main->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    connectEthernet();
    // Windows that read the settings files find the stand-in's link there.
    saveSettings();
}

ShownWindows::~ShownWindows() {
    main.reset();
    settle();
}

std::unique_ptr<QSettings> ShownWindows::store(const QString& file) const {
    return std::make_unique<QSettings>(userStore.filePath(file), QSettings::IniFormat);
}

void ShownWindows::trigger(const char* menu) {
    QAction* action = main->action(QString::fromLatin1(menu));
    ASSERT_TRUE(action) << menu;
    // Hidden and disabled entries (the DSM terminal, the tool test) still have their launchers.
    const bool enabled = action->isEnabled();
    action->setEnabled(true);
    action->trigger();
    action->setEnabled(enabled);
    settle();
}

void ShownWindows::settle() {
    for (int round = 0; round < SettleRounds; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

QWidget* ShownWindows::shownWindow(const QString& name) {
    const QList<QPointer<QWidget>> windows = opened.values(name);
    QWidget* window = windows.isEmpty() ? nullptr : windows.first().data(); // values() is newest first
    if (!window) {
        ADD_FAILURE() << name.toStdString() << " was not opened; opened: "
                      << QStringList(opened.keys()).join(QLatin1Char(' ')).toStdString()
                      << "; messages: " << dialogs->messageTexts().join(QLatin1Char('|')).toStdString();
        return nullptr;
    }
    settle();
    EXPECT_TRUE(window->isVisible()) << name.toStdString();
    // The real window, not the stand-in for a kind no feature installed.
    EXPECT_FALSE(qobject_cast<app::PlaceholderWindow*>(window)) << name.toStdString();
    // A window placed at the top left of the MDI area stays there once it has fitted its contents.
    if (app::WindowRegistry::policy(name).topLeft) {
        EXPECT_EQ(app::frameOf(*window).pos(), QPoint(0, 0)) << name.toStdString();
    }
    return window;
}

void ShownWindows::onModal(const QString& name, std::function<void(QWidget*)> check) {
    modalChecks_.insert(name, std::move(check));
}

void ShownWindows::onNextModal(const QString& name, QStringList& seen, std::function<void(QWidget*)> check) {
    QTimer::singleShot(0, main.get(), [this, name, &seen, check = std::move(check)] {
        settle();
        QWidget* w = QApplication::activeModalWidget();
        if (!w) {
            ADD_FAILURE() << name.toStdString() << " is not shown";
            return;
        }
        seen << name + QLatin1Char(':') + caption(*w);
        if (check)
            check(w);
        expectLaidOut(*w, name);
        QTest::keyClick(w, Qt::Key_Escape);
    });
}

QSize ShownWindows::workArea(QWidget& window) const {
    if (qobject_cast<QMdiSubWindow*>(window.parentWidget()))
        return app::workArea(window);
    return main->size();
}

void ShownWindows::expectLaidOut(QWidget& window, const QString& name) {
    QWidget& frame = app::frameOf(window);
    const QStringList problems = shown::layoutProblems(window, frame, workArea(window));
    EXPECT_TRUE(problems.isEmpty()) << name.toStdString() << ":\n"
                                    << problems.join(QLatin1Char('\n')).toStdString();
    QDir().mkpath(ScreenshotFolder);
    // An MDI window is seen in its place in the main window; a window of its own alone.
    QWidget& seen = &frame == &window && window.isWindow() ? window : static_cast<QWidget&>(*main);
    EXPECT_TRUE(seen.grab().save(ScreenshotFolder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

QString caption(QWidget& window) {
    return window.windowTitle();
}

} // namespace shown
