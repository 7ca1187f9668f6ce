// Registration of a consumer under a client, or the edit of one that exists. The existence check
// and the write run in one transaction on the dialog's own connection.
#include "Pkg_Aux00090/StandIn.h"
#include "Database.h"
#include "TouchDialog.h"

#include "contracts/SharedServices.h"
#include "contracts/TBlendedBitBtn.h"
#include "db/Query.h"
#include "shared_services/widgets/TouchStyle.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QVBoxLayout>
#include <optional>

namespace commonui {

namespace {

constexpr int kCodeWidth = 21;
constexpr int kCpfDigits = 11;

struct StoredConsumer {
    QString name;
    QString badge;
    QString cpf;
};

std::optional<StoredConsumer> readConsumer(db::Connection &connection, const QString &client, const QString &code)
{
    db::Query query(connection);
    query.setSql(sqlText(QStringLiteral("consumidor_le")));
    query.setParam(QStringLiteral("P_CDCLIENTE"), client);
    query.setParam(QStringLiteral("P_CDCONSUMIDOR"), code);
    query.open();
    if (query.eof())
        return std::nullopt;
    return StoredConsumer{query.text(QStringLiteral("NMCONSUMIDOR")), query.text(QStringLiteral("CDIDCONSUMID")),
                          query.text(QStringLiteral("NRCPFRESPCON"))};
}

QString nullWhenEmpty(const QString &text)
{
    return text.isEmpty() ? QString() : text;
}

class RegistrationDialog : public TouchDialog {
    Q_DECLARE_TR_FUNCTIONS(CriaCadConsumidor)

public:
    RegistrationDialog(const QString &code, const QString &name, const QString &client)
        : TouchDialog(QStringLiteral("CriaCadConsumidor"), tr("Cadastro de Consumidor"))
    {
        auto *form = new QGridLayout;
        form->setHorizontalSpacing(14);
        form->setVerticalSpacing(12);
        m_client = new QComboBox(this);
        m_client->setObjectName(QStringLiteral("cmbCliente"));
        m_client->setPlaceholderText(tr("Selecione o cliente"));
        m_code = lineEdit(QStringLiteral("edtCodigo"), kCodeWidth);
        m_name = lineEdit(QStringLiteral("edtNome"), 50);
        m_badge = lineEdit(QStringLiteral("edtCracha"), kCodeWidth);
        m_cpf = lineEdit(QStringLiteral("edtCpf"), kCpfDigits);
        m_cpf->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,11}")), m_cpf));
        m_client->setFont(touchFont(20, false));
        m_client->setMinimumHeight(44);
        m_client->setFixedWidth(520);
        const QList<std::pair<QString, QWidget *>> rows{{tr("Cliente"), m_client},
                                                         {tr("Código"), m_code},
                                                         {tr("Nome"), m_name},
                                                         {tr("Crachá"), m_badge},
                                                         {QStringLiteral("CPF"), m_cpf}};
        for (int row = 0; row < rows.size(); ++row) {
            auto *caption = new QLabel(rows[row].first, this);
            caption->setFont(touchFont(18, true));
            form->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignVCenter);
            form->addWidget(rows[row].second, row, 1);
        }
        body()->addLayout(form);

        auto *answers = new QHBoxLayout;
        answers->setSpacing(20);
        answers->addStretch();
        answers->addWidget(addButton(QStringLiteral("btnCancelar"), tr("Cancelar"), tkt::touch::outline,
                                     [this] { reject(); }));
        answers->addWidget(addButton(QStringLiteral("btnSalvar"), tr("Salvar"), tkt::touch::confirm,
                                     [this] { save(); }));
        body()->addLayout(answers);
        for (int row = 1; row < rows.size(); ++row)
            setTabOrder(rows[row - 1].second, rows[row].second);

        fill(code, name, client);
    }

    QString savedCode() const { return m_savedCode; }
    QString savedName() const { return m_savedName; }
    QString savedClient() const { return m_savedClient; }

protected:
    bool handleKey(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            save();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            return false;
        }
    }

