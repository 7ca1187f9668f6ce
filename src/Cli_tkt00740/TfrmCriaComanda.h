#pragma once
// The comanda information dialog: the operator names the consumer, the waiter and the table of a
// comanda; each is validated against the store's database and the confirmed values go back to the
// host. The class is split by concern:
//   TfrmCriaComanda.cpp       construction, creation, showing, closing, exit, field selection
//   EventGuard.cpp            the one guard every event runs through
//   ConsumerValidation.cpp    Vd_Geral's frame and its consumer branch
//   ConsumerFields.cpp        the consumer fields in the dialog's order, whatever the query's
//   WaiterTableValidation.cpp Vd_Geral's waiter and table branches, Vd_Informacoes
//   Confirmation.cpp          the Enter step and the conclusion spdEnterClick
//   Keyboard.cpp              FormKeyDown, FormKeyPress, postaTexto, label clicks
//   Keypad.cpp                spbTecladoConsClick
//   Pickers.cpp               the consumer, waiter and table pickers and the consumer data button

#include "Cli_tkt00740/ConsumerFields.h"
#include "contracts/ShownText.h"
#include "contracts/TMessages.h"
#include "dataset/Table.h"
#include "db/Connection.h"
#include "db/Query.h"

#include <QDialog>
#include <QScopedPointer>
#include <QString>
#include <QVariant>
#include <functional>

class QLabel;
class TBlendedBitBtn;
namespace Ui { class TfrmCriaComanda; }

namespace Cli_tkt00740 {

// Windows virtual-key codes, the codes the key handler dispatches on.
enum VirtualKey : int {
    VK_BACK = 8,
    VK_RETURN = 13,
    VK_ESCAPE = 27,
    VK_C = 67,
    VK_G = 71,
    VK_M = 77,
    VK_P = 80,
    VK_T = 84,
    VK_F1 = 112,
};

class TfrmCriaComanda : public QDialog {
    Q_OBJECT
    // The host's Trad rewrites the table's texts into the host's language.
    Q_PROPERTY(contracts::TMessages msgPadrao MEMBER msgPadrao)

public:
    explicit TfrmCriaComanda(QWidget *owner = nullptr);
    ~TfrmCriaComanda() override;

    // --- State, in declaration order. Texts are QString inside; flags are "S" / "N".
    QString stCampoAtual;
    QString stNmConsumidor;
    QString stCdVendedor;
    QString stNrMesa;
    QString stCdConsumidor;
    QString stPermiteCons;
    QString stCdCliente;
    QString stPermiteMesa;
    QString stPermiteGarcom;
    QString stCdFilial;
    QString stCdLoja;
    QString stCdCaixa;
    QString stIdUtlSenhaOper;
    QString stCdCCusClie;
    QString stPesqCons04, stPesqCons05, stPesqCons24, stPesqCons25, stPesqCons26, stPesqCons27, stPesqCons28,
        stPesqCons29;
    QString stNrComanda;
    QString stPesqCons30;
    QString stIdPerVenConInat;
    QString stIdConsCampFidel;
    QString stIdExConsAtFil;
    QString stIdExConsAtGer;
    int inCampoAtual = 0;
    QString stIdEsquema;
    QVariant ovSenhaOper;
    bool boUtilizaImpFis = false;
    bool boConsConfirmado = false;

    // --- In-memory tables and the dialog's own consumer queries and connection.
    dataset::Table cdsGarcomAux;
    dataset::Table cdsMesas;
    dataset::Table cdsConsumidor;
    dataset::Table cdsComandas;
    dataset::Table cdsParametrosQor;
    dataset::Table cdsCliente;
    db::Connection adcInfComanda;
    db::Query adqConsumidor;
    db::Query adqPesqConsumidor;
    contracts::TMessages msgPadrao;

    // --- Components of the layout.
    QLabel *lblComanda() const;
    TBlendedBitBtn *lblSair() const;
    QLabel *lblDadosCons() const;
    TBlendedBitBtn *spbPesqCons() const;
    TBlendedBitBtn *spbTecladoCons() const;
    QLabel *lblCdcons() const;
    TBlendedBitBtn *spbCredPes() const;
    QLabel *lblNmCons() const;
    TBlendedBitBtn *spbVendedor() const;
    QLabel *lblCdGarcom() const;
    TBlendedBitBtn *spbPesqMesa() const;
    QLabel *lblNrMesa() const;
    TBlendedBitBtn *spdEnter() const;
    QLabel *lblCodTela() const;

    // --- Handlers and methods.
    void FormCreate();
    void FormShow();
    void FormClose();
    void lblSairClick();
    void adcInfComandaBeforeConnect(db::Connection &connection);
    void adcInfComandaAfterConnect(db::Connection &connection);

    bool Vd_Geral();
    bool Vd_Informacoes();

    void enterStep();
    void spdEnterClick();

    void FormKeyDown(int &key, Qt::KeyboardModifiers shift);
    void FormKeyPress(QChar &key);
    void postaTexto(int campo, const QString &texto, bool apaga);
    void bsdConsumidorClick();
    void bdsGarcomClick();
    void bdsMesaClick();
    void lblDadosConsClick();

    void spbTecladoConsClick();
    void spbPesqConsClick();
    void spbCredPesClick();
    void spbVendedorClick();
    void spbPesqMesaClick();

    // Selecting field n: inCampoAtual, stCampoAtual and the keypad button's row follow.
    void selectField(int n);

    // The message of a key of msgPadrao.
    QString msg(const QString &key) const;
    // The same, with the words it had before Trad, for the log.
    tkt::ShownText message(const QString &key) const;
    // A notice with the dialog's scheme; the log gets the source words.
    void notice(const tkt::ShownText &text) const;

    // The packet of a service's result, checked by MensagemMetodo, loaded into `table`; the fields'
    // display labels and visibility that the dialog gives its tables are kept.
    void loadServiceResult(dataset::Table &table, const QVariant &result, const QString &service,
                           const QString &arguments);

    // The rows of the last consumer query (after a registration, of the search query), as the
    // consumer branch of Vd_Geral works on them; never left narrowed between validations.
    const dataset::Table &consumerSearchSet() const { return m_consumerSearchSet; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bindComponents();
    void designTables();
    bool validateField(); // Vd_Geral's work, which Vd_Geral logs
    bool validateConsumer();
    bool validateWaiter();
    // The waiter service judges `code` for this branch and till into cdsGarcomAux; the answer is the
    // message key that refuses the waiter (`notFoundKey` when there is no such waiter), "" when the
    // waiter may serve.
    QString judgeWaiter(const QString &code, const QString &notFoundKey);
    // Holds the waiter cdsGarcomAux accepted and shows it as "code - name".
    void takeJudgedWaiter();
    bool validateTable();
    void runConsumerQuery(db::Query &query, const QString &text);

    QScopedPointer<Ui::TfrmCriaComanda> m_ui;
    contracts::TMessages m_sourceMessages; // msgPadrao as designed, before Trad
    bool m_shownOnce = false;
    dataset::Table m_consumerSearchSet;
    ConsumerFields m_consumerFields;
};

} // namespace Cli_tkt00740
