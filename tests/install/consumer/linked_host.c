/* A host linked to the module (no dlopen): linked_host <expected version> <store database>.
 * Checks the version the library answers, then asks for table 0003 of the demo store. */
#define _POSIX_C_SOURCE 200809L

#include "tkt00740.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const uint16_t branch[] = {'0', '0', '0', '1', 0};
static const uint16_t table[] = {'0', '0', '0', '3', 0};

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: linked_host <expected version> <store database>\n");
        return 2;
    }
    const char *version = tkt_Version();
    printf("version: %s\n", version ? version : "(null)");
    if (!version || strcmp(version, argv[1]) != 0) {
        fprintf(stderr, "linked_host: the library answers version %s, expected %s\n", version ? version : "(null)",
                argv[1]);
        return 1;
    }
#ifdef FOUND_VERSION
    if (strcmp(FOUND_VERSION, version) != 0) {
        fprintf(stderr, "linked_host: find_package reported %s, the library answers %s\n", FOUND_VERSION, version);
        return 1;
    }
#endif
    char connection[4200];
    snprintf(connection, sizeof connection, "Provider=SQLite;Data Source=%s", argv[2]);
    setenv("TKT_CONNECTION_STRING", connection, 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    Initialize();
    TktResult *r = getValMesa(branch, branch, table);
    int ok = r && r->kind == TKT_RESULT_PACKET && r->packetSize > 0 && (r->packet[0] & 0xE0) == 0xA0;
    /* The table's name, as the demo store has it, must be somewhere in the packet's UTF-8. */
    const char *name = "Mesa 3 - Varanda";
    int found = 0;
    for (size_t i = 0; ok && i + strlen(name) <= r->packetSize && !found; ++i)
        found = memcmp(r->packet + i, name, strlen(name)) == 0;
    if (!ok || !found)
        fprintf(stderr, "linked_host: getValMesa did not answer a packet with table 0003 (kind %d)\n",
                r ? (int)r->kind : -1);
    else
        printf("table 0003: %s\n", name);
    tkt_FreeResult(r);
    Finalize();
    return ok && found ? 0 : 1;
}
