#include "base/shownline.h"

#include "base/cp1252.h"

#include <algorithm>
#include <cstring>

namespace base {

namespace {
constexpr char Tab = '\t';
constexpr char Blank = ' ';
// The room made for the shown columns at first; a longer run makes more.
constexpr qsizetype FirstRoom = 4096;
} // namespace

QByteArray ShownLine::walk(qsizetype to, bool make) {
    // The shown columns are written in place: each run between two tabs is copied at once, and each tab's
    // blanks are set at once.
    QByteArray shown;
    if (make && column_ < to)
        shown.resize(std::min({to - column_, (line_.size() - byte_) * TabWidth, FirstRoom}));
    qsizetype made = 0;
    const auto room = [&shown, &made](qsizetype n) {
        if (made + n > shown.size())
            shown.resize(std::max(2 * shown.size(), made + n));
        char* at = shown.data() + made;
        made += n;
        return at;
    };
    const char* const data = line_.data();
    while (column_ < to && byte_ < line_.size()) {
        if (data[byte_] == Tab) {
            // The tab's blanks run to its stop; a column inside them lies in the same stretch of TabWidth.
            const qsizetype stop = (column_ / TabWidth + 1) * TabWidth;
            const qsizetype blanks = std::min(stop, to) - column_;
            if (make)
                std::memset(room(blanks), Blank, std::size_t(blanks));
            column_ += blanks;
            if (column_ == stop)
                ++byte_;
            continue;
        }
        const qsizetype most = std::min(line_.size() - byte_, to - column_);
        const void* tab = std::memchr(data + byte_, Tab, std::size_t(most));
        const qsizetype run = tab ? static_cast<const char*>(tab) - (data + byte_) : most;
        if (make)
            std::memcpy(room(run), data + byte_, std::size_t(run));
        byte_ += run;
        column_ += run;
    }
    shown.truncate(made);
    return shown;
}

qsizetype ShownLine::width(QByteArrayView line) {
    if (!line.contains(Tab))
        return line.size();
    ShownLine shown(line);
    // Every byte shows as at least one column, so the line ends within TabWidth columns a byte.
    shown.skipTo(line.size() * TabWidth);
    return shown.column();
}

QString ShownLine::columns(QByteArrayView line, qsizetype from, qsizetype to) {
    ShownLine shown(line);
    shown.skipTo(from);
    return fromCp1252(shown.take(to));
}

} // namespace base
