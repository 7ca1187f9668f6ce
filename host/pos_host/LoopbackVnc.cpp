#include "pos_host/LoopbackVnc.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <cstdio>
#include <cstring>

namespace poshost {

namespace {

void tell(const QString &line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stderr);
    std::fflush(stderr);
}

} // namespace

bool LoopbackVnc::chooseWhenNoDisplay(int argc, char **argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return false;
    qputenv("QT_QPA_PLATFORM", "vnc:size=1024x768");
    return true;
#else
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    return false;
#endif
}

void LoopbackVnc::installIfVnc()
{
    if (QGuiApplication::platformName() != QLatin1String("vnc"))
        return;
    auto *filter = new LoopbackVnc;
    filter->setParent(qApp); // freed with the application
    qApp->installEventFilter(filter);
}

bool LoopbackVnc::eventFilter(QObject *watched, QEvent *event)
{
    if (m_done || event->type() != QEvent::MetaCall || !watched->inherits("QVncServer")
        || watched->findChild<QTcpServer *>())
        return false;
    m_done = true;

    if (!QMetaObject::invokeMethod(watched, "init", Qt::DirectConnection)) {
        tell(QStringLiteral("Warning: the VNC server could not be kept on 127.0.0.1; it listens on every "
                            "network interface without a password."));
        return false;
    }
    QTcpServer *server = watched->findChild<QTcpServer *>();
    if (!server) {
        tell(QStringLiteral("The VNC server did not open its socket."));
        return true;
    }
    const quint16 port = server->serverPort();
    server->close();
    if (port == 0 || !server->listen(QHostAddress::LocalHost, port)) {
        tell(QStringLiteral("The VNC server cannot listen on 127.0.0.1:%1: %2")
                 .arg(port)
                 .arg(port == 0 ? QStringLiteral("the port is taken") : server->errorString()));
        return true;
    }
    tell(QStringLiteral("Connect a VNC viewer to 127.0.0.1:%1").arg(port));
    return true;
}

} // namespace poshost
