"""The Python host's CBOR decoder against the annotated packet of docs/data-packet.md and against
the malformed packets a reader must refuse.

    python3 test_packet_decoder.py <examples/python_host folder> <docs/data-packet.md>
"""

import re
import sys
import unittest

# The example folder is the source tree: no bytecode cache is written into it.
sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[1])
DOC = sys.argv[2]
del sys.argv[1:3]

import python_host  # noqa: E402
from python_host import PacketError, Tag, decode_packet  # noqa: E402


def documented_packet():
    """The 221-byte hex dump of the guide's annotated example."""
    with open(DOC, encoding="utf-8") as doc:
        text = doc.read()
    block = re.search(r"The same packet in hex, (\d+) bytes:\s*```\s*\n(.*?)```", text, re.S)
    data = bytes.fromhex(block.group(2))
    assert len(data) == int(block.group(1)), "the document's byte count and dump disagree"
    return data


def text(s):
    raw = s.encode()
    assert len(raw) < 24
    return bytes([0x60 | len(raw)]) + raw


def packet(fields_and_rows):
    return (b"\xa4" + text("format") + text("tkt-datapacket") + text("version") + b"\x01" + fields_and_rows)


ONE_FIELD = text("fields") + b"\x81\xa3" + text("name") + text("N") + text("type") + b"\x01" + text("width") + b"\x00"


class DocumentedPacket(unittest.TestCase):
    def test_fields_and_values(self):
        names, rows = decode_packet(documented_packet())
        self.assertEqual(names, ["NRMESA", "VRSALDO", "DTABERTURA", "IDATIVO"])
        self.assertEqual(len(rows), 2)
        first, second = rows
        self.assertEqual(first[0], "0012")
        self.assertEqual(first[1], 37.5)
        self.assertIsInstance(first[2], Tag)
        self.assertEqual((first[2].tag, first[2].value), (0, "2024-05-06T19:30:00"))
        self.assertIs(first[3], True)
        self.assertEqual(second, ["0013", None, None, False])

    def test_shown_as_the_hosts_print_it(self):
        names, rows = decode_packet(documented_packet())
        self.assertEqual([python_host.shown(v) for v in rows[0]], ["0012", "37.5", "2024-05-06T19:30:00", "true"])
        self.assertEqual(python_host.shown(rows[1][1]), "null")


class WhatReadersAlsoAccept(unittest.TestCase):
    def test_indefinite_lengths(self):
        # indefinite rows array and an indefinite text made of two chunks
        data = packet(ONE_FIELD + text("rows") + b"\x9f\x81\x7f" + text("ab") + text("c") + b"\xff\xff")
        self.assertEqual(decode_packet(data), (["N"], [["abc"]]))

    def test_half_and_single_floats(self):
        data = packet(ONE_FIELD + text("rows") + b"\x82\x81\xf9\x3e\x00\x81\xfa\x47\xc3\x50\x00")
        self.assertEqual(decode_packet(data)[1], [[1.5], [100000.0]])

    def test_unknown_keys_are_skipped(self):
        data = b"\xa5" + packet(ONE_FIELD + text("rows") + b"\x80")[1:] + text("later") + b"\x82\x01\x02"
        self.assertEqual(decode_packet(data), (["N"], []))

    def test_negative_integers_and_bytes(self):
        data = packet(ONE_FIELD + text("rows") + b"\x82\x81\x38\x63\x81\x42\x00\xff")
        self.assertEqual(decode_packet(data)[1], [[-100], [b"\x00\xff"]])


class WhatReadersRefuse(unittest.TestCase):
    def refused(self, data, words):
        with self.assertRaises(PacketError) as caught:
            decode_packet(data)
        self.assertIn(words, str(caught.exception))

    def test_truncated_anywhere(self):
        data = documented_packet()
        for cut in (0, 1, 40, len(data) - 1):
            self.refused(data[:cut], "truncated")

    def test_bytes_after_the_packet(self):
        self.refused(documented_packet() + b"\x00", "bytes after")

    def test_wrong_format_or_version(self):
        data = documented_packet()
        self.refused(data.replace(b"tkt-datapacket", b"tkt-datapacke!"), "format")
        self.refused(data.replace(b"version\x01", b"version\x02"), "version")

    def test_duplicate_key(self):
        self.refused(packet(ONE_FIELD + text("fields") + b"\x80"), "twice")

    def test_row_of_the_wrong_width(self):
        self.refused(packet(ONE_FIELD + text("rows") + b"\x81\x82\x01\x02"), "one value per field")

    def test_text_that_is_not_utf8(self):
        self.refused(packet(ONE_FIELD + text("rows") + b"\x81\x81\x62\xc3\x28"), "UTF-8")

    def test_declared_length_past_the_end(self):
        self.refused(packet(ONE_FIELD + text("rows") + b"\x81\x81\x7a\xff\xff\xff\xff"), "truncated")

    def test_absurd_nesting(self):
        self.refused(b"\x81" * 200 + b"\x80", "nesting")

    def test_not_a_map(self):
        self.refused(b"\x80", "not a CBOR map")


if __name__ == "__main__":
    unittest.main(verbosity=1)
