#include "Usage.h"

namespace cdstool {

QString usageLine()
{
    return QStringLiteral("usage: cdstool show FILE | json FILE | from-json IN OUT | set FILE FIELD=VALUE... | --help");
}

QString helpText()
{
    return QStringLiteral(R"(Usage: cdstool COMMAND ARGUMENTS

Shows, converts and edits data packets and the .cds table files that hold them (the format is in
docs/data-packet.md). FILE and IN may be - for standard input, except for set.

  cdstool show FILE
      Prints the field list (number, name, type, width, display label, hidden fields marked) and
      the rows as an aligned table. A null shows as <null>. A text shows in double quotes, with
      JSON escapes, when it is empty, starts or ends with a blank, holds a control character,
      starts with a quote or reads <null>. Date-times show their milliseconds when not zero;
      blobs show in hex, a blob over 16 bytes as its first 16 and its size. A text longer than
      40 characters is cut (json shows every value whole).

  cdstool json FILE
      Writes the packet as JSON on standard output ("The JSON form" in docs/data-packet.md):
      field types, widths, labels, hidden flags, nulls, date-times, blobs (base64) and floats
      (exactly; NaN, infinities and -0 as texts). from-json turns that JSON back into the very
      same bytes. A packet written by another program, in a form this codec does not write
      (other key order, shorter floats, indefinite lengths, unknown keys, ...), still converts;
      a note on standard error says from-json will give the same values in this codec's form.

  cdstool from-json IN OUT
      Writes the packet described by the JSON in IN to the file OUT. Unknown keys, values that
      do not fit their field and texts that are not exactly as json writes them (date-times,
      dates, base64) are refused.

  cdstool set FILE FIELD=VALUE...
      Changes fields of the first row of FILE in place, as a technician sets the branch or the
      till of a point of sale:
          cdstool set PARAMETROSQOR.CDS CDFILIAL=0002 CDCAIXA=003
      Field names ignore letter case. A value is given as:
          String    the text (may be empty), at most WIDTH characters; no limit when WIDTH is 0
          Integer   a whole number within the signed 64-bit range, e.g. -12
          Float     a finite number, e.g. 12.5 or 1e3
          Boolean   true or false (any letter case), or 1 or 0
          DateTime  yyyy-MM-ddTHH:mm:ss[.zzz]; also with a blank for the T, without
                    seconds, or a bare date (midnight)
          Date      yyyy-MM-dd
          Blob      base64, at most WIDTH bytes; no limit when WIDTH is 0
      Values cannot be set to null. Every value is checked before anything is written: an
      unknown field, a value that does not fit its field, or a file without rows refuses the
      whole set and leaves FILE as it was. FILE is written to a temporary file in its folder that
      then replaces it, so a failure never leaves a half-written file.

  cdstool --help
      This text.

A file that cannot be read as a packet (empty, truncated, not CBOR, values of the wrong type,
...) is reported on standard error with the byte offset where decoding gave up.

Exit status:
  0  done
  1  a file that cannot be read or written, is not a valid packet or JSON form, or a refused value
  2  bad usage: unknown command or option, missing or extra arguments, an argument of set that
     is not FIELD=VALUE, or a field given twice
)");
}

} // namespace cdstool
