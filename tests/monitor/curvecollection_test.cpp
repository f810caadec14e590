// Curves collected from the stand-in into curve files, on each link: the requests, the file's bytes, the
// plot added, the progress panel; the data-logger curve (not over Ethernet); a link that cannot be
// prepared; and on the parallel port a controller that stops answering and a graph that fills up.
#include "link/canid.h"
#include "tests/link/linkfixtures.h"
#include "tests/monitor/curvefixture.h"

#include <QFile>

#include <optional>
#include <type_traits>

using namespace clink;

namespace {

template <class F> class CurveCollection : public curvetest::CurveSessionOn<linktest::OnEachLink<F>> {
protected:
    void SetUp() override {
        linktest::OnEachLink<F>::SetUp();
        this->session.Form_Load();
    }
    bool onEthernet() const { return std::is_same_v<F, testsupport::EthernetFixture>; }
    // The indices of the curve requests the controller received on this identifier, in order. Over Ethernet
    // a request goes again until its second answer; a controller answering once per request gets each
    // index twice in a row, counted once here.
    std::vector<int> requestedIndices(CanId id) const {
        std::vector<int> indices;
        std::optional<CanMessage> last;
        for (const CanMessage& m : this->model.received) {
            if (m.id != id || m.data[0] != codes::CurveRequest)
                continue;
            if (!(onEthernet() && last && *last == m))
                indices.push_back(m.data[2] + 256 * m.data[3]);
            last = m;
        }
        return indices;
    }
    QString collectInto(const QString& name, int curve) {
        const QString path = this->folder.file(name);
        this->dialogs.fileNames.enqueue(path);
        this->session.ReceiveControllerCurve(curve);
        return path;
    }
};
TYPED_TEST_SUITE(CurveCollection, linktest::LinkFixtures);

QByteArray golden(const QString& name) {
    QFile f(QStringLiteral(PALVERIN_CURVE_GOLDEN_DIR "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TYPED_TEST(CurveCollection, Curve1With1000PointsMakes501RequestsAndTheExpectedFile) {
    // Word 0 the time scale, then words that cross the signed range.
    std::vector<uint16_t> words{500};
    for (int i = 1; i < 1000; ++i)
        words.push_back(uint16_t((i * 131 + 7) & 0xFFFF));
    this->model.curves[1] = words;
    const QString path = this->collectInto("curve1.dat", 1);

    EXPECT_EQ(this->messages(), QStringList{"Data Transfer Complete"});
    EXPECT_EQ(this->dialogs.messages.back().caption, "Receive Curve");
    EXPECT_EQ(this->dialogs.asked.size(), 0u); // a new file: no overwrite question
    const std::vector<int> indices = this->requestedIndices(ids::CurveRequest);
    ASSERT_EQ(indices.size(), 501u);
    EXPECT_EQ(indices[1], 2);
    EXPECT_EQ(indices.back(), 1000);
    const QByteArray bytes = this->folder.read("curve1.dat");
    EXPECT_EQ(bytes.count("\r\n"), 1002);
    EXPECT_EQ(bytes, golden("curve1_1000.dat"));

    ASSERT_EQ(this->graph.plotCount(), 1);
    EXPECT_EQ(this->graph.plot(1).samples.size(), 992u);
    EXPECT_EQ(this->graph.plot(1).axis, monitor::CurveGraph::TorqueAxis);
    // Word 10 (1317) is the first sample: 131.7 lb-in.
    EXPECT_DOUBLE_EQ(this->graph.plot(1).samples[0], 131.7);
    EXPECT_EQ(this->session.CurvePaths(), QStringList{path});
    EXPECT_TRUE(this->session.curveMenusEnabled());

    EXPECT_EQ(this->display.range, std::make_pair(0, 1002));
    EXPECT_EQ(this->display.value, 1000);
    EXPECT_EQ(this->display.countText, "1000 / 1000");
    EXPECT_EQ(this->display.collecting, (std::vector<bool>{true, false}));
    EXPECT_FALSE(this->busy.busy());
    EXPECT_FALSE(this->session.collecting());
}

TYPED_TEST(CurveCollection, AnOddCountEndsOnTheEvenIndexBelowIt) {
    this->model.curves[3] = {250, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    this->session.setFilePoints(7);
    const QString path = this->collectInto("odd.dat", 3);
    EXPECT_EQ(this->requestedIndices(ids::CurveRequest), (std::vector<int>{0, 2, 4, 6}));
    EXPECT_EQ(this->folder.read("odd.dat"), "250\r\n1\r\n2\r\n3\r\n3\r\n 0 \r\n6\r\n7\r\n");
    // Eight lines are fewer than a curve file's header: the file stays, no plot is added.
    EXPECT_EQ(this->messages(), QStringList{"Not A Valid Curve File: " + path});
    EXPECT_EQ(this->graph.plotCount(), 0);
    EXPECT_EQ(this->session.slotCount(), 0);
}

TYPED_TEST(CurveCollection, TheDataLoggerCurveAsksItsNumberAndIsNotCollectedOverEthernet) {
    this->model.curves[2] = {500, 1, 1, 1, 1, 1, 1, 1, 1, 1, 100, 200, 300};
    this->session.setFilePoints(12);
    this->prompt.answers.enqueue(2);
    const QString path = this->folder.file("logger.dat");
    this->dialogs.fileNames.enqueue(path);
    this->session.ReceiveDataLoggerCurve();

    ASSERT_EQ(this->prompt.shown.size(), 1u);
    const app::ValueEntryForm& form = this->prompt.shown[0];
    EXPECT_EQ(form.prompt, "Enter Data Logger Curve Number");
    EXPECT_EQ(form.value.minimum, 1);
    EXPECT_EQ(form.value.maximum, 3);
    EXPECT_EQ(form.value.value, 1);
    EXPECT_EQ(this->display.collecting, (std::vector<bool>{true, false}));
    EXPECT_TRUE(this->requestedIndices(ids::CurveRequest).empty());
    if (this->onEthernet()) {
        EXPECT_EQ(this->messages(), QStringList{"Curve Not Received"});
        EXPECT_EQ(this->dialogs.messages[0].caption, "Receive Error");
        EXPECT_EQ(this->dialogs.messages[0].icon, base::MessageIcon::Critical);
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(this->graph.plotCount(), 0);
        return;
    }
    EXPECT_EQ(this->requestedIndices(ids::CurveRequest2), (std::vector<int>{0, 2, 4, 6, 8, 10, 12}));
    EXPECT_EQ(this->folder.read("logger.dat"), "500\r\n1\r\n1\r\n1\r\n2\r\n 0 \r\n1\r\n1\r\n1\r\n1\r\n"
                                               "100\r\n200\r\n300\r\n0\r\n");
    EXPECT_EQ(this->messages(), QStringList{"Data Transfer Complete"});
    ASSERT_EQ(this->graph.plotCount(), 1);
    EXPECT_EQ(this->graph.plot(1).samples, (std::vector<double>{10, 20, 30, 0}));

    // Cancelled: nothing is asked of the controller.
    this->model.received.clear();
    this->prompt.answers.enqueue(std::nullopt);
    this->session.ReceiveDataLoggerCurve();
    EXPECT_TRUE(this->model.received.empty());
    EXPECT_EQ(this->graph.plotCount(), 1);
}

TYPED_TEST(CurveCollection, ALinkThatCannotBePreparedWritesNothing) {
    this->breakLink();
    const QString path = this->collectInto("none.dat", 1);
    const QString expected = this->s.ConnectionType == ParallelPort
                                 ? "Unable To Configure Candongle - Transfer Failed"
                             : this->onEthernet() ? "Unable to connect using ethernet"
                                                  : "Unable to connect using USB";
    EXPECT_EQ(this->messages(), QStringList{expected});
    EXPECT_EQ(this->dialogs.messages[0].caption,
              this->s.ConnectionType == ParallelPort ? "Configuration Error" : base::ProgramTitle);
    EXPECT_EQ(this->dialogs.messages[0].icon, base::MessageIcon::Critical);
    EXPECT_TRUE(this->requestedIndices(ids::CurveRequest).empty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(this->display.collecting, (std::vector<bool>{true, false}));
}

class CurveCollectionPp : public curvetest::CurveSessionOn<linktest::OnEachLink<testsupport::PpFixture>> {
protected:
    void SetUp() override {
        OnEachLink::SetUp();
        session.Form_Load();
        model.curves[1].assign(40, 7);
    }
};

TEST_F(CurveCollectionPp, ASilentControllerLeavesThePairsReceivedInTheNamedFile) {
    session.setFilePoints(20);
    display.onValue = [&](int i) {
        if (i == 4)
            model.noReply = {ids::CurveRequest};
    };
    const QString path = folder.file("part.dat");
    dialogs.fileNames.enqueue(path);
    session.ReceiveControllerCurve(1);
    EXPECT_EQ(messages(), QStringList{"Curve Not Received\r\nThe words received so far are kept in " + path});
    EXPECT_EQ(dialogs.messages[0].caption, "Receive Error");
    EXPECT_EQ(folder.read("part.dat"), "7\r\n7\r\n7\r\n7\r\n1\r\n 0 \r\n");
    EXPECT_EQ(graph.plotCount(), 0);
    EXPECT_FALSE(busy.busy());
}

TEST_F(CurveCollectionPp, TheChecksBeforeAndAfterTheTransfer) {
    // No point count.
    session.setFilePoints(0);
    session.ReceiveControllerCurve(1);
    EXPECT_EQ(messages(), QStringList{"Collect Curve Canceled - Number Of Samples = 0\r\n"
                                      "Enter number of samples into # of Points field"});
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Information);
    // Another command holds the link.
    session.setFilePoints(20);
    {
        base::BusyGuard other(busy);
        session.ReceiveControllerCurve(1);
    }
    // The save dialog cancelled; an existing file kept after No.
    dialogs.fileNames.enqueue("");
    session.ReceiveControllerCurve(1);
    ASSERT_TRUE(folder.write("old.dat", "keep"));
    dialogs.fileNames.enqueue(folder.file("old.dat"));
    dialogs.yesNoAnswers.enqueue(false);
    session.ReceiveControllerCurve(1);
    EXPECT_EQ(dialogs.questions, QStringList{"File Exists - Overwrite?"});
    EXPECT_EQ(dialogs.asked[0].caption, "File Save");
    EXPECT_EQ(folder.read("old.dat"), "keep");
    EXPECT_TRUE(model.received.empty());

    // The graph fills up while the curve comes: the file stays, no plot is added.
    dialogs.messages.clear();
    display.onValue = [&](int) {
        while (graph.plotCount() < monitor::MaxCurvePlots)
            graph.addPlot();
    };
    dialogs.fileNames.enqueue(folder.file("full.dat"));
    session.ReceiveControllerCurve(1);
    EXPECT_EQ(messages(), QStringList{"Maximum Number Of Curves Reached (10)"});
    EXPECT_EQ(folder.read("full.dat").count("\r\n"), 22);
    // Full before: nothing is asked.
    session.ReceiveControllerCurve(1);
    EXPECT_EQ(messages().size(), 2);
    EXPECT_EQ(dialogs.messages[1].caption, "Receive Curve");
}

} // namespace
