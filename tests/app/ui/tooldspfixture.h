#pragma once
// The main window over the stand-in on one of its links, for the Tool and Dsp commands.

#include "app/ui/frmmain.h"
#include "tests/support/linkparam.h"
#include "tests/support/ui/appfixture.h"

#include <QStringList>

#include <initializer_list>

namespace apptest {

using testsupport::Link;
using testsupport::linkName;

class ToolDspFixture : public AppFixture {
protected:
    ToolDspFixture();
    void trigger(const char* name);
    // Lines of the latest report window, when one was shown.
    QStringList report() const;
    int reportWindows() const;
    // Scripts the value-entry dialog: Enter with these fields, or Cancel.
    void enterEeprom(int address, int data);
    void enterValue(int value);
    void cancelEntry();
    // Triggers the menu entries while another command holds the program busy: nothing goes to the
    // controller, no box, no prompt and no report window.
    void expectNothingWhileBusy(std::initializer_list<const char*> names);
    // The texts of the messages shown, in order.
    QStringList messages() const { return dialogs->messageTexts(); }
    base::MessageIcon lastIcon() const {
        return dialogs->messages.empty() ? base::MessageIcon::None : dialogs->messages.back().icon;
    }

    app::FrmMain main{ctx};
};

} // namespace apptest
