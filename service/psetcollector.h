#pragma once
// The Psets collector: reads every Pset the controller holds into the program's Pset table and writes
// Psets 1..8 of the table as the project file base + ".PST" (replaced without a question). The fields of
// a Pset are its received values, raw soft start and ergo bytes, the Pset count and the curve "None*";
// the torque percent keeps what the table held, as do the records of Psets the controller does not have.

#include "service/collector.h"

namespace service {

class PsetCollector : public ServiceCollector {
public:
    // The bar: 75 spread over the Pset reads, 100 at the end.
    static constexpr int ReadsSpan = 75;
    static constexpr int Done = 100;

    using ServiceCollector::ServiceCollector;
    bool collect(const QString& base, CollectorPage& page) override;
};

} // namespace service
