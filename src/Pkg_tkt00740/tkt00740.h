/*
 * tkt00740: the comanda information module, as a host calls it.
 *
 * Load the host's shared services library and its common UI package first, then this module
 * (dlopen/LoadLibrary), call Initialize once, call the entry and the services from the host's
 * user-interface thread, and Finalize before unloading.
 *
 * Services take UTF-16 texts (NUL-terminated; a NULL pointer is an empty text) and answer with a
 * TktResult that the caller frees with tkt_FreeResult. No call ever lets an exception escape.
 */
#ifndef TKT00740_H
#define TKT00740_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define TKT_API __declspec(dllexport)
#else
#define TKT_API __attribute__((visibility("default")))
#endif

/* Versions and the C ABI.
 *
 * tkt_Version answers the module's version, "MAJOR.MINOR.PATCH" (static text; never free it). The
 * shared library's soname carries the major version (libtkt00740.so.MAJOR), so a host linked or
 * built against one major version never loads another by accident.
 *
 * Within one major version the C ABI only grows: functions may be added, and a struct may gain
 * members only where a caller never allocates it nor indexes an array of it (the module hands out
 * TktResult and TktPackageInfoTable, and the caller only reads them), always at its end. No existing
 * function changes its name, parameters, return type, calling rules or the meaning of a value, and
 * no enumeration value is reused. Anything else raises the major version and with it the soname.
 * A host that needs a function added in a later minor version looks it up with dlsym/GetProcAddress
 * and copes with its absence, or checks tkt_Version first. */
TKT_API const char *tkt_Version(void);

/* Load hooks. Initialize runs every unit's initialization in table order (creating the Qt
 * application when the process has none); Finalize runs the finalizations in reverse order.
 *
 * When a call is answered. The entry and the services work only between Initialize and Finalize,
 * and only on the thread that called Initialize (the dialog and the database connections are Qt
 * objects of that thread). Every other call is answered without touching them, and logged once as a
 * warning on the Qt logging category "tkt.abi":
 *   before Initialize, after Finalize, or from another thread:
 *     the entry answers 0 and hands nothing back; a service answers a TKT_RESULT_ERROR whose text
 *     names the rule that was broken.
 *   the entry in a process whose Qt application has no widgets (a QCoreApplication the host made
 *     itself; Initialize makes a QApplication only when there is none): answers 0.
 *   Initialize while initialized, Finalize without Initialize or from another thread: does nothing.
 *   Initialize after Finalize initializes again.
 * NULL for any text is an empty text; NULL for an in/out address of the entry means that text is
 * neither given nor handed back. Texts may be of any length. A UTF-16 text with an unpaired
 * surrogate is taken as it is: the lookup finds nothing that holds it. tkt_FreeResult and
 * tkt_FreeText accept NULL. An in/out address given twice to the entry receives only the last of
 * its texts. */
TKT_API void Initialize(void);
TKT_API void Finalize(void);

typedef struct TktUnitEntry {
    const char *name;
    void (*initialization)(void);
    void (*finalization)(void);
} TktUnitEntry;

typedef struct TktPackageInfoTable {
    int32_t unitCount;
    const TktUnitEntry *units; /* runtime and library units first, then Srv_tkt00740, then Cli_tkt00740 */
} TktPackageInfoTable;

TKT_API const TktPackageInfoTable *GetPackageInfoTable(void);

/* The entry: shows the comanda dialog modally and hands the confirmed values back.
 *
 * Texts are Windows-1252, NUL-terminated; a NULL pointer is an empty text.
 *   comanda        comanda number, shown in the title line and checked against open comandas
 *   mode           "A" for an existing comanda, anything else for one being opened (title only)
 *   permiteCons    "S": the consumer can be entered and must be
 *   permiteMesa    "S": the table can be entered and must be
 *   permiteGarcom  "S": the waiter can be entered and must be
 *   consumidor, cliente, vendedor, mesa   in/out: consumer code, its client code, waiter code, table
 *
 * In/out texts: pass the address of your text pointer. When the dialog closes, the module replaces
 * each of the four pointers with a text it allocated (whatever its length: nothing is ever cut);
 * free those with tkt_FreeText. A pointer the module did not replace (the call failed before the
 * dialog closed) still holds your own text, so free exactly the pointers that changed.
 * Returns 1 when the operator confirmed, 0 when the operator left or the call failed.
 * Also exported as "Cli_tkt00740.CriaConfComanda". */
TKT_API int32_t CriaConfComanda(const char *comanda, const char *mode, const char *permiteCons,
                                const char *permiteMesa, const char *permiteGarcom, char **consumidor,
                                char **cliente, char **vendedor, char **mesa);

/* Frees a text the entry handed back; NULL is ignored. */
TKT_API void tkt_FreeText(char *text);

/* What a service answered. */
enum {
    TKT_RESULT_PACKET = 1, /* a data packet (docs/data-packet.md), possibly without rows */
    TKT_RESULT_ERROR = 2   /* the failure's error text */
};

typedef struct TktResult {
    int32_t kind;              /* TKT_RESULT_PACKET or TKT_RESULT_ERROR */
    const uint8_t *packet;     /* PACKET: the packet's bytes */
    size_t packetSize;         /* PACKET: how many bytes */
    const uint16_t *errorText; /* ERROR: UTF-16, NUL-terminated */
    size_t errorLength;        /* ERROR: UTF-16 code units, without the NUL */
} TktResult;

/* Frees a result of any service; NULL is ignored. */
TKT_API void tkt_FreeResult(TktResult *result);

/* The five services. Each answers from the data module of the comanda dialog while one is open;
 * called when none is, it connects a data module of its own for that one call. */
TKT_API TktResult *getValidaGarcom(const uint16_t *code, const uint16_t *branch, const uint16_t *till,
                                   const uint16_t *mode);
TKT_API TktResult *getValMesa(const uint16_t *branch, const uint16_t *store, const uint16_t *table);
TKT_API TktResult *getValidaCons(const uint16_t *consumer, const uint16_t *client);
TKT_API TktResult *getConsComan(const uint16_t *branch);
TKT_API TktResult *getValComanda(const uint16_t *branch, const uint16_t *store, const uint16_t *comanda,
                                 const uint16_t *all, const uint16_t *excludedState);

#ifdef __cplusplus
}
#endif

#endif /* TKT00740_H */
