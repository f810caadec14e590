#pragma once
// A numeric editor that shows its value in the program's number text (12.5, 80, 0.333), the way Pset
// records and settings hold it, whatever the desktop's locale: a point as decimal separator, no digit
// grouping, no trailing zeros.

#include "controls/ui/numedit.h"

namespace pset {

class VbNumEdit : public controls::NumEdit {
    Q_OBJECT
public:
    // Values keep this many decimals (the spin box rounds to them).
    static constexpr int Decimals = 3;

    // An editor for 0..maximum.
    explicit VbNumEdit(double maximum, QWidget* parent = nullptr);

protected:
    QString textFromValue(double value) const override;
};

} // namespace pset
