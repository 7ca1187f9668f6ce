/* A host written in C calls the entry: Windows-1252 texts in, the four in/out texts handed back in
 * Windows-1252, accented characters included; the module's texts are freed with tkt_FreeText. */
#include "Pkg_tkt00740/tkt00740.h"

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

typedef void (*HookFn)(void);
typedef int32_t (*EntryFn)(const char *, const char *, const char *, const char *, const char *, char **, char **,
                           char **, char **);
typedef void (*FreeTextFn)(char *);

static int failures = 0;
#define CHECK(cond, what)                                                                                    \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            fprintf(stderr, "FAILED: %s (%s:%d)\n", what, __FILE__, __LINE__);                               \
            ++failures;                                                                                      \
        }                                                                                                    \
    } while (0)

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s <libtkt00740.so> <operator helper .so>\n", argv[0]);
        return 2;
    }
    void *module = dlopen(argv[1], RTLD_NOW | RTLD_GLOBAL);
    void *helper = dlopen(argv[2], RTLD_NOW | RTLD_LOCAL);
    if (!module || !helper) {
        fprintf(stderr, "dlopen: %s\n", dlerror());
        return 1;
    }
    HookFn initialize = (HookFn)dlsym(module, "Initialize");
    HookFn finalize = (HookFn)dlsym(module, "Finalize");
    EntryFn entry = (EntryFn)dlsym(module, "CriaConfComanda");
    EntryFn qualified = (EntryFn)dlsym(module, "Cli_tkt00740.CriaConfComanda");
    FreeTextFn freeText = (FreeTextFn)dlsym(module, "tkt_FreeText");
    HookFn clickExit = (HookFn)dlsym(helper, "tkt_test_click_exit_when_shown");
    CHECK(initialize && finalize && entry && qualified && freeText && clickExit, "exports present");
    if (failures)
        return 1;

    initialize(); /* this host has no Qt application: the module makes one */

    /* "Ação" and "Çé" in Windows-1252; neither is a consumer or a waiter the store knows, so the
     * dialog keeps them and hands them back unchanged. */
    char consumer[] = {'A', (char)0xE7, (char)0xE3, 'o', 0};
    char client[] = "000000000000000000001";
    char waiter[] = {(char)0xC7, (char)0xE9, 0};
    char table[] = "3";
    char *pConsumer = consumer, *pClient = client, *pWaiter = waiter, *pTable = table;

    clickExit();
    const int32_t result = entry("15", "", "S", "S", "S", &pConsumer, &pClient, &pWaiter, &pTable);
    CHECK(result == 0, "leaving by the exit button answers 0");
    CHECK(pConsumer != consumer && pClient != client && pWaiter != waiter && pTable != table,
          "the four texts were handed back");
    CHECK(strcmp(pConsumer, consumer) == 0, "the accented consumer code comes back in Windows-1252");
    CHECK(strcmp(pWaiter, waiter) == 0, "the accented waiter code comes back in Windows-1252");
    CHECK(strcmp(pTable, "0003") == 0, "the table number comes back as the store holds it");
    CHECK(strcmp(pClient, client) == 0, "the client code comes back");
    freeText(pConsumer);
    freeText(pClient);
    freeText(pWaiter);
    freeText(pTable);

    /* The same entry under its unit-qualified name. */
    char *qTable = table, *qConsumer = NULL, *qClient = NULL, *qWaiter = NULL;
    clickExit();
    CHECK(qualified("16", "A", "N", "S", "N", &qConsumer, &qClient, &qWaiter, &qTable) == 0, "qualified entry answers");
    CHECK(qTable != table && strcmp(qTable, "0003") == 0, "qualified entry hands back");
    freeText(qTable);
    freeText(qConsumer);
    freeText(qClient);
    freeText(qWaiter);

    finalize();
    printf("%d passed, %d failed\n", failures ? 0 : 1, failures ? 1 : 0);
    return failures ? 1 : 0;
}
