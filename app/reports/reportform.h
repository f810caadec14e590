#pragma once
// The two forms of the parameter reports: as a report window shows them, and as the settings collection
// writes them to its files (a line or two fewer).

namespace app {

enum class ReportForm {
    Menu, // the report of a View menu command
    File, // the settings collection's file of the same report
};

} // namespace app
