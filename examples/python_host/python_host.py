#!/usr/bin/env python3
"""A point-of-sale host in Python: loads the comanda module with ctypes and asks it for a store's
tables (getValMesa), decoding the data packet it answers with.

    python3 python_host.py <library folder> <store database> [branch] [store] [table]

<library folder> holds libshared_services.so, libPkg_Aux00090.so and libtkt00740.so (build/X/bin in
a build tree, <prefix>/lib when installed, /opt/tkt00740/lib from the Debian packages). <store
database> is an SQLite store such as the demo one that make_demo writes. The table "T" (the default)
lists every table of the branch and store.

Only the standard library is used: the packet is CBOR (docs/data-packet.md), and the small decoder
below reads everything a packet may hold. With the cbor2 package installed, cbor2.loads(packet)
gives the same structure (tags as cbor2.CBORTag).

Exit status: 0 when the service answered with a packet, 1 on any failure (the reason on stderr),
2 on wrong use.
"""

import ctypes
import math
import os
import struct
import sys


# ---- CBOR (RFC 8949), as much as a data packet uses ---------------------------------------------

class Tag:
    """A tagged value: tag 0 holds a date-time text, tag 1004 a date text."""

    def __init__(self, tag, value):
        self.tag = tag
        self.value = value

    def __repr__(self):
        return f"Tag({self.tag}, {self.value!r})"


class PacketError(ValueError):
    pass


_BREAK = object()


class _Decoder:
    def __init__(self, data):
        self.data = bytes(data)
        self.pos = 0

    def take(self, n):
        if n > len(self.data) - self.pos:
            raise PacketError(f"data packet truncated at byte {len(self.data)}")
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def head(self):
        initial = self.take(1)[0]
        major, info = initial >> 5, initial & 0x1F
        if info < 24:
            return major, info, info
        if info in (24, 25, 26, 27):
            return major, info, int.from_bytes(self.take(1 << (info - 24)), "big")
        if info == 31:
            return major, info, None
        raise PacketError(f"reserved CBOR head at byte {self.pos - 1}")

    def item(self, depth=0, allow_break=False):
        if depth > 64:
            raise PacketError(f"nesting too deep at byte {self.pos}")
        start = self.pos
        major, info, arg = self.head()
        if major == 0:
            return arg
        if major == 1:
            return -1 - arg
        if major in (2, 3):
            if arg is None:
                parts = []
                while True:
                    part = self.item(depth + 1, allow_break=True)
                    if part is _BREAK:
                        break
                    if not isinstance(part, (bytes, str)) or (major == 3) != isinstance(part, str):
                        raise PacketError(f"bad chunk in a string at byte {start}")
                    parts.append(part)
                return "".join(parts) if major == 3 else b"".join(parts)
            raw = self.take(arg)
            if major == 2:
                return raw
            try:
                return raw.decode("utf-8")
            except UnicodeDecodeError:
                raise PacketError(f"text that is not UTF-8 at byte {start}") from None
        if major == 4:
            out = []
            while arg is None or len(out) < arg:
                value = self.item(depth + 1, allow_break=arg is None)
                if value is _BREAK:
                    break
                out.append(value)
            return out
        if major == 5:
            out = {}
            while arg is None or len(out) < arg:
                key = self.item(depth + 1, allow_break=arg is None)
                if key is _BREAK:
                    break
                if not isinstance(key, str):
                    raise PacketError(f"map key that is not a text at byte {start}")
                if key in out:
                    raise PacketError(f"key {key!r} twice in one map at byte {start}")
                out[key] = self.item(depth + 1)
            return out
        if major == 6:
            return Tag(arg, self.item(depth + 1))
        # major 7: simple values and floats
        if info == 20:
            return False
        if info == 21:
            return True
        if info == 22:
            return None
        if info == 25:
            return _half_to_float(arg)
        if info == 26:
            return struct.unpack(">f", arg.to_bytes(4, "big"))[0]
        if info == 27:
            return struct.unpack(">d", arg.to_bytes(8, "big"))[0]
        if info == 31 and allow_break:
            return _BREAK
        raise PacketError(f"a value a packet never holds at byte {start}")


def _half_to_float(bits):
    exponent, mantissa = (bits >> 10) & 0x1F, bits & 0x3FF
    if exponent == 0:
        value = math.ldexp(mantissa, -24)
    elif exponent == 31:
        value = math.inf if mantissa == 0 else math.nan
    else:
        value = math.ldexp(mantissa + 1024, exponent - 25)
    return -value if bits & 0x8000 else value


def decode_packet(data):
    """Returns (field names, rows) of a data packet; raises PacketError for anything malformed."""
    decoder = _Decoder(data)
    document = decoder.item()
    if decoder.pos != len(decoder.data):
        raise PacketError(f"bytes after the packet at byte {decoder.pos}")
    if not isinstance(document, dict):
        raise PacketError("the packet is not a CBOR map")
    if document.get("format") != "tkt-datapacket":
        raise PacketError("format is not tkt-datapacket")
    if document.get("version") != 1:
        raise PacketError(f"packet version {document.get('version')!r} is not 1")
    fields, rows = document.get("fields"), document.get("rows")
    if not isinstance(fields, list) or not isinstance(rows, list):
        raise PacketError("fields or rows is missing")
    names = []
    for field in fields:
        if not isinstance(field, dict) or not isinstance(field.get("name"), str) or not field["name"]:
            raise PacketError("a field without a name")
        names.append(field["name"])
    for row in rows:
        if not isinstance(row, list) or len(row) != len(names):
            raise PacketError("a row does not have one value per field")
    return names, rows


