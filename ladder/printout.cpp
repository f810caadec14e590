#include "ladder/printout.h"

namespace ladder {

QStringList rungPrintout(const LadderTree& tree) {
    QStringList lines;
    for (int i = 0; i < tree.count(); ++i) {
        QString path = tree.node(i).text;
        for (int up = tree.node(i).parent; up >= 0; up = tree.node(up).parent)
            path = tree.node(up).text + u'\\' + path;
        lines.append(path);
    }
    return lines;
}

} // namespace ladder
