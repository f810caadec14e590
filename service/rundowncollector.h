#pragma once
// The rundowns collector: for every Pset the controller holds, its parameters and its rundown log, each
// printed as the rundown report; all reports one after the other in base + "Rundowns.txt". Nothing is
// written before the first Pset's report is complete; when a later read fails, the reports of the Psets
// finished before it are what the file holds. The Pset texts of a report are blanked once printed.

#include "service/collector.h"

namespace clink {
struct PsetReportRecord;
}

namespace service {

class RundownsCollector : public ServiceCollector {
public:
    // The bar: +10 per Pset (up to 90), then 90 and 100.
    static constexpr int PerPset = 10;
    static constexpr int Read = 90;
    static constexpr int Done = 100;

    using ServiceCollector::ServiceCollector;
    bool collect(const QString& base, CollectorPage& page) override;

private:
    // Pset p's report record: its place in the report table, or (for a Pset beyond it) local.
    clink::PsetReportRecord* readReportRecord(int p, clink::PsetReportRecord& local);
    // The report of Pset p from its record and the log in DataBuffer; the record's texts are blanked.
    QStringList report(int p, clink::PsetReportRecord& record);
};

} // namespace service
