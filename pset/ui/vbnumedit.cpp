#include "pset/ui/vbnumedit.h"

#include "base/vbrules.h"

#include <QLocale>

namespace pset {

VbNumEdit::VbNumEdit(double maximum, QWidget* parent) : controls::NumEdit(parent) {
    setLocale(QLocale::c());
    setDecimals(Decimals);
    setRange(0, maximum);
}

QString VbNumEdit::textFromValue(double value) const {
    return base::vbNum(value);
}

} // namespace pset
