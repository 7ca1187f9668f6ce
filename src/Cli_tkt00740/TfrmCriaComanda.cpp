// Construction, creation, showing, closing and exit of the comanda dialog, and field selection.
#include "Cli_tkt00740/TfrmCriaComanda.h"

#include "Cli_tkt00740/EventGuard.h"
#include "Cli_tkt00740/Globals.h"
#include "Cli_tkt00740/HostFolder.h"
#include "Cli_tkt00740/KeyCodes.h"
#include "Srv_tkt00740/Services.h"
#include "db/SqlText.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "contracts/Log.h"
#include "contracts/MessageForms.h"
#include "contracts/SharedServices.h"
#include "contracts/TBlendedBitBtn.h"
#include "ui_TfrmCriaComanda.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

namespace Cli_tkt00740 {

namespace {

const QString kUnit = QStringLiteral("Cli_Tkt00740");

dataset::Field designField(const char *name, int width, const char *label = nullptr, bool visible = true)
{
    dataset::Field f;
    f.name = QLatin1String(name);
    f.type = dataset::FieldType::String;
    f.width = width;
    f.displayLabel = label ? QString::fromUtf8(label) : QString();
    f.visible = visible;
    return f;
}

} // namespace

TfrmCriaComanda::TfrmCriaComanda(QWidget *owner)
    : QDialog(owner)
    , adqConsumidor(adcInfComanda)
    , adqPesqConsumidor(adcInfComanda)
    , m_ui(new Ui::TfrmCriaComanda)
{
    m_ui->setupUi(this);
    // A touch window: no title bar, no system buttons, a fixed client area in the middle of the screen.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(461, 411);
    setFocusPolicy(Qt::StrongFocus);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    msgPadrao = contracts::TMessages::fromFile(QStringLiteral(":/tkt00740/msgPadrao.txt"));
    m_sourceMessages = msgPadrao;
    designTables();
    bindComponents();

    adcInfComanda.beforeConnect = [this](db::Connection &c) { adcInfComandaBeforeConnect(c); };
    adcInfComanda.afterConnect = [this](db::Connection &c) { adcInfComandaAfterConnect(c); };

    guardEvent([this] { FormCreate(); });
}

TfrmCriaComanda::~TfrmCriaComanda()
{
    adqConsumidor.close();
    adqPesqConsumidor.close();
    adcInfComanda.close();
    if (boIdCriado && frmCriaComanda == this)
        boIdCriado = false;
}

QLabel *TfrmCriaComanda::lblComanda() const { return m_ui->lblComanda; }
TBlendedBitBtn *TfrmCriaComanda::lblSair() const { return m_ui->lblSair; }
QLabel *TfrmCriaComanda::lblDadosCons() const { return m_ui->lblDadosCons; }
TBlendedBitBtn *TfrmCriaComanda::spbPesqCons() const { return m_ui->spbPesqCons; }
TBlendedBitBtn *TfrmCriaComanda::spbTecladoCons() const { return m_ui->spbTecladoCons; }
QLabel *TfrmCriaComanda::lblCdcons() const { return m_ui->lblCdcons; }
TBlendedBitBtn *TfrmCriaComanda::spbCredPes() const { return m_ui->spbCredPes; }
QLabel *TfrmCriaComanda::lblNmCons() const { return m_ui->lblNmCons; }
TBlendedBitBtn *TfrmCriaComanda::spbVendedor() const { return m_ui->spbVendedor; }
QLabel *TfrmCriaComanda::lblCdGarcom() const { return m_ui->lblCdGarcom; }
TBlendedBitBtn *TfrmCriaComanda::spbPesqMesa() const { return m_ui->spbPesqMesa; }
QLabel *TfrmCriaComanda::lblNrMesa() const { return m_ui->lblNrMesa; }
TBlendedBitBtn *TfrmCriaComanda::spdEnter() const { return m_ui->spdEnter; }
QLabel *TfrmCriaComanda::lblCodTela() const { return m_ui->lblCodTela; }

void TfrmCriaComanda::designTables()
{
    // The column titles are translated when rows are loaded (loadServiceResult), after Trad has
    // installed the host's language.
    cdsGarcomAux.setFields({designField("CDVENDEDOR", 4, QT_TR_NOOP("Código")),
                            designField("NMFANVEN", 50, QT_TR_NOOP("Nome do Garçom")),
                            designField("CDOPERADOR", 12, nullptr, false), designField("CDFILIAL", 4, nullptr, false),
                            designField("CDCAIXA", 3, nullptr, false), designField("HABILITADO", 1, nullptr, false)});
    cdsMesas.setFields({designField("NRMESA", 4, QT_TR_NOOP("Número")), designField("NMMESA", 30, QT_TR_NOOP("Nome da Mesa")),
                        designField("IDSTMESAAUX", 1)});
    cdsCliente.setFields({designField("CDCLIENTE", 21), designField("IDTPIJURCLIE", 1),
                          designField("NRINSJURCLIE", 20), designField("NMRAZSOCCLIE", 50),
                          designField("NMFANTCLIE", 50), designField("CDEXCLIENTE", 30),
                          designField("CDFILTABPREC", 4), designField("CDTABEPREC", 3)});
}

void TfrmCriaComanda::bindComponents()
{
    auto onClick = [this](TBlendedBitBtn *button, void (TfrmCriaComanda::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { guardEvent([this, handler] { (this->*handler)(); }); });
    };
    onClick(m_ui->lblSair, &TfrmCriaComanda::lblSairClick);
    onClick(m_ui->spbPesqCons, &TfrmCriaComanda::spbPesqConsClick);
    onClick(m_ui->spbTecladoCons, &TfrmCriaComanda::spbTecladoConsClick);
    onClick(m_ui->spbCredPes, &TfrmCriaComanda::spbCredPesClick);
    onClick(m_ui->spbVendedor, &TfrmCriaComanda::spbVendedorClick);
    onClick(m_ui->spbPesqMesa, &TfrmCriaComanda::spbPesqMesaClick);
    onClick(m_ui->spdEnter, &TfrmCriaComanda::spdEnterClick);
    for (QLabel *label : {m_ui->lblCdcons, m_ui->lblCdGarcom, m_ui->lblNrMesa, m_ui->lblDadosCons})
        label->installEventFilter(this);
}

bool TfrmCriaComanda::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        void (TfrmCriaComanda::*handler)() = nullptr;
        if (watched == m_ui->lblCdcons)
            handler = &TfrmCriaComanda::bsdConsumidorClick;
        else if (watched == m_ui->lblCdGarcom)
            handler = &TfrmCriaComanda::bdsGarcomClick;
        else if (watched == m_ui->lblNrMesa)
            handler = &TfrmCriaComanda::bdsMesaClick;
        else if (watched == m_ui->lblDadosCons)
            handler = &TfrmCriaComanda::lblDadosConsClick;
        if (handler) {
            guardEvent([this, handler] { (this->*handler)(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString TfrmCriaComanda::msg(const QString &key) const
{
    return msgPadrao.Msg(key);
}

tkt::ShownText TfrmCriaComanda::message(const QString &key) const
{
    return {m_sourceMessages.Msg(key), msgPadrao.Msg(key)};
}

void TfrmCriaComanda::notice(const tkt::ShownText &text) const
{
    // Also in the host's log, so a support technician can read what the operator was told.
    qCWarning(lcDialog).noquote() << "comanda" << stNrComanda << "notice:" << text.source;
    contracts::notice(text.shown, stIdEsquema);
}

void TfrmCriaComanda::loadServiceResult(dataset::Table &table, const QVariant &result, const QString &service,
                                        const QString &arguments)
{
    const QByteArray packet = contracts::MensagemMetodo(result, true, 0, service, kUnit, arguments, stIdEsquema);
    // The dialog's tables keep their column titles, in the host's language, and hidden columns
    // whatever the packet carries.
    const dataset::FieldList design = table.fields();
    table.loadPacket(packet);
    for (const dataset::Field &designed : design) {
        if (!table.hasField(designed.name))
            continue;
        dataset::Field &loaded = table.field(designed.name);
        loaded.displayLabel = designed.displayLabel.isEmpty() ? QString() : tr(designed.displayLabel.toUtf8().constData());
        loaded.visible = designed.visible;
    }
    table.first();
}

void TfrmCriaComanda::FormCreate()
{
    contracts::Trad(this);
    Srv_tkt00740::createDataModule().adcConfComanda.open();

    const QString parameters = hostProgramFolder() + QStringLiteral("/PARAMETROSQOR.CDS");
    if (QFileInfo::exists(parameters)) {
        cdsParametrosQor.loadFromFile(parameters);
        cdsParametrosQor.first();
        stCdFilial = cdsParametrosQor.text(QStringLiteral("CDFILIAL"));
        stCdLoja = cdsParametrosQor.text(QStringLiteral("CDLOJA"));
        stCdCaixa = cdsParametrosQor.text(QStringLiteral("CDCAIXA"));
        stIdEsquema = cdsParametrosQor.text(QStringLiteral("IDESQUEMA"));
        stIdUtlSenhaOper = cdsParametrosQor.text(QStringLiteral("IDUTLSENHAOPER"));
        stCdCCusClie = cdsParametrosQor.text(QStringLiteral("CDCCUSCLIE"));
        boUtilizaImpFis = cdsParametrosQor.value(QStringLiteral("UTILIZAIMPFIS")).toBool();
        stIdPerVenConInat = cdsParametrosQor.text(QStringLiteral("IDPERVENCONINAT"));
        stIdConsCampFidel = cdsParametrosQor.text(QStringLiteral("IDCONSCAMPFIDEL"));
        stIdExConsAtFil = cdsParametrosQor.text(QStringLiteral("IDEXCONSATFIL"));
        stIdExConsAtGer = cdsParametrosQor.text(QStringLiteral("IDEXCONSATGER"));
    }

    m_ui->lblCdcons->clear();
    m_ui->lblNmCons->clear();
    m_ui->lblCdGarcom->clear();
    m_ui->lblNrMesa->clear();
    m_ui->lblCodTela->setText(contracts::MontaRodapeGeral(boUtilizaImpFis, m_ui->lblCodTela->text(), QStringLiteral("S")));
    selectField(1);
}

void TfrmCriaComanda::FormShow()
{
    const QString S = QStringLiteral("S");
    m_ui->spbPesqCons->setEnabled(stPermiteCons == S);
    m_ui->spbTecladoCons->setEnabled(stPermiteCons == S);
    m_ui->spbPesqMesa->setEnabled(stPermiteMesa == S);
    m_ui->spbVendedor->setEnabled(stPermiteGarcom == S);

    try {
        loadServiceResult(cdsConsumidor, Srv_tkt00740::getValidaCons(stCdConsumidor, stCdCliente),
                          QStringLiteral("getValidaCons"), stCdConsumidor + QLatin1Char('-') + stCdCliente);
        const QString consumer = cdsConsumidor.isEmpty() ? QString() : cdsConsumidor.text(QStringLiteral("CDCONSUMIDOR"));
        if (consumer.isEmpty()) {
            m_ui->lblCdcons->clear();
            m_ui->lblNmCons->clear();
            m_ui->spbCredPes->setEnabled(false);
        } else {
            stCdCliente = cdsConsumidor.text(QStringLiteral("CDCLIENTE"));
            stCdConsumidor = consumer;
            m_ui->lblCdcons->setText(consumer);
            m_ui->lblNmCons->setText(cdsConsumidor.text(QStringLiteral("NMCONSUMIDOR")));
            m_ui->spbCredPes->setEnabled(true);
        }

        const QString waiter = contracts::Ajusta(stCdVendedor, 4);
        loadServiceResult(cdsGarcomAux,
                          Srv_tkt00740::getValidaGarcom(waiter, stCdFilial, stCdCaixa, QStringLiteral("2")),
                          QStringLiteral("getValidaGarcom"),
                          QStringList({waiter, stCdFilial, stCdCaixa, QStringLiteral("2")}).join(QStringLiteral(" - ")));
        if (cdsGarcomAux.isEmpty()) {
            m_ui->lblCdGarcom->clear();
        } else {
            stCdVendedor = cdsGarcomAux.text(QStringLiteral("CDVENDEDOR"));
            m_ui->lblCdGarcom->setText(stCdVendedor + QStringLiteral(" - ") + cdsGarcomAux.text(QStringLiteral("NMFANVEN")));
        }

        const QString table = contracts::Ajusta(stNrMesa, 4);
        loadServiceResult(cdsMesas, Srv_tkt00740::getValMesa(stCdFilial, stCdLoja, table), QStringLiteral("getValMesa"),
                          QStringList({stCdFilial, stCdLoja, table}).join(QLatin1Char('-')));
        const QString number = cdsMesas.isEmpty() ? QString() : cdsMesas.text(QStringLiteral("NRMESA"));
        if (number.isEmpty()) {
            m_ui->lblNrMesa->clear();
        } else {
            stNrMesa = number;
            m_ui->lblNrMesa->setText(number + QStringLiteral(" - ") + cdsMesas.text(QStringLiteral("NMMESA")));
        }
    } catch (const std::exception &e) {
        notice(tkt::shownTextOf(e));
    }
}

void TfrmCriaComanda::FormClose()
{
    boIdCriado = false;
}

void TfrmCriaComanda::lblSairClick()
{
    boResult = false;
    close();
}

void TfrmCriaComanda::adcInfComandaBeforeConnect(db::Connection &connection)
{
    connection.setConnectionString(contracts::_GetStringConexQor(QString()));
}

void TfrmCriaComanda::adcInfComandaAfterConnect(db::Connection &connection)
{
    contracts::SetADODBSession(connection);
    const QString text = db::sqlText(QStringLiteral(":/cli/sql"), QStringLiteral("adqConsumidor"), connection.kind());
    adqConsumidor.setSql(text);
    adqPesqConsumidor.setSql(text);
}

void TfrmCriaComanda::selectField(int n)
{
    if (n < 1 || n > 3)
        return;
    inCampoAtual = n;
    stCampoAtual = QString::number(n);
    TBlendedBitBtn *rowButton = n == 1 ? m_ui->spbPesqCons : n == 2 ? m_ui->spbVendedor : m_ui->spbPesqMesa;
    m_ui->spbTecladoCons->move(m_ui->spbTecladoCons->x(), rowButton->y());
}

void TfrmCriaComanda::keyPressEvent(QKeyEvent *event)
{
    // The dialog owns every key: QDialog's own Esc (reject) and Enter (default button) never run.
    guardEvent([this, event] {
        int key = virtualKeyOf(event);
        FormKeyDown(key, event->modifiers());
        const Qt::KeyboardModifiers mods = event->modifiers();
        if (mods & (Qt::AltModifier | Qt::ControlModifier))
            return;
        for (QChar ch : event->text()) {
            if (!isVisible())
                return;
            FormKeyPress(ch);
        }
    });
}

void TfrmCriaComanda::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setFocus();
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    guardEvent([this] { FormShow(); });
}

void TfrmCriaComanda::closeEvent(QCloseEvent *event)
{
    guardEvent([this] { FormClose(); });
    QDialog::closeEvent(event);
}

} // namespace Cli_tkt00740
