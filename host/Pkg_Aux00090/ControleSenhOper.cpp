// The operator password step: when the store asks for it, the operator behind the waiter confirms
// with the password kept in OPERADOR.
#include "Pkg_Aux00090/StandIn.h"
#include "Database.h"
#include "PasswordHash.h"
#include "TouchDialog.h"

#include "contracts/Log.h"
#include "contracts/SharedServices.h"
#include "contracts/TBlendedBitBtn.h"
#include "db/Query.h"
#include "shared_services/widgets/TouchStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace commonui {

namespace {

constexpr int kTries = 3;
constexpr int kResultSize = 10;

struct WaiterOperator {
    QString code;
    QString name;
    PasswordHash hash;
};

WaiterOperator operatorOfWaiter(const QString &waiter)
{
    if (waiter.isEmpty())
        throw tkt::Error(tkt::shownText("ControleSenhOper", "O garçom não foi informado: a senha do operador não pode ser conferida."));
    StoreConnection store;
    db::Connection &connection = store.get();
    QString linked, code, name, stored, state;
    const bool found = onDatabase(connection, QCoreApplication::translate("ControleSenhOper", "Leitura do operador do garçom"), [&] {
        db::Query query(connection);
        query.setSql(sqlText(QStringLiteral("operador_do_garcom")));
        query.setParam(QStringLiteral("P_CDVENDEDOR"), waiter);
        query.open();
        if (query.eof())
            return false;
        linked = query.text(QStringLiteral("CDOPERADOR")).trimmed();
        code = query.text(QStringLiteral("CDOPERADORCAD")).trimmed();
        name = query.text(QStringLiteral("NMOPERADOR")).trimmed();
        stored = query.text(QStringLiteral("CDSENHOPER")).trimmed();
        state = query.text(QStringLiteral("IDOPERATIVO")).trimmed();
        return true;
    });
    if (!found)
        throw tkt::Error(tkt::shownText("ControleSenhOper", "O garçom %1 não está cadastrado.").arg(waiter));
    if (linked.isEmpty())
        throw tkt::Error(tkt::shownText("ControleSenhOper", "O garçom %1 não tem operador associado.").arg(waiter));
    if (code.isEmpty())
        throw tkt::Error(tkt::shownText("ControleSenhOper", "O operador %1 do garçom %2 não está cadastrado.").arg(linked, waiter));
    if (state == QLatin1String("I"))
        throw tkt::Error(tkt::shownText("ControleSenhOper", "O operador %1 - %2 está inativo.").arg(code, name));
    if (stored.isEmpty())
        throw tkt::Error(tkt::shownText("ControleSenhOper", "O operador %1 - %2 não tem senha cadastrada.").arg(code, name));
    try {
        return {code, name, parsePasswordHash(stored)};
    } catch (const tkt::Error &error) {
        throw tkt::Error(tkt::shownText("ControleSenhOper", "%1 (operador %2 - %3)").arg(tkt::shownTextOf(error), code, name));
    }
}

class PasswordDialog : public TouchDialog {
    Q_DECLARE_TR_FUNCTIONS(ControleSenhOper)

public:
    PasswordDialog(const WaiterOperator &op, const QString &scheme)
        : TouchDialog(QStringLiteral("ControleSenhOper"), tr("Senha do Operador")), m_operator(op)
    {
        m_scheme = scheme;
        addLabel(QStringLiteral("lblOperador"), QStringLiteral("%1 - %2").arg(op.code, op.name), 18, true)
            ->setAlignment(Qt::AlignCenter);

        m_password = new QLineEdit(this);
        m_password->setObjectName(QStringLiteral("edtSenha"));
        m_password->setEchoMode(QLineEdit::Password);
        m_password->setFont(touchFont(28, true));
        m_password->setAlignment(Qt::AlignCenter);
        m_password->setMinimumHeight(56);
        m_password->setMaxLength(64);
        body()->addWidget(m_password);

        m_status = addLabel(QStringLiteral("lblMensagem"), QString(), 16, true);
        m_status->setAlignment(Qt::AlignCenter);
        m_status->setMinimumHeight(22);
        QPalette pal = m_status->palette();
        pal.setColor(QPalette::WindowText, QColor(190, 30, 30));
        m_status->setPalette(pal);

        body()->addLayout(digitPad([this](QChar c) { m_password->insert(QString(c)); },
                                   [this] { m_password->backspace(); }, [this] { m_password->clear(); }));

        auto *answers = new QHBoxLayout;
        answers->setSpacing(20);
        answers->addWidget(addButton(QStringLiteral("btnCancelar"), tr("Cancelar"), tkt::touch::outline,
                                     [this] { reject(); }));
        answers->addWidget(addButton(QStringLiteral("btnConfirmar"), tr("Confirmar"), tkt::touch::confirm,
                                     [this] { confirm(); }));
        body()->addLayout(answers);
        m_password->setFocus();
    }

protected:
    bool handleKey(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            confirm();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            return false;
        }
    }

private:
    void confirm()
    {
        const QString password = m_password->text();
        if (password.isEmpty()) {
            m_status->setText(tr("Digite a senha."));
            return;
        }
        m_password->clear();
        // The password itself is never logged, only whether it matched.
        if (passwordMatches(password, m_operator.hash)) {
            qCDebug(lcStandIn).noquote() << "operator" << m_operator.code << "password accepted";
            accept();
            return;
        }
        qCInfo(lcStandIn).noquote() << "operator" << m_operator.code << "password refused, try" << m_tries + 1;
        if (++m_tries >= kTries) {
            showNotice(tr("Senha incorreta. As %1 tentativas se esgotaram.").arg(kTries), m_scheme);
            reject();
            return;
        }
        m_status->setText(tr("Senha incorreta. Tentativa %1 de %2.").arg(m_tries).arg(kTries));
    }

    WaiterOperator m_operator;
    QLineEdit *m_password;
    QLabel *m_status;
    int m_tries = 0;
};

} // namespace

bool controleSenhOper(const QVariantList &settings, QVariant &ovSenhaOper)
{
    const QString scheme = settings.value(0).toString();
    return runRoutine(
        [&] {
            if (settings.value(1).toString().trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) != 0)
                return true;
            const WaiterOperator op = operatorOfWaiter(contracts::Ajusta(settings.value(3).toString(), 4));
            PasswordDialog dialog(op, scheme);
            if (!dialog.run())
                return false;
            QVariantList result = ovSenhaOper.toList();
            if (result.size() < kResultSize)
                result.resize(kResultSize);
            result[0] = op.code;
            result[1] = op.name;
            ovSenhaOper = result;
            return true;
        },
        scheme);
}

} // namespace commonui
