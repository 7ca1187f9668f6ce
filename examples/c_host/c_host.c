/*
 * A point-of-sale host in C that loads the comanda module at run time and asks it for a store's
 * tables (getValMesa), decoding the data packet it answers with.
 *
 *   c_host <library folder> <store database> [branch] [store] [table]
 *
 * <library folder> holds libshared_services.so, libPkg_Aux00090.so and libtkt00740.so (build/X/bin
 * in a build tree, <prefix>/lib when installed, /opt/tkt00740/lib from the Debian packages).
 * <store database> is an SQLite store such as the demo one that make_demo writes. The table "T"
 * (the default) lists every table of the branch and store.
 *
 * Build: cc -std=c11 $(pkg-config --cflags tkt00740) c_host.c -ldl -o c_host
 * Exit status: 0 when the service answered with a packet, 1 on any failure (the reason on stderr),
 * 2 on wrong use.
 */
#define _POSIX_C_SOURCE 200809L

#include "tkt00740.h"

#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef const char *(*VersionFn)(void);
typedef void (*HookFn)(void);
typedef TktResult *(*ValMesaFn)(const uint16_t *, const uint16_t *, const uint16_t *);
typedef void (*FreeResultFn)(TktResult *);

/* ---- texts ------------------------------------------------------------------------------------ */

/* Service texts are UTF-16. The codes of this example are ASCII, so a widening copy will do; a host
 * with other texts converts from its own encoding (iconv, or its toolkit's string class). */
static uint16_t *utf16FromAscii(const char *text)
{
    size_t n = strlen(text);
    uint16_t *out = malloc((n + 1) * sizeof *out);
    if (!out)
        return NULL;
    for (size_t i = 0; i < n; ++i)
        out[i] = (unsigned char)text[i];
    out[n] = 0;
    return out;
}

/* An error text of the module, UTF-16, written to a stream as UTF-8 (surrogate pairs joined). */
static void printUtf16(FILE *out, const uint16_t *text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            fputc((int)c, out);
        } else if (c < 0x800) {
            fputc((int)(0xC0 | (c >> 6)), out);
            fputc((int)(0x80 | (c & 0x3F)), out);
        } else if (c < 0x10000) {
            fputc((int)(0xE0 | (c >> 12)), out);
            fputc((int)(0x80 | ((c >> 6) & 0x3F)), out);
            fputc((int)(0x80 | (c & 0x3F)), out);
        } else {
            fputc((int)(0xF0 | (c >> 18)), out);
            fputc((int)(0x80 | ((c >> 12) & 0x3F)), out);
            fputc((int)(0x80 | ((c >> 6) & 0x3F)), out);
            fputc((int)(0x80 | (c & 0x3F)), out);
        }
    }
}

/* ---- a small CBOR reader for the data packet (docs/data-packet.md) ---------------------------- */

typedef struct Reader {
    const uint8_t *data;
    size_t size;
    size_t pos;
    const char *error; /* set once; every later read fails */
} Reader;

#define INDEFINITE UINT64_MAX

static int fail(Reader *r, const char *why)
{
    if (!r->error)
        r->error = why;
    return 0;
}

/* The head of an item: major type and its argument (a length, a count, a value or a tag). */
static int readHead(Reader *r, int *major, uint64_t *arg, int *info)
{
    if (r->error)
        return 0;
    if (r->pos >= r->size)
        return fail(r, "the packet ends in the middle of an item");
    uint8_t initial = r->data[r->pos++];
    *major = initial >> 5;
    *info = initial & 0x1F;
    if (*info < 24) {
        *arg = (uint64_t)*info;
        return 1;
    }
    if (*info == 31) {
        *arg = INDEFINITE;
        return 1;
    }
    if (*info > 27)
        return fail(r, "a reserved CBOR head");
    size_t bytes = (size_t)1 << (*info - 24);
    if (r->size - r->pos < bytes)
        return fail(r, "the packet ends in the middle of an item");
    uint64_t value = 0;
    for (size_t i = 0; i < bytes; ++i)
        value = (value << 8) | r->data[r->pos++];
    *arg = value;
    return 1;
}

