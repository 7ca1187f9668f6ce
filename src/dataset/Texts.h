#pragma once
// Every text the dataset layer composes for a failure. They end up in the operator's error boxes
// (a damaged table file beside the host, a packet a service returned), so they are Brazilian
// Portuguese; the details a technician needs to find the fault (file path, byte offset, row and
// field numbers and names, field type names) are kept as they are. Decoder reasons start in lower
// case: they follow another text ("O arquivo de tabela ... está danificado: ").

#include <QCborError>
#include <QString>

namespace dataset::texts {

// --- Table files --------------------------------------------------------------------------------

QString cannotOpenTableFile(const QString &path, const QString &reason);
QString cannotReadTableFile(const QString &path, const QString &reason);
QString cannotWriteTableFile(const QString &path, const QString &reason);
QString damagedTableFile(const QString &path, const QString &reason);
// The reason given when the file to open is not there at all.
QString fileDoesNotExist();

// --- Tables -------------------------------------------------------------------------------------

QString noSuchField(const QString &fieldName);
QString noCurrentRow();
// position counts from 0, as the caller gave it.
QString rowOutOfRange(qint64 position, qint64 shownRows);
// row counts from 1.
QString rowValueCount(qint64 row, qint64 values, qint64 fields);
QString rowValueDoesNotFit(qint64 row, const QString &value, const QString &fieldName, const QString &typeName);
QString valueDoesNotFit(const QString &value, const QString &fieldName, const QString &typeName);

// --- Field lists --------------------------------------------------------------------------------

QString fieldWithoutName();
QString fieldUnknownTypeCode(const QString &fieldName, qint64 code);
QString fieldImpossibleWidth(const QString &fieldName, qint64 width);
QString fieldRepeated(const QString &fieldName);
// Stands in for the name of a type code no field may have.
QString unknownTypeName(int code);

// --- Writing packets ----------------------------------------------------------------------------

QString cannotWriteValue(qint64 row, const QString &fieldName, const QString &typeName, const QString &value);
QString cannotWriteRowValueCount(qint64 row, qint64 values, qint64 fields);
QString packetAlreadyFinished();

// --- Reading packets ----------------------------------------------------------------------------

// What the decoder found, or expected, where something else belongs.
enum class ItemKind { Integer, ByteString, Text, Array, Map, Tag, Float, Boolean, Null, Undefined, Simple, Nothing };
QString itemKind(ItemKind kind, quint64 tag = 0);
QString cborError(QCborError error);

QString packetEmpty();
QString packetTruncated(qint64 atByte);
QString packetImpossibleLength(qint64 atByte);
QString packetMalformed(qint64 atByte, const QString &reason);
QString packetInvalid(qint64 atByte, const QString &reason);

// The reasons packetInvalid carries. Field indexes and rows count from 1.
QString notAPacket(const QString &found);
QString packetKeyNotText(const QString &found);
QString packetKeyRepeated(const QString &key);
QString packetKeyMissing(const QString &key);
QString formatNotText(const QString &found);
QString wrongFormat(const QString &format, const QString &expected);
QString versionNotInteger(const QString &found);
QString unsupportedVersion(qint64 version, qint64 known);
QString trailingBytes(qint64 count);

QString fieldsNotArray(const QString &found);
QString fieldNotMap(qint64 field, const QString &found);
QString fieldKeyNotText(qint64 field, const QString &found);
QString fieldKeyRepeated(qint64 field, const QString &key);
QString fieldKeyWrongKind(qint64 field, const QString &key, const QString &expected, const QString &found);
QString fieldEmptyName(qint64 field);
QString fieldUnknownTypeCodeAt(qint64 field, qint64 code);
QString fieldImpossibleWidthAt(qint64 field, qint64 width, qint64 maxWidth);
QString fieldLacksKey(qint64 field, const QString &key);
QString fieldNameRepeated(const QString &fieldName);

QString rowsNotArray(const QString &found);
QString rowNotArray(qint64 row, const QString &found);
QString rowValueCountAt(qint64 row, qint64 values, qint64 fields);
QString rowTooManyValues(qint64 row, qint64 fields);
QString cellWrongKind(qint64 row, const QString &fieldName, const QString &typeName, const QString &found);
QString cellTagWithoutText(qint64 row, const QString &fieldName, quint64 tag, const QString &found);
QString cellNotADate(qint64 row, const QString &fieldName, const QString &text);
QString cellNotADateTime(qint64 row, const QString &fieldName, const QString &text);

// Where an integer sits, for integerOutOfRange.
QString fieldPlace(qint64 field);
QString cellPlace(qint64 row, const QString &fieldName);
QString keyPlace(const QString &key);
QString integerOutOfRange(const QString &place, quint64 value);
QString negativeIntegerOutOfRange(const QString &place);

} // namespace dataset::texts
