// Start-up: caption, the Ethernet link opened with its filter frame, the connection window when the
// controller cannot be reached, and the single-instance lock.
#include "app/frmmain.h"
#include "app/startup.h"
#include "tests/app/appfixture.h"

#include <QLockFile>

using namespace clink;

namespace {

class Startup : public apptest::AppFixture {
protected:
    Startup() {
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString& name, QWidget*) { opened << name; });
    }
    app::FrmMain main{ctx};
    QStringList opened;
};

TEST_F(Startup, EthernetToTheStandInShowsTheMainWindowAndAnnouncesItself) {
    ASSERT_TRUE(dongle.listen(0));
    useEthernet(dongle.port());
    app::startProgram(ctx, main, QStringLiteral("1.0.0"));
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), " Brenstal Palverin 2006 1.0.0");
    EXPECT_TRUE(ctx.link.socket.isConnected());
    ASSERT_TRUE(waitFor([&] { return filterFramesReceived(ids::ConnectFilter) == 1; }));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(s.TransferDelay, 2);
}

TEST_F(Startup, AnUnreachableControllerOpensTheConnectionWindow) {
    useEthernet(refusedPort());
    app::startProgram(ctx, main, QStringLiteral("1.0.0"));
    EXPECT_EQ(opened, QStringList{"frmSetConnection"});
    EXPECT_TRUE(main.isVisible());
}

TEST_F(Startup, NoLinkOpensNothing) {
    s.ConnectionType = NoConnection;
    app::startProgram(ctx, main, QStringLiteral("2.3.4"));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(main.windowTitle(), " Brenstal Palverin 2006 2.3.4");
}

TEST(SingleInstance, ASecondLockOnTheSameProgramFolderFails) {
    testsupport::TempProgramFolder folder;
    const QString path = app::singleInstanceLockPath();
    QLockFile first(path);
    ASSERT_TRUE(first.tryLock(0));
    QLockFile second(path);
    EXPECT_FALSE(second.tryLock(0));
    {
        testsupport::TempProgramFolder other;
        EXPECT_NE(app::singleInstanceLockPath(), path);
    }
    first.unlock();
    EXPECT_TRUE(second.tryLock(0));
}

} // namespace