static int atBreak(Reader *r)
{
    if (!r->error && r->pos < r->size && r->data[r->pos] == 0xFF) {
        ++r->pos;
        return 1;
    }
    return 0;
}

/* Prints one item as text (values of a row) or only walks over it (out == NULL). */
static int item(Reader *r, FILE *out, int depth);

static int stringItem(Reader *r, FILE *out, int major, uint64_t length)
{
    if (length == INDEFINITE) {
        while (!atBreak(r)) {
            int chunkMajor, info;
            uint64_t chunk;
            if (!readHead(r, &chunkMajor, &chunk, &info))
                return 0;
            if (chunkMajor != major || chunk == INDEFINITE)
                return fail(r, "a bad chunk in an indefinite-length string");
            if (!stringItem(r, out, major, chunk))
                return 0;
        }
        return !r->error;
    }
    if (length > r->size - r->pos)
        return fail(r, "a string runs past the end of the packet");
    if (out) {
        if (major == 3)
            fwrite(r->data + r->pos, 1, (size_t)length, out);
        else
            for (uint64_t i = 0; i < length; ++i)
                fprintf(out, "%02x", r->data[r->pos + i]);
    }
    r->pos += (size_t)length;
    return 1;
}

static double halfToDouble(uint16_t h)
{
    int exponent = (h >> 10) & 0x1F;
    double mantissa = h & 0x3FF;
    double value;
    if (exponent == 0)
        value = mantissa / 16777216.0; /* 2^-24 */
    else if (exponent == 31)
        value = mantissa == 0 ? 1.0 / 0.0 : 0.0 / 0.0;
    else {
        value = (1024.0 + mantissa);
        for (int e = exponent - 25; e > 0; --e)
            value *= 2;
        for (int e = exponent - 25; e < 0; ++e)
            value /= 2;
    }
    return (h & 0x8000) ? -value : value;
}

static int item(Reader *r, FILE *out, int depth)
{
    int major, info;
    uint64_t arg;
    if (depth > 32)
        return fail(r, "the packet nests too deeply");
    if (!readHead(r, &major, &arg, &info))
        return 0;
    switch (major) {
    case 0:
        if (out)
            fprintf(out, "%llu", (unsigned long long)arg);
        return 1;
    case 1:
        if (out)
            fprintf(out, "%lld", arg > INT64_MAX ? (long long)INT64_MIN : -1 - (long long)arg);
        return 1;
    case 2:
    case 3:
        return stringItem(r, out, major, arg);
    case 4:
    case 5: {
        uint64_t items = arg == INDEFINITE ? INDEFINITE : (major == 5 ? arg * 2 : arg);
        for (uint64_t i = 0; items == INDEFINITE ? !atBreak(r) : i < items; ++i)
            if (!item(r, NULL, depth + 1))
                return 0;
        if (out)
            fputs(major == 4 ? "[array]" : "{map}", out);
        return !r->error;
    }
    case 6: /* tags 0 (date-time) and 1004 (date) wrap the text the row shows */
        return item(r, out, depth + 1);
    default:
        if (info == 20 || info == 21) {
            if (out)
                fputs(info == 21 ? "true" : "false", out);
        } else if (info == 22) {
            if (out)
                fputs("null", out);
        } else if (info == 25 || info == 26 || info == 27) {
            double value;
            if (info == 25) {
                value = halfToDouble((uint16_t)arg);
            } else if (info == 26) {
                float f;
                uint32_t bits = (uint32_t)arg;
                memcpy(&f, &bits, sizeof f);
                value = f;
            } else {
                memcpy(&value, &arg, sizeof value);
            }
            if (out)
                fprintf(out, "%g", value);
        } else {
            return fail(r, "a value a packet never holds");
        }
        return 1;
    }
}

/* Compares the text string at the reader with `expected`, consuming it. */
static int readKey(Reader *r, char *key, size_t keySize)
{
    int major, info;
    uint64_t length;
    if (!readHead(r, &major, &length, &info))
        return 0;
    if (major != 3 || length == INDEFINITE)
        return fail(r, "a map key is not a text");
    if (length > r->size - r->pos)
        return fail(r, "a key runs past the end of the packet");
    size_t n = length < keySize - 1 ? (size_t)length : keySize - 1;
    memcpy(key, r->data + r->pos, n);
    key[n] = 0;
    r->pos += (size_t)length;
    return 1;
}

