// The fiscal reports. This stand-in drives no fiscal printer: each report only says so.
#include "Pkg_Aux00090/StandIn.h"
#include "TouchDialog.h"

#include "contracts/TBlendedBitBtn.h"
#include "shared_services/widgets/TouchStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace commonui {

namespace {

class FiscalReportsDialog : public TouchDialog {
    Q_DECLARE_TR_FUNCTIONS(RelFiscais)

public:
    FiscalReportsDialog() : TouchDialog(QStringLiteral("RelFiscais"), tr("Relatórios Fiscais"))
    {
        const struct {
            const char *name;
            QString caption;
        } reports[] = {{"btnLeituraX", tr("Leitura X")},
                       {"btnReducaoZ", tr("Redução Z")},
                       {"btnMemoriaFiscal", tr("Leitura da Memória Fiscal")}};
        for (const auto &report : reports) {
            const QString caption = report.caption;
            body()->addWidget(addButton(QLatin1String(report.name), caption, colors::digit,
                                        [caption] {
                                            showNotice(tr("%1: a impressora fiscal deste terminal é simulada; nenhum relatório foi emitido.")
                                                           .arg(caption));
                                        },
                                        QSize(380, 64)));
        }
        auto *closeRow = new QHBoxLayout;
        closeRow->addStretch();
        closeRow->addWidget(addButton(QStringLiteral("btnFechar"), tr("Fechar"), tkt::touch::outline,
                                      [this] { reject(); }));
        body()->addLayout(closeRow);
    }

protected:
    bool handleKey(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        return false;
    }
};

} // namespace

void relFiscais()
{
    runRoutine([] {
        FiscalReportsDialog dialog;
        dialog.run();
        return true;
    });
}

} // namespace commonui
