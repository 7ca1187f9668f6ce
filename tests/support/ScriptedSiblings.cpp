#include "support/ScriptedSiblings.h"

#include "dataset/Table.h"
#include "db/Connection.h"
#include "shared_services/StandIn.h"

#include <QWidget>

using namespace contracts;

namespace {

QString render(const QString &text) { return text; }
QString render(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }
QString render(int value) { return QString::number(value); }

QString render(const dataset::Table *table)
{
    if (!table)
        return QStringLiteral("<null>");
    return QStringLiteral("<table rows=%1>").arg(table->recordCount());
}

QString render(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("<null>");
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

QString render(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("<invalid>");
    case QMetaType::QByteArray:
        return QStringLiteral("<packet %1 bytes>").arg(value.toByteArray().size());
    case QMetaType::QVariantList: {
        QStringList items;
        for (const QVariant &item : value.toList())
            items << render(item);
        return items.join(QLatin1Char('|'));
    }
    default:
        return value.toString();
    }
}

QString render(const QVariantList &values) { return render(QVariant(values)); }
QString render(const std::exception &error) { return tkt::messageOf(error); }
QString render(const db::Connection &connection) { return QStringLiteral("<connection %1>").arg(connection.name()); }

template <class... Args>
QStringList renderAll(const Args &...args)
{
    return QStringList{render(args)...};
}

} // namespace

struct ScriptedSiblings::Saved {
    std::function<MensagemFn> mensagem = Mensagem.function();
    std::function<MensagemMetodoFn> mensagemMetodo = MensagemMetodo.function();
    std::function<MontaRodapeGeralFn> montaRodapeGeral = MontaRodapeGeral.function();
    std::function<AjustaFn> ajusta = Ajusta.function();
    std::function<EmptyStringFn> emptyString = EmptyString.function();
    std::function<TradFn> trad = Trad.function();
    std::function<GetStringConexQorFn> getStringConexQor = _GetStringConexQor.function();
    std::function<SetADODBSessionFn> setADODBSession = SetADODBSession.function();
    std::function<ADOExceptionMessageFn> adoExceptionMessage = ADOExceptionMessage.function();
    std::function<TecladoNumericoFn> tecladoNumerico = TecladoNumerico.function();
    std::function<PesquisaFn> pesquisa = Pesquisa.function();
    std::function<PesqConsumidorFn> pesqConsumidor = PesqConsumidor.function();
    std::function<CriaCadConsumidorFn> criaCadConsumidor = CriaCadConsumidor.function();
    std::function<ControleSenhOperFn> controleSenhOper = ControleSenhOper.function();
    std::function<RelFiscaisFn> relFiscais = RelFiscais.function();

    void restore() const
    {
        Mensagem = mensagem;
        MensagemMetodo = mensagemMetodo;
        MontaRodapeGeral = montaRodapeGeral;
        Ajusta = ajusta;
        EmptyString = emptyString;
        Trad = trad;
        _GetStringConexQor = getStringConexQor;
        SetADODBSession = setADODBSession;
        ADOExceptionMessage = adoExceptionMessage;
        TecladoNumerico = tecladoNumerico;
        Pesquisa = pesquisa;
        PesqConsumidor = pesqConsumidor;
        CriaCadConsumidor = criaCadConsumidor;
        ControleSenhOper = controleSenhOper;
        RelFiscais = relFiscais;
    }
};

ScriptedSiblings::ScriptedSiblings() : m_saved(std::make_unique<Saved>())
{
    installFakes();
}

ScriptedSiblings::~ScriptedSiblings()
{
    m_saved->restore();
}

template <class Sig>
std::function<Sig> ScriptedSiblings::nextAction(const char *routine)
{
    const QString name = QLatin1String(routine);
    auto queue = m_script.find(name);
    if (queue != m_script.end() && !queue->empty()) {
        std::any action = std::move(queue->front());
        queue->pop_front();
        return std::any_cast<std::function<Sig>>(action);
    }
    if (auto fallback = m_defaults.find(name); fallback != m_defaults.end())
        return std::any_cast<std::function<Sig>>(*fallback);
    return {};
}

void ScriptedSiblings::record(const char *routine, QStringList arguments)
{
    m_calls.append(Call{QLatin1String(routine), std::move(arguments)});
}