def shown(value):
    if isinstance(value, Tag):
        return str(value.value)
    if value is None:
        return "null"
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, bytes):
        return value.hex()
    if isinstance(value, float):
        return f"{value:g}"
    return str(value)


# ---- the module's C ABI (tkt00740.h) --------------------------------------------------------------

TKT_RESULT_PACKET = 1
TKT_RESULT_ERROR = 2


class TktResult(ctypes.Structure):
    _fields_ = [
        ("kind", ctypes.c_int32),
        ("packet", ctypes.POINTER(ctypes.c_uint8)),
        ("packetSize", ctypes.c_size_t),
        ("errorText", ctypes.POINTER(ctypes.c_uint16)),
        ("errorLength", ctypes.c_size_t),
    ]


Utf16 = ctypes.POINTER(ctypes.c_uint16)


def utf16(text):
    """A NUL-terminated UTF-16 copy of text (the services' texts). ctypes' c_wchar is 32 bits on
    Linux, so the code units are built by hand."""
    units = struct.unpack(f"<{len(text.encode('utf-16-le')) // 2}H", text.encode("utf-16-le"))
    return (ctypes.c_uint16 * (len(units) + 1))(*units, 0)


class Module:
    def __init__(self, folder):
        # The host's shared services library and its common UI package come first, as in the real
        # host; RTLD_GLOBAL lets the module resolve against the libraries the host loaded.
        mode = ctypes.RTLD_GLOBAL
        self.shared = ctypes.CDLL(os.path.join(folder, "libshared_services.so"), mode=mode)
        common_ui = os.path.join(folder, "libPkg_Aux00090.so")
        self.common_ui = ctypes.CDLL(common_ui, mode=mode) if os.path.exists(common_ui) else None
        lib = ctypes.CDLL(os.path.join(folder, "libtkt00740.so"), mode=mode)
        lib.tkt_Version.restype = ctypes.c_char_p
        lib.tkt_Version.argtypes = []
        lib.Initialize.restype = None
        lib.Finalize.restype = None
        lib.tkt_FreeResult.argtypes = [ctypes.POINTER(TktResult)]
        lib.tkt_FreeResult.restype = None
        lib.getValMesa.argtypes = [Utf16, Utf16, Utf16]
        lib.getValMesa.restype = ctypes.POINTER(TktResult)
        self.lib = lib

    def version(self):
        return self.lib.tkt_Version().decode("ascii")

    def call(self, service, *texts):
        """Runs a service; returns the packet's bytes or raises RuntimeError with its error text."""
        answer = service(*[ctypes.cast(utf16(t), Utf16) if t is not None else None for t in texts])
        if not answer:
            raise RuntimeError("the service answered nothing (out of memory)")
        try:
            result = answer.contents
            if result.kind == TKT_RESULT_PACKET:
                return ctypes.string_at(result.packet, result.packetSize)
            if result.kind == TKT_RESULT_ERROR:
                raw = ctypes.string_at(result.errorText, result.errorLength * 2)
                raise RuntimeError(raw.decode("utf-16-le", errors="replace"))
            raise RuntimeError(f"a result of unknown kind {result.kind}")
        finally:
            self.lib.tkt_FreeResult(answer)


def main(argv):
    if not 3 <= len(argv) <= 6:
        print(f"usage: {argv[0]} <library folder> <store database> [branch] [store] [table]", file=sys.stderr)
        return 2
    folder, database = argv[1], argv[2]
    branch, store, table = (argv[3:] + ["0001", "0001", "T"][len(argv) - 3:])[:3]

    # The stand-in of the shared services library takes the connection string from here; a real
    # host's library knows its store's database. Both must be set before the libraries load.
    os.environ["TKT_CONNECTION_STRING"] = f"Provider=SQLite;Data Source={database}"
    if not os.environ.get("DISPLAY") and not os.environ.get("WAYLAND_DISPLAY"):
        os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

    try:
        module = Module(folder)
    except OSError as error:
        print(f"python_host: cannot load the libraries: {error}", file=sys.stderr)
        return 1

    print(f"module version: {module.version()}")
    module.lib.Initialize()
    status = 1
    try:
        packet = module.call(module.lib.getValMesa, branch, store, table)
        names, rows = decode_packet(packet)
        print("fields: " + " ".join(names))
        for row in rows:
            print("row: " + "; ".join(f"{n}={shown(v)}" for n, v in zip(names, row)))
        print(f"rows: {len(rows)}")
        status = 0
    except RuntimeError as error:
        print(f"python_host: getValMesa failed: {error}", file=sys.stderr)
    except PacketError as error:
        print(f"python_host: the packet cannot be read: {error}", file=sys.stderr)
    finally:
        module.lib.Finalize()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
