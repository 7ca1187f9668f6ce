// The services as the host calls them: UTF-16 texts in, a result that says packet or error out.
#include "Pkg_tkt00740/tkt00740.h"

#include "Pkg_tkt00740/CallRules.h"
#include "Pkg_tkt00740/Texts.h"
#include "Srv_tkt00740/Services.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "contracts/Errors.h"

#include <cstdlib>
#include <cstring>

namespace {

QString fromUtf16(const uint16_t *text)
{
    return text ? QString::fromUtf16(reinterpret_cast<const char16_t *>(text)) : QString();
}

// One allocation holds the TktResult and the bytes it points at, so the host frees it in one call.
TktResult *toResult(const QVariant &answer)
{
    const bool isPacket = answer.typeId() == QMetaType::QByteArray;
    const QByteArray packet = isPacket ? answer.toByteArray() : QByteArray();
    const QString error = isPacket ? QString() : answer.toString();
    const size_t payload = isPacket ? static_cast<size_t>(packet.size())
                                    : (static_cast<size_t>(error.size()) + 1) * sizeof(uint16_t);

    void *block = std::malloc(sizeof(TktResult) + payload);
    if (!block)
        return nullptr;
    auto *result = static_cast<TktResult *>(block);
    *result = TktResult{};
    auto *bytes = static_cast<uint8_t *>(block) + sizeof(TktResult);
    if (isPacket) {
        std::memcpy(bytes, packet.constData(), payload);
        result->kind = TKT_RESULT_PACKET;
        result->packet = bytes;
        result->packetSize = payload;
    } else {
        std::memcpy(bytes, error.utf16(), payload); // utf16() is NUL-terminated
        result->kind = TKT_RESULT_ERROR;
        result->errorText = reinterpret_cast<const uint16_t *>(bytes);
        result->errorLength = static_cast<size_t>(error.size());
    }
    return result;
}

// While the comanda dialog is open its data module answers; otherwise the call gets a data module
// of its own, connected for this call only, so the host can use the services on their own.
template <class Call>
TktResult *serve(const char *name, Call call)
{
    try {
        if (const QString refused = Pkg_tkt00740::refusal(name); !refused.isEmpty())
            return toResult(QVariant(refused));
        if (Srv_tkt00740::rdmConfComanda)
            return toResult(call());
        Srv_tkt00740::TrdmConfComanda &dm = Srv_tkt00740::createDataModule();
        QVariant answer;
        try {
            dm.adcConfComanda.open();
            answer = call();
        } catch (const std::exception &e) {
            answer = tkt::messageOf(e);
        }
        Srv_tkt00740::freeDataModule();
        return toResult(answer);
    } catch (const std::exception &e) {
        return toResult(QVariant(tkt::messageOf(e)));
    } catch (...) {
        return toResult(QVariant(Pkg_tkt00740::texts::unknownServiceFailure()));
    }
}

} // namespace

extern "C" {

TKT_API void tkt_FreeResult(TktResult *result)
{
    std::free(result);
}

TKT_API TktResult *getValidaGarcom(const uint16_t *code, const uint16_t *branch, const uint16_t *till,
                                   const uint16_t *mode)
{
    return serve("getValidaGarcom", [&] {
        return Srv_tkt00740::getValidaGarcom(fromUtf16(code), fromUtf16(branch), fromUtf16(till), fromUtf16(mode));
    });
}

TKT_API TktResult *getValMesa(const uint16_t *branch, const uint16_t *store, const uint16_t *table)
{
    return serve("getValMesa", [&] { return Srv_tkt00740::getValMesa(fromUtf16(branch), fromUtf16(store), fromUtf16(table)); });
}

TKT_API TktResult *getValidaCons(const uint16_t *consumer, const uint16_t *client)
{
    return serve("getValidaCons", [&] { return Srv_tkt00740::getValidaCons(fromUtf16(consumer), fromUtf16(client)); });
}

TKT_API TktResult *getConsComan(const uint16_t *branch)
{
    return serve("getConsComan", [&] { return Srv_tkt00740::getConsComan(fromUtf16(branch)); });
}

TKT_API TktResult *getValComanda(const uint16_t *branch, const uint16_t *store, const uint16_t *comanda,
                                 const uint16_t *all, const uint16_t *excludedState)
{
    return serve("getValComanda", [&] {
        return Srv_tkt00740::getValComanda(fromUtf16(branch), fromUtf16(store), fromUtf16(comanda), fromUtf16(all),
                                           fromUtf16(excludedState));
    });
}

} // extern "C"