void ScriptedSiblings::installFakes()
{
    Mensagem = [this](const QString &text, const QString &a2, const QString &a3, const QString &ask, int kind,
                      const QString &a6, const QString &scheme, int a8, dataset::Table *table) {
        record("Mensagem", renderAll(text, a2, a3, ask, kind, a6, scheme, a8, table));
        if (auto action = nextAction<MensagemFn>("Mensagem"))
            return action(text, a2, a3, ask, kind, a6, scheme, a8, table);
        return m_mensagemAnswer;
    };
    MensagemMetodo = [this](const QVariant &result, bool show, int a3, const QString &service, const QString &unit,
                            const QString &arguments, const QString &scheme) {
        record("MensagemMetodo", renderAll(result, show, a3, service, unit, arguments, scheme));
        if (auto action = nextAction<MensagemMetodoFn>("MensagemMetodo"))
            return action(result, show, a3, service, unit, arguments, scheme);
        return sharedservices::mensagemMetodo(result, show, a3, service, unit, arguments, scheme);
    };
    MontaRodapeGeral = [this](bool usesFiscalPrinter, const QString &caption, const QString &flag) {
        record("MontaRodapeGeral", renderAll(usesFiscalPrinter, caption, flag));
        if (auto action = nextAction<MontaRodapeGeralFn>("MontaRodapeGeral"))
            return action(usesFiscalPrinter, caption, flag);
        return sharedservices::montaRodapeGeral(usesFiscalPrinter, caption, flag);
    };
    Ajusta = [this](const QString &code, int width) {
        record("Ajusta", renderAll(code, width));
        if (auto action = nextAction<AjustaFn>("Ajusta"))
            return action(code, width);
        return sharedservices::ajusta(code, width);
    };
    EmptyString = [this](const QString &text) {
        record("EmptyString", renderAll(text));
        if (auto action = nextAction<EmptyStringFn>("EmptyString"))
            return action(text);
        return sharedservices::emptyString(text);
    };
    Trad = [this](QWidget *form) {
        record("Trad", renderAll(static_cast<const QWidget *>(form)));
        if (auto action = nextAction<TradFn>("Trad"))
            return action(form);
        sharedservices::trad(form);
    };
    _GetStringConexQor = [this](const QString &key) {
        record("_GetStringConexQor", renderAll(key));
        if (auto action = nextAction<GetStringConexQorFn>("_GetStringConexQor"))
            return action(key);
        return m_connectionStringSet ? m_connectionString : sharedservices::getStringConexQor(key);
    };
    SetADODBSession = [this](db::Connection &connection) {
        record("SetADODBSession", renderAll(connection));
        if (auto action = nextAction<SetADODBSessionFn>("SetADODBSession"))
            return action(connection);
        sharedservices::setADODBSession(connection);
    };
    ADOExceptionMessage = [this](const std::exception &error, db::Connection *connection, const QString &extra) {
        record("ADOExceptionMessage",
               QStringList{render(error), connection ? render(*connection) : QStringLiteral("<null>"), extra});
        if (auto action = nextAction<ADOExceptionMessageFn>("ADOExceptionMessage"))
            return action(error, connection, extra);
        return sharedservices::adoExceptionMessage(error, connection, extra);
    };

    TecladoNumerico = [this](QString &value, const QString &title, const QString &prompt,
                             const QString &missingMessage, int maxLength, int a6, int a7, int a8, int a9, int a10) {
        record("TecladoNumerico", renderAll(value, title, prompt, missingMessage, maxLength, a6, a7, a8, a9, a10));
        if (auto action = nextAction<TecladoNumericoFn>("TecladoNumerico"))
            return action(value, title, prompt, missingMessage, maxLength, a6, a7, a8, a9, a10);
        return false;
    };
    Pesquisa = [this](dataset::Table &table, const QString &a2, const QString &a3, int a4, int a5, int a6, int a7,
                      int a8) {
        record("Pesquisa", renderAll(static_cast<const dataset::Table *>(&table), a2, a3, a4, a5, a6, a7, a8));
        if (auto action = nextAction<PesquisaFn>("Pesquisa"))
            return action(table, a2, a3, a4, a5, a6, a7, a8);
        return false;
    };
    PesqConsumidor = [this](const QString &title, const QString &a2, const PesqConsumidorTexts &texts,
                            dataset::Table &clients, const QString &a32, const QString &a33) {
        QStringList arguments = renderAll(title, a2);
        for (const QString *text : texts)
            arguments << (text ? *text : QStringLiteral("<null>"));
        arguments << renderAll(static_cast<const dataset::Table *>(&clients), a32, a33);
        record("PesqConsumidor", std::move(arguments));
        if (auto action = nextAction<PesqConsumidorFn>("PesqConsumidor"))
            return action(title, a2, texts, clients, a32, a33);
        return false;
    };
    CriaCadConsumidor = [this](QString &code, QString &name, QString &client, const QString &mode) {
        record("CriaCadConsumidor", renderAll(code, name, client, mode));
        if (auto action = nextAction<CriaCadConsumidorFn>("CriaCadConsumidor"))
            return action(code, name, client, mode);
        return false;
    };
    ControleSenhOper = [this](const QVariantList &settings, QVariant &ovSenhaOper) {
        record("ControleSenhOper", renderAll(settings, ovSenhaOper));
        if (auto action = nextAction<ControleSenhOperFn>("ControleSenhOper"))
            return action(settings, ovSenhaOper);
        return true;
    };
    RelFiscais = [this]() {
        record("RelFiscais", {});
        if (auto action = nextAction<RelFiscaisFn>("RelFiscais"))
            action();
    };
}

