// Stands in for the operator in the C host test: once the comanda dialog is up, clicks its exit button.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QAbstractButton>

extern "C" __attribute__((visibility("default"))) void tkt_test_click_exit_when_shown(void)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *exit = modal->findChild<QAbstractButton *>(QStringLiteral("lblSair"))) {
            poll->stop();
            poll->deleteLater();
            exit->click();
        }
    });
    poll->start(50);
}
