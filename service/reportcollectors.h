#pragma once
// The collectors that read a block of settings and write it as a text report next to the base name: the
// DSP parameters (base + "DSPParms.txt"), the tool parameters (base + "ToolParms.txt") and every tool
// EEPROM location (base + "ToolEprom.txt"). Each checks the link for its reply, reads the whole block,
// shows the report in the window's list and then writes it (replaced without a question); a failed read
// writes nothing and leaves an existing file as it was.

#include "service/collector.h"

namespace service {

class DspParmsCollector : public ServiceCollector {
public:
    // The bar: the byte address / 2 during the reads, then 90 and 100.
    static constexpr int AddressDivisor = 2;
    static constexpr int Read = 90;
    static constexpr int Done = 100;

    using ServiceCollector::ServiceCollector;
    bool collect(const QString& base, CollectorPage& page) override;
};

class ToolParmsCollector : public ServiceCollector {
public:
    // The bar (of 150): the location / 10 during the reads, then 130, 140 and 150.
    static constexpr int AddressDivisor = 10;
    static constexpr int Read = 130;
    static constexpr int Listed = 140;
    static constexpr int Done = 150;

    using ServiceCollector::ServiceCollector;
    bool collect(const QString& base, CollectorPage& page) override;
};

class ToolEpromCollector : public ServiceCollector {
public:
    // The bar (of 150): the location / 10 during the reads, then 140 and 150.
    static constexpr int AddressDivisor = 10;
    static constexpr int Listed = 140;
    static constexpr int Done = 150;

    using ServiceCollector::ServiceCollector;
    bool collect(const QString& base, CollectorPage& page) override;
};

} // namespace service