void ScriptedSiblings::answerMensagem(bool yes)
{
    script(Mensagem, std::function<MensagemFn>([yes](auto &&...) { return yes; }));
}

void ScriptedSiblings::setMensagemAnswer(bool yes)
{
    m_mensagemAnswer = yes;
}

void ScriptedSiblings::confirmTeclado(const QString &value)
{
    script(TecladoNumerico, std::function<TecladoNumericoFn>([value](QString &typed, auto &&...) {
               typed = value;
               return true;
           }));
}

void ScriptedSiblings::cancelTeclado()
{
    script(TecladoNumerico, std::function<TecladoNumericoFn>([](auto &&...) { return false; }));
}

void ScriptedSiblings::pickRow(int position)
{
    script(Pesquisa, std::function<PesquisaFn>([position](dataset::Table &table, auto &&...) {
               table.moveTo(position);
               return true;
           }));
}

void ScriptedSiblings::cancelPesquisa()
{
    script(Pesquisa, std::function<PesquisaFn>([](auto &&...) { return false; }));
}

void ScriptedSiblings::chooseConsumidor(const QString &code, const QString &name, const QString &client)
{
    script(PesqConsumidor,
           std::function<PesqConsumidorFn>([code, name, client](const QString &, const QString &,
                                                                const PesqConsumidorTexts &texts, auto &&...) {
               const auto set = [&texts](int argument, const QString &value) {
                   if (QString *text = texts[pesqConsumidorIndex(argument)])
                       *text = value;
               };
               set(7, code);
               set(8, name);
               set(10, client);
               return true;
           }));
}

void ScriptedSiblings::cancelPesqConsumidor()
{
    script(PesqConsumidor, std::function<PesqConsumidorFn>([](auto &&...) { return false; }));
}

void ScriptedSiblings::saveCadConsumidor(const QString &code, const QString &name, const QString &client)
{
    script(CriaCadConsumidor,
           std::function<CriaCadConsumidorFn>([code, name, client](QString &c, QString &n, QString &cl, auto &&) {
               c = code;
               n = name;
               cl = client;
               return true;
           }));
}

void ScriptedSiblings::cancelCadConsumidor()
{
    script(CriaCadConsumidor, std::function<CriaCadConsumidorFn>([](auto &&...) { return false; }));
}

void ScriptedSiblings::answerSenhaOper(bool allowed)
{
    script(ControleSenhOper, std::function<ControleSenhOperFn>([allowed](auto &&...) { return allowed; }));
}

void ScriptedSiblings::setConnectionString(const QString &connectionString)
{
    m_connectionString = connectionString;
    m_connectionStringSet = true;
}

QList<ScriptedSiblings::Call> ScriptedSiblings::calls(const QString &routine) const
{
    QList<Call> matching;
    for (const Call &call : m_calls)
        if (call.routine == routine)
            matching << call;
    return matching;
}

QStringList ScriptedSiblings::routinesCalled() const
{
    QStringList names;
    for (const Call &call : m_calls)
        names << call.routine;
    return names;
}

QStringList ScriptedSiblings::messages() const
{
    QStringList texts;
    for (const Call &call : m_calls)
        if (call.routine == QLatin1String("Mensagem"))
            texts << call.arguments.value(0);
    return texts;
}

QString ScriptedSiblings::lastMessageText() const
{
    const QStringList texts = messages();
    return texts.isEmpty() ? QString() : texts.last();
}

int ScriptedSiblings::pendingScripts(const QString &routine) const
{
    const auto queue = m_script.constFind(routine);
    return queue == m_script.constEnd() ? 0 : static_cast<int>(queue->size());
}
