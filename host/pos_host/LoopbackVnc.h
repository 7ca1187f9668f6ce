#pragma once
// Keeps the VNC platform's server on the loopback interface.
//
// Qt 6.4's VNC platform has no address option: its server listens on every interface, without a
// password, and would hand the till to anyone on the network. The server opens its socket from a
// queued call on the first turn of the event loop; this filter catches that call, lets it run,
// and moves the socket to 127.0.0.1 before any connection is accepted.

#include <QObject>

namespace poshost {

class LoopbackVnc : public QObject {
    Q_OBJECT

public:
    // Installs itself on the application when the platform is "vnc"; otherwise does nothing.
    static void installIfVnc();

    // When the platform is chosen here because there is no display.
    static bool chooseWhenNoDisplay(int argc, char **argv);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_done = false;
};

} // namespace poshost