static int readCount(Reader *r, int expectedMajor, uint64_t *count, const char *what)
{
    int major, info;
    if (!readHead(r, &major, count, &info))
        return 0;
    if (major != expectedMajor)
        return fail(r, what);
    return 1;
}

#define MAX_FIELDS 128

/* Prints the packet: its field names, then each row as NAME=value pairs. Returns the row count,
 * or -1 with the reason in r->error. */
static long printPacket(Reader *r, FILE *out)
{
    char names[MAX_FIELDS][64];
    uint64_t fieldCount = 0;
    long rowCount = 0;
    int sawFormat = 0, sawFields = 0, sawRows = 0;
    uint64_t pairs;

    if (!readCount(r, 5, &pairs, "the packet is not a CBOR map"))
        return -1;
    for (uint64_t p = 0; pairs == INDEFINITE ? !atBreak(r) : p < pairs; ++p) {
        char key[32];
        if (!readKey(r, key, sizeof key))
            return -1;
        if (strcmp(key, "format") == 0) {
            char format[32];
            if (!readKey(r, format, sizeof format))
                return -1;
            if (strcmp(format, "tkt-datapacket") != 0) {
                fail(r, "the format is not tkt-datapacket");
                return -1;
            }
            sawFormat = 1;
        } else if (strcmp(key, "fields") == 0) {
            if (!readCount(r, 4, &fieldCount, "fields is not an array"))
                return -1;
            if (fieldCount == INDEFINITE || fieldCount > MAX_FIELDS) {
                fail(r, "this example reads up to 128 fields of definite length");
                return -1;
            }
            for (uint64_t f = 0; f < fieldCount; ++f) {
                uint64_t fieldPairs;
                names[f][0] = 0;
                if (!readCount(r, 5, &fieldPairs, "a field is not a map"))
                    return -1;
                for (uint64_t q = 0; fieldPairs == INDEFINITE ? !atBreak(r) : q < fieldPairs; ++q) {
                    char fieldKey[16];
                    if (!readKey(r, fieldKey, sizeof fieldKey))
                        return -1;
                    if (strcmp(fieldKey, "name") == 0) {
                        if (!readKey(r, names[f], sizeof names[f]))
                            return -1;
                    } else if (!item(r, NULL, 1)) {
                        return -1;
                    }
                }
                if (!names[f][0]) {
                    fail(r, "a field has no name");
                    return -1;
                }
            }
            sawFields = 1;
        } else if (strcmp(key, "rows") == 0) {
            uint64_t rows;
            if (!sawFields) {
                fail(r, "rows come before fields; this example reads them in the written order");
                return -1;
            }
            fprintf(out, "fields:");
            for (uint64_t f = 0; f < fieldCount; ++f)
                fprintf(out, " %s", names[f]);
            fputc('\n', out);
            if (!readCount(r, 4, &rows, "rows is not an array"))
                return -1;
            for (uint64_t i = 0; rows == INDEFINITE ? !atBreak(r) : i < rows; ++i) {
                uint64_t values;
                if (!readCount(r, 4, &values, "a row is not an array"))
                    return -1;
                if (values != fieldCount) {
                    fail(r, "a row does not have one value per field");
                    return -1;
                }
                fputs("row:", out);
                for (uint64_t f = 0; f < fieldCount; ++f) {
                    fprintf(out, "%s%s=", f ? "; " : " ", names[f]);
                    if (!item(r, out, 1))
                        return -1;
                }
                fputc('\n', out);
                ++rowCount;
            }
            sawRows = 1;
        } else if (!item(r, NULL, 1)) { /* version, and keys of later versions */
            return -1;
        }
    }
    if (!r->error && r->pos != r->size)
        fail(r, "bytes after the packet");
    if (!r->error && !(sawFormat && sawFields && sawRows))
        fail(r, "format, fields or rows is missing");
    return r->error ? -1 : rowCount;
}

