#pragma once
// A whole-number editor that takes any number typed and holds it to its limits when the entry is
// committed: 150 typed into an editor of 1..99 becomes 99, 0 becomes 1. (A plain spin box refuses the
// keystroke that leaves its range, so the user could never type past the maximum to reach it.)

#include "controls/ui/numedit.h"

#include <optional>

namespace logicio {

class LimitNumEdit : public controls::NumEdit {
    Q_OBJECT
public:
    LimitNumEdit(int minimum, int maximum, QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;

private:
    // The whole number the user typed, when the text holds one.
    std::optional<long long> typedNumber(const QString& text) const;
};

} // namespace logicio
