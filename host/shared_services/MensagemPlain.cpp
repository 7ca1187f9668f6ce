// The plain message dialog: a modal message box over the active window.
#include "shared_services/StandIn.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace sharedservices {

bool mensagem(const QString &text, const QString &a2, const QString &a3, const QString &ask, int kind,
              const QString &a6, const QString &scheme, int a8, dataset::Table *table)
{
    Q_UNUSED(a2)
    Q_UNUSED(a3)
    Q_UNUSED(a6)
    Q_UNUSED(scheme)
    Q_UNUSED(a8)
    Q_UNUSED(table)

    const bool question = ask.trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;

    QMessageBox box(QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.setText(text);
    if (question) {
        box.setWindowTitle(QCoreApplication::translate("Mensagem", "Confirmação"));
        box.setIcon(QMessageBox::Question);
        QPushButton *yes = box.addButton(QCoreApplication::translate("Mensagem", "Sim"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QCoreApplication::translate("Mensagem", "Não"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }
    box.setWindowTitle(QCoreApplication::translate("Mensagem", "Atenção"));
    box.setIcon(kind == static_cast<int>(contracts::TTipoMsg::Informacao) ? QMessageBox::Information
                                                                          : QMessageBox::NoIcon);
    box.addButton(QCoreApplication::translate("Mensagem", "OK"), QMessageBox::AcceptRole);
    box.exec();
    return false;
}

} // namespace sharedservices