/* ---- the host ----------------------------------------------------------------------------------- */

static void *openLibrary(const char *folder, const char *file, int required)
{
    char path[4096];
    snprintf(path, sizeof path, "%s/%s", folder, file);
    /* RTLD_GLOBAL: the module and the common UI package resolve against the shared services library
     * that the host loaded, as they do in the real host. */
    void *handle = dlopen(path, RTLD_NOW | RTLD_GLOBAL);
    if (!handle && required)
        fprintf(stderr, "c_host: cannot load %s: %s\n", path, dlerror());
    return handle;
}

static void *symbol(void *library, const char *name, int *missing)
{
    void *address = dlsym(library, name);
    if (!address) {
        fprintf(stderr, "c_host: the module does not export %s\n", name);
        *missing = 1;
    }
    return address;
}

int main(int argc, char **argv)
{
    if (argc < 3 || argc > 6) {
        fprintf(stderr, "usage: %s <library folder> <store database> [branch] [store] [table]\n", argv[0]);
        return 2;
    }
    const char *folder = argv[1];
    const char *database = argv[2];
    const char *branchText = argc > 3 ? argv[3] : "0001";
    const char *storeText = argc > 4 ? argv[4] : "0001";
    const char *tableText = argc > 5 ? argv[5] : "T";

    /* The stand-in of the shared services library takes the connection string from here; a real
     * host's library knows its store's database. */
    char connection[4200];
    snprintf(connection, sizeof connection, "Provider=SQLite;Data Source=%s", database);
    setenv("TKT_CONNECTION_STRING", connection, 1);
    /* Initialize creates a Qt application when the host has none; without a display it needs the
     * offscreen platform. */
    if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);

    /* Loading order: the host's shared services library, its common UI package, then the module. */
    if (!openLibrary(folder, "libshared_services.so", 1))
        return 1;
    if (!openLibrary(folder, "libPkg_Aux00090.so", 0))
        fprintf(stderr, "c_host: no common UI package in %s; the services do not need it\n", folder);
    void *module = openLibrary(folder, "libtkt00740.so", 1);
    if (!module)
        return 1;

    int missing = 0;
    VersionFn version = (VersionFn)symbol(module, "tkt_Version", &missing);
    HookFn initialize = (HookFn)symbol(module, "Initialize", &missing);
    HookFn finalize = (HookFn)symbol(module, "Finalize", &missing);
    ValMesaFn getValMesa = (ValMesaFn)symbol(module, "getValMesa", &missing);
    FreeResultFn freeResult = (FreeResultFn)symbol(module, "tkt_FreeResult", &missing);
    if (missing)
        return 1;

    printf("module version: %s\n", version());
    initialize();

    uint16_t *branch = utf16FromAscii(branchText);
    uint16_t *store = utf16FromAscii(storeText);
    uint16_t *table = utf16FromAscii(tableText);
    int status = 1;
    TktResult *result = branch && store && table ? getValMesa(branch, store, table) : NULL;
    if (!result) {
        fprintf(stderr, "c_host: getValMesa answered nothing (out of memory)\n");
    } else if (result->kind == TKT_RESULT_ERROR) {
        fputs("c_host: getValMesa failed: ", stderr);
        printUtf16(stderr, result->errorText, result->errorLength);
        fputc('\n', stderr);
    } else if (result->kind == TKT_RESULT_PACKET) {
        Reader reader = {result->packet, result->packetSize, 0, NULL};
        long rows = printPacket(&reader, stdout);
        if (rows < 0) {
            fprintf(stderr, "c_host: the packet cannot be read: %s (at byte %zu)\n", reader.error, reader.pos);
        } else {
            printf("rows: %ld\n", rows);
            status = 0;
        }
    } else {
        fprintf(stderr, "c_host: getValMesa answered a result of unknown kind %d\n", (int)result->kind);
    }
    freeResult(result);
    free(branch);
    free(store);
    free(table);

    finalize();
    /* The module is not unloaded: Qt's objects and the host's libraries may still refer to it. */
    return status;
}
