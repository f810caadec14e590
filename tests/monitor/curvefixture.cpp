#include "tests/monitor/curvefixture.h"

namespace curvetest {

void RecordedGraph::removeLastPlot() {
    if (!plots.empty())
        plots.pop_back();
}

void RecordedGraph::clearData() {
    for (Plot& p : plots)
        p.samples.clear();
}

void RecordedGraph::drawPlot(int plot, int yAxis, std::span<const double> samples) {
    ASSERT_GE(plot, 1);
    ASSERT_LE(plot, plotCount());
    plots[std::size_t(plot - 1)] = {yAxis, {samples.begin(), samples.end()}};
    ++draws;
}

void RecordedGraph::setAxisRange(int axis, double minimum, double maximum) {
    ASSERT_GE(axis, TimeAxis);
    ASSERT_LE(axis, AngleAxis);
    ranges[std::size_t(axis)] = {minimum, maximum};
}

app::ValueButton QueuedValuePrompt::ask(app::ValueEntryForm& form) {
    shown.push_back(form);
    if (answers.isEmpty()) {
        ADD_FAILURE() << "unexpected value-entry dialog";
        return app::ValueButton::Cancel;
    }
    const std::optional<int> answer = answers.dequeue();
    if (!answer)
        return app::ValueButton::Cancel;
    form.value.setValue(*answer);
    return app::ValueButton::Enter;
}

QByteArray curveFileBytes(int curve, const std::vector<int>& samples, int timeScale) {
    QStringList lines{
        QString::number(timeScale), "0", "0", "0", QString::number(curve), " 0 ", "0", "0", "0", "0"};
    for (int v : samples)
        lines << QString::number(v);
    return lines.join("\r\n").toLatin1() + "\r\n";
}

} // namespace curvetest
