#include "service/ui/frmcollectsettings.h"

#include "app/ui/appcontext.h"
#include "service/servicemodule.h"
#include "service/ui/lineslist.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

namespace {
QString element(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

Qt::CheckState checkState(BoxState state) {
    switch (state) {
    case BoxState::Ticked:
        return Qt::Checked;
    case BoxState::Grey:
        return Qt::PartiallyChecked;
    case BoxState::Unticked:
        break;
    }
    return Qt::Unchecked;
}

BoxState boxState(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked:
        return BoxState::Ticked;
    case Qt::PartiallyChecked:
        return BoxState::Grey;
    case Qt::Unchecked:
        break;
    }
    return BoxState::Unticked;
}

const QString& editorWindow(ProgramEditor editor) {
    return editor == ProgramEditor::Ladder ? app::wnd::frmPLCIO : app::wnd::frmLogicIo;
}
} // namespace

FrmCollectSettings::FrmCollectSettings(app::AppContext& ctx, ServiceModule& module, QWidget* parent)
    : QWidget(parent), session_(module) {
    setObjectName(QStringLiteral("FrmCollectSettings"));
    setWindowTitle(CollectCaption);

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFIle"));
    QAction* begin = file->addAction(QStringLiteral("&Begin"), this, &FrmCollectSettings::mnuBegin_Click);
    begin->setObjectName(QStringLiteral("mnuBegin"));
    QAction* close = file->addAction(QStringLiteral("&Close"), this, &FrmCollectSettings::mnuClose_Click);
    close->setObjectName(QStringLiteral("mnuClose"));
    QMenu* settings = menuBar->addMenu(QStringLiteral("&Settings"));
    settings->menuAction()->setObjectName(QStringLiteral("mnuSettings"));
    QAction* setDefault =
        settings->addAction(QStringLiteral("Set &Default"), this, &FrmCollectSettings::mnuSetDefault_Click);
    setDefault->setObjectName(QStringLiteral("mnuSetDefault"));
    // Close stays usable during a run: it cancels the run.
    idleActions_ = {begin, setDefault};

    auto* heading = new QLabel(CollectHeading, this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);

    auto* rows = new QVBoxLayout;
    for (int box = 0; box < CollectBoxes; ++box) {
        auto* block = new QFrame(this);
        block->setObjectName(element("lblBlock", box));
        block->setFrameShape(QFrame::StyledPanel);
        auto* check = new QCheckBox(BoxCaptions[size_t(box)], block);
        check->setObjectName(element("ChkSelection", box));
        check->setTristate(false);
        auto* bar = new QProgressBar(block);
        bar->setObjectName(element("ProgressBar1", box));
        bar->setTextVisible(false);
        auto* row = new QHBoxLayout(block);
        row->addWidget(check, 1);
        row->addWidget(bar, 1);
        rows->addWidget(block);
        ChkSelection.append(check);
        ProgressBar1.append(bar);
        idleWidgets_.append(check);
        // A box set from the session runs the same handling as a click (the session keeps them apart).
        connect(check, &QCheckBox::stateChanged, this, [this, box](int state) {
            const BoxState now = boxState(Qt::CheckState(state));
            if (now != session_.box(box))
                session_.ChkSelection_Click(box, now);
        });
    }

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto button = [this](const QString& text, const char* name, void (FrmCollectSettings::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    for (QPushButton* idle :
         {button(QStringLiteral("&Begin"), "cmdBegin", &FrmCollectSettings::mnuBegin_Click),
          button(QStringLiteral("Set &Default"), "cmdSetDefault",
                 &FrmCollectSettings::mnuSetDefault_Click)}) {
        buttons->addWidget(idle);
        idleWidgets_.append(idle);
    }
    buttons->addStretch(1);
    buttons->addWidget(button(QStringLiteral("&Close"), "cmdClose", &FrmCollectSettings::mnuClose_Click));

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(heading);
    left->addLayout(rows);
    left->addStretch(1);
    body->addLayout(left, 1);
    body->addWidget(List1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    connect(&session_, &SettingsCollection::boxChanged, this, &FrmCollectSettings::showBox);
    connect(&session_, &SettingsCollection::barChanged, this, &FrmCollectSettings::showBar);
    connect(&session_, &SettingsCollection::List1Changed, this, &FrmCollectSettings::showList);
    connect(&session_, &SettingsCollection::runningChanged, this, &FrmCollectSettings::runningChanged);
    session_.setWindow(this);
    session_.setEditorWindows([&ctx](ProgramEditor editor) { ctx.windows.open(editorWindow(editor)); },
                              [&ctx](ProgramEditor editor) {
                                  if (QWidget* window = ctx.windows.shared(editorWindow(editor)))
                                      app::closeWindow(window);
                              });
    session_.Form_Load();
}

void FrmCollectSettings::mnuBegin_Click() {
    auto handler = closer_.handler();
    session_.mnuBegin_Click();
}

void FrmCollectSettings::mnuClose_Click() {
    app::closeWindow(this);
}

void FrmCollectSettings::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, session_.running(), [this] { session_.cancel(); });
}

void FrmCollectSettings::showBox(int box) {
    ChkSelection[box]->setCheckState(checkState(session_.box(box)));
}

void FrmCollectSettings::showBar(int box) {
    const CollectBar& bar = session_.bar(box);
    QProgressBar* progress = ProgressBar1[box];
    progress->setMaximum(bar.maximum);
    progress->setValue(bar.value);
    progress->setVisible(bar.visible);
}

void FrmCollectSettings::showList() {
    showLines(*List1, session_.List1());
}

void FrmCollectSettings::runningChanged(bool running) {
    if (running)
        waitCursor_.emplace();
    else
        waitCursor_.reset();
    for (QWidget* w : idleWidgets_)
        w->setEnabled(!running);
    for (QAction* a : idleActions_)
        a->setEnabled(!running);
}

} // namespace service
