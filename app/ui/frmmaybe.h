#pragma once
// frmMaybe: the logic-editor chooser shown when the controller's type is unknown: "Logic 2001" opens the
// ladder editor, "Logic 2002" the version 2 logic editor, "Logic 2006" the version 3 editor.

#include <QWidget>

namespace app {

class WindowRegistry;

class FrmMaybe : public QWidget {
    Q_OBJECT
public:
    explicit FrmMaybe(WindowRegistry& windows, QWidget* parent = nullptr);

    void cmdChoice_Click(int index);
    void cmdCancel_Click();

private:
    void unload();

    WindowRegistry& windows_;
};

} // namespace app
