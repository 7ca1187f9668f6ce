#include "ModuleUnderTest.h"

#include "pos_host/ModuleLibraries.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>


namespace soak {

namespace {

template <class Fn>
bool resolve(poshost::ModuleLibraries &libraries, const char *symbol, Fn *target, QString *error)
{
    *target = reinterpret_cast<Fn>(libraries.moduleExport(symbol, error));
    return *target != nullptr;
}

const uint16_t *u16(const char16_t *text)
{
    return reinterpret_cast<const uint16_t *>(text);
}

QString errorTextOf(const TktResult *result)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(result->errorText), qsizetype(result->errorLength));
}

} // namespace

bool loadModule(const QString &folder, Exports *exports, QString *error)
{
    // Loaded as pos_host loads it; the libraries stay loaded for the life of the process.
    poshost::ModuleLibraries libraries(folder);
    QStringList warnings;
    if (!libraries.load(error, &warnings))
        return false;
    if (!warnings.isEmpty()) {
        *error = warnings.join(QLatin1Char(' ')); // the main path needs the common UI package
        return false;
    }
    const poshost::ModuleExports &entry = libraries.exports();
    exports->initialize = entry.initialize;
    exports->finalize = entry.finalize;
    exports->criaConfComanda = entry.criaConfComanda;
    exports->freeText = entry.freeText;
    return resolve(libraries, "tkt_FreeResult", &exports->freeResult, error)
        && resolve(libraries, "getValidaGarcom", &exports->getValidaGarcom, error)
        && resolve(libraries, "getValMesa", &exports->getValMesa, error)
        && resolve(libraries, "getValidaCons", &exports->getValidaCons, error)
        && resolve(libraries, "getConsComan", &exports->getConsComan, error)
        && resolve(libraries, "getValComanda", &exports->getValComanda, error);
}

ServiceCalls::ServiceCalls(const Exports &exports) : m_exports(exports)
{
    const Exports *e = &m_exports;
    m_kinds = {
        {"getValidaGarcom(0007, 0001, 001, 1)",
         [e] { return e->getValidaGarcom(u16(u"0007"), u16(u"0001"), u16(u"001"), u16(u"1")); }, true},
        {"getValMesa(0001, 0001, 0001)", [e] { return e->getValMesa(u16(u"0001"), u16(u"0001"), u16(u"0001")); }, true},
        {"getValidaCons(...22, ...1)",
         [e] { return e->getValidaCons(u16(u"000000000000000000022"), u16(u"000000000000000000001")); }, true},
        {"getConsComan(0001)", [e] { return e->getConsComan(u16(u"0001")); }, false},
        {"getValComanda(0001, 0001, 15, '', 4)",
         [e] { return e->getValComanda(u16(u"0001"), u16(u"0001"), u16(u"15"), u16(u""), u16(u"4")); }, false},
        {"getValMesa(0001, 0001, T)", [e] { return e->getValMesa(u16(u"0001"), u16(u"0001"), u16(u"T")); }, true},
    };
    m_firstAnswers.resize(m_kinds.size());
}

bool ServiceCalls::callNext(QString *failure)
{
    const qsizetype index = m_next;
    m_next = (m_next + 1) % m_kinds.size();
    const Kind &kind = m_kinds.at(index);
    const QString name = QString::fromLatin1(kind.name);

    TktResult *result = kind.call();
    if (!result) {
        *failure = QStringLiteral("%1 answered nothing").arg(name);
        return false;
    }
    bool ok = true;
    if (result->kind == TKT_RESULT_ERROR) {
        *failure = QStringLiteral("%1 answered an error: %2").arg(name, errorTextOf(result));
        ok = false;
    } else if (result->kind != TKT_RESULT_PACKET || !result->packet) {
        *failure = QStringLiteral("%1 answered a result of kind %2").arg(name).arg(result->kind);
        ok = false;
    } else {
        const QByteArray bytes(reinterpret_cast<const char *>(result->packet), qsizetype(result->packetSize));
        QByteArray &first = m_firstAnswers[index];
        if (first.isEmpty()) {
            // The first answer is read through; later ones only need to be the same bytes.
            const QCborMap packet = QCborValue::fromCbor(bytes).toMap();
            const QCborArray rows = packet.value(QStringLiteral("rows")).toArray();
            if (packet.value(QStringLiteral("format")).toString() != u"tkt-datapacket") {
                *failure = QStringLiteral("%1 answered %2 bytes that are not a data packet").arg(name).arg(bytes.size());
                ok = false;
            } else if (kind.mustFindRows && rows.isEmpty()) {
                *failure = QStringLiteral("%1 found no rows in the demo store").arg(name);
                ok = false;
            } else {
                first = bytes;
            }
        } else if (bytes != first) {
            *failure = QStringLiteral("%1 answered %2 bytes unlike its first answer of %3 bytes")
                           .arg(name)
                           .arg(bytes.size())
                           .arg(first.size());
            ok = false;
        }
    }
    m_exports.freeResult(result);
    return ok;
}

} // namespace soak
