// The command frame: report windows that are shown or deleted.
#include "app/ui/frmmain.h"
#include "tests/support/ui/appfixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

class CommandFrameTest : public apptest::AppFixture {
protected:
    app::FrmMain main{ctx};
    app::CommandFrame& frame = main.frame();
};

TEST_F(CommandFrameTest, AReportNeverShownIsDeleted) {
    QPointer<app::FrmOutput> window;
    {
        app::Report report = frame.newReport();
        window = report.window();
        report.add(QStringLiteral("line"));
        EXPECT_EQ(frame.OutputWindow(), window.data());
    }
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
}

TEST_F(CommandFrameTest, ShownReportsStayOpenAndTheLatestIsTheOutputWindow) {
    QPointer<app::FrmOutput> first;
    {
        app::Report report = frame.newReport();
        report.add(QStringLiteral("one"));
        report.show();
        first = report.window();
    }
    {
        app::Report report = frame.newReport();
        report.add(QStringLiteral("two"));
        report.show();
    }
    ASSERT_FALSE(first.isNull());
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(first->lines(), QStringList{"one"});
    EXPECT_EQ(frame.OutputWindow()->lines(), QStringList{"two"});
    EXPECT_EQ(main.mdiArea()->subWindowList().first()->pos(), QPoint(0, 0));
}

} // namespace
