// Palverin: service and configuration program for the tightening controller.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Palverin"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Palverin2006"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    QObject::connect(exit, &QAction::triggered, &app, &QApplication::quit);
    window.resize(800, 600);
    window.show();
    return app.exec();
}