private:
    QLineEdit *lineEdit(const QString &objectName, int maxLength)
    {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(objectName);
        edit->setMaxLength(maxLength);
        edit->setFont(touchFont(20, false));
        edit->setMinimumHeight(44);
        edit->setFixedWidth(520);
        return edit;
    }

    void fill(const QString &code, const QString &name, const QString &client)
    {
        db::Connection &connection = m_store.get();
        onDatabase(connection, tr("Leitura dos clientes"), [&] {
            db::Query query(connection);
            query.setSql(sqlText(QStringLiteral("cliente_lista")));
            query.open();
            for (; !query.eof(); query.next()) {
                const QString id = query.text(QStringLiteral("CDCLIENTE"));
                QString shown = query.text(QStringLiteral("NMFANTCLIE")).trimmed();
                if (shown.isEmpty())
                    shown = query.text(QStringLiteral("NMRAZSOCCLIE")).trimmed();
                m_client->addItem(QStringLiteral("%1 - %2").arg(id, shown), id);
            }
        });
        int index = m_client->findData(client);
        if (index < 0 && !client.trimmed().isEmpty())
            index = m_client->findData(contracts::Ajusta(client, kCodeWidth));
        m_client->setCurrentIndex(index);

        m_code->setText(code.trimmed());
        m_name->setText(name.trimmed());
        if (index < 0 || code.trimmed().isEmpty())
            return;
        const QString stored = contracts::Ajusta(code, kCodeWidth);
        const QString clientCode = m_client->currentData().toString();
        const auto existing = onDatabase(connection, tr("Leitura do consumidor"),
                                         [&] { return readConsumer(connection, clientCode, stored); });
        if (!existing)
            return;
        // An existing consumer keeps its key: only its data can change here.
        m_editing = true;
        setWindowTitle(tr("Alterar Consumidor"));
        if (auto *caption = findChild<QLabel *>(QStringLiteral("lblTitulo")))
            caption->setText(windowTitle());
        m_client->setEnabled(false);
        m_code->setText(stored);
        m_code->setReadOnly(true);
        m_name->setText(existing->name.trimmed());
        m_badge->setText(existing->badge.trimmed());
        m_cpf->setText(existing->cpf.trimmed());
    }

    bool refuse(QWidget *field, const QString &text)
    {
        showNotice(text);
        field->setFocus();
        return false;
    }

    bool valid()
    {
        if (m_client->currentIndex() < 0)
            return refuse(m_client, tr("Selecione o cliente do consumidor."));
        if (m_code->text().trimmed().isEmpty())
            return refuse(m_code, tr("Informe o código do consumidor."));
        if (m_name->text().trimmed().isEmpty())
            return refuse(m_name, tr("Informe o nome do consumidor."));
        const QString cpf = m_cpf->text().trimmed();
        if (!cpf.isEmpty() && cpf.size() != kCpfDigits)
            return refuse(m_cpf, tr("O CPF deve ter %1 dígitos.").arg(kCpfDigits));
        return true;
    }

    void save()
    {
        if (!valid())
            return;
        const QString client = m_client->currentData().toString();
        const QString code = contracts::Ajusta(m_code->text(), kCodeWidth);
        const QString name = m_name->text().trimmed();
        const QHash<QString, QString> params{
            {QStringLiteral("P_CDCLIENTE"), client},
            {QStringLiteral("P_CDCONSUMIDOR"), code},
            {QStringLiteral("P_NMCONSUMIDOR"), name},
            {QStringLiteral("P_CDIDCONSUMID"), nullWhenEmpty(m_badge->text().trimmed())},
            {QStringLiteral("P_NRCPFRESPCON"), nullWhenEmpty(m_cpf->text().trimmed())},
        };

        db::Connection &connection = m_store.get();
        QSqlDatabase database = connection.database();
        bool duplicate = false;
        onDatabase(connection, tr("Gravação do consumidor"), [&] {
            if (!database.transaction())
                throw tkt::Error(database.lastError().text());
            try {
                const bool exists = readConsumer(connection, client, code).has_value();
                if (m_editing && !exists)
                    throw tkt::Error(tr("O consumidor %1 não existe mais no cliente %2.").arg(code, client));
                duplicate = !m_editing && exists;
                if (!duplicate)
                    execute(connection, sqlText(m_editing ? QStringLiteral("consumidor_altera")
                                                          : QStringLiteral("consumidor_insere")),
                            params);
                if (duplicate ? !database.rollback() : !database.commit())
                    throw tkt::Error(database.lastError().text());
            } catch (...) {
                database.rollback();
                throw;
            }
        });
        if (duplicate) {
            refuse(m_code, tr("Já existe o consumidor %1 no cliente %2. Informe outro código.")
                               .arg(code, m_client->currentText()));
            return;
        }
        m_savedCode = code;
        m_savedName = name;
        m_savedClient = client;
        accept();
    }

    StoreConnection m_store;
    QComboBox *m_client;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_badge;
    QLineEdit *m_cpf;
    bool m_editing = false;
    QString m_savedCode;
    QString m_savedName;
    QString m_savedClient;
};

} // namespace

bool criaCadConsumidor(QString &code, QString &name, QString &client, const QString &)
{
    return runRoutine([&] {
        RegistrationDialog dialog(code, name, client);
        if (!dialog.run())
            return false;
        code = dialog.savedCode();
        name = dialog.savedName();
        client = dialog.savedClient();
        return true;
    });
}

} // namespace commonui
