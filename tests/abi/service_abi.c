/* A host written in C: loads the module with dlopen and calls its services through the public
 * header, the way a point-of-sale host in another language would. */
#include "Pkg_tkt00740/tkt00740.h"

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

typedef void (*HookFn)(void);
typedef TktResult *(*ValMesaFn)(const uint16_t *, const uint16_t *, const uint16_t *);
typedef TktResult *(*ValidaGarcomFn)(const uint16_t *, const uint16_t *, const uint16_t *, const uint16_t *);
typedef void (*FreeFn)(TktResult *);

static int failures = 0;
#define CHECK(cond, what)                                                                                    \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            fprintf(stderr, "FAILED: %s (%s:%d)\n", what, __FILE__, __LINE__);                               \
            ++failures;                                                                                      \
        }                                                                                                    \
    } while (0)

static const uint16_t branch[] = {'0', '0', '0', '1', 0};
static const uint16_t store[] = {'0', '0', '0', '1', 0};
static const uint16_t all[] = {'T', 0};
static const uint16_t till[] = {'0', '0', '1', 0};
static const uint16_t modeJudge[] = {'1', 0};
static const uint16_t quote[] = {'\'', ' ', 'O', 'R', ' ', '1', '=', '1', 0};

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s <path of libtkt00740.so>\n", argv[0]);
        return 2;
    }
    void *module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        fprintf(stderr, "dlopen: %s\n", dlerror());
        return 1;
    }
    HookFn initialize = (HookFn)dlsym(module, "Initialize");
    HookFn finalize = (HookFn)dlsym(module, "Finalize");
    ValMesaFn getValMesa = (ValMesaFn)dlsym(module, "getValMesa");
    ValidaGarcomFn getValidaGarcom = (ValidaGarcomFn)dlsym(module, "getValidaGarcom");
    FreeFn freeResult = (FreeFn)dlsym(module, "tkt_FreeResult");
    CHECK(initialize && finalize && getValMesa && getValidaGarcom && freeResult, "exports present");
    if (failures)
        return 1;

    initialize();

    TktResult *r = getValMesa(branch, store, all);
    CHECK(r != NULL, "a result");
    if (r) {
        if (r->kind == TKT_RESULT_ERROR) {
            fprintf(stderr, "service error (%zu code units)\n", r->errorLength);
        }
        CHECK(r->kind == TKT_RESULT_PACKET, "the tables come as a packet");
        CHECK(r->packet != NULL && r->packetSize > 16, "the packet has bytes");
        /* The packet is CBOR: a map (major type 5) at its start. */
        CHECK(r->packetSize > 0 && (r->packet[0] & 0xE0) == 0xA0, "the packet starts with a CBOR map");
        freeResult(r);
    }

    r = getValidaGarcom(quote, branch, till, modeJudge);
    CHECK(r != NULL && r->kind == TKT_RESULT_PACKET, "a hostile code is just a code");
    freeResult(r);

    r = getValMesa(NULL, NULL, NULL);
    CHECK(r != NULL && r->kind == TKT_RESULT_PACKET, "NULL texts are empty texts");
    freeResult(r);
    freeResult(NULL);

    finalize();
    dlclose(module);
    printf("%d passed, %d failed\n", failures ? 0 : 1, failures ? 1 : 0);
    return failures ? 1 : 0;
}
