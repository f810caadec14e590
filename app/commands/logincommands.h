#pragma once
// File > Login, System > Change Password and System > Temporary Password.

#include "app/ui/commandframe.h"

namespace app {

class LoginCommands : public CommandGroup {
public:
    using CommandGroup::CommandGroup;
    void bind() override;

    // The login window (modal); afterwards the menus follow the access level, also after a wrong entry.
    void mnuLogin_Click();
    // The new-password window (modal).
    void mnuChangePassword_Click();
    // "Today's Password is:  " and the day's code.
    void mnuTempPassword_Click();
};

} // namespace app
