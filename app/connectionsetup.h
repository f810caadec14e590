#pragma once
// What the connection window does with the link: the user chooses the link to the dongle (parallel port,
// Ethernet, USB), the choice is tried at once and its result told; on Ethernet the connection is watched
// and dialled again whenever the socket is closed or has failed. The window shows the texts and the lamp
// this gives it, and saves the settings after each choice. The connection window's session: the window
// forwards to it, it decides.

#include <QString>

#include <optional>

namespace clink {
class ControllerLink;
}

namespace app {

class AppServices;

class ConnectionSetup {
public:
    // The result texts of the link test.
    static QString ethernetText(bool connected);
    static const QString UsbEstablished;
    static const QString UsbFailed;
    static const QString ParallelEstablished;
    static const QString ParallelFailed;

    // The lamp beside the address: green connected, red failed, yellow on the way; other socket states
    // leave it as it is.
    enum class Lamp { Unchanged, Connected, Failed, Connecting };

    // What a choice of link leaves to show.
    struct Outcome {
        std::optional<bool> addressShown; // the address and port boxes shown or hidden; nothing: as they were
        std::optional<QString> settingsText; // the result text; nothing leaves the text as it was
        bool showWindow = false;             // the parallel port could not be opened: the window stays up
    };

    explicit ConnectionSetup(clink::ControllerLink& link) : link_(link) {}
    // The program's link (the connection window's).
    explicit ConnectionSetup(AppServices& services);

    // The window has loaded: the link it found is remembered, and on Ethernet the stored address dialled.
    void load();
    // The link chosen (1 parallel port, 2 Ethernet, 3 USB, 0 none), its name line, the stored address and
    // port texts, and whether it is Ethernet.
    int linkType() const;
    bool onEthernet() const;
    QString connectionLabel() const;
    QString address() const;
    QString port() const;
    // "Connection Established" or the no-connection text, by the socket's state.
    QString ethernetSettingsText() const;
    Lamp lamp() const;

    // The user chose a link type (1..3; any other value chooses none) with this address text: the choice
    // is stored and tried at once. The parallel port is opened only when it was not the link before; else
    // the result is the port's own state (established while it is open, no text otherwise), never the
    // result of the link chosen before it.
    Outcome choose(int type, const QString& addressText);
    // The port box's text as typed: taken only when it is a port from 1 to 65535.
    void setPort(const QString& text);
    // The timer's watch: on Ethernet the result text, and a closed or failed socket is dialled again;
    // nothing on any other link.
    std::optional<QString> watch();

private:
    // Dials the stored address and port; an invalid port is never dialled.
    void reconnect();
    bool tryUsb();
    QString tryParallel(bool& showWindow);

    clink::ControllerLink& link_;
    // The link the window found when it loaded; the parallel-port path sets it to 1.
    int rememberedLink_ = 0;
};

} // namespace app
