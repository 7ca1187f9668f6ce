#include "dataset/Texts.h"

namespace dataset::texts {

namespace {

QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace

QString cannotOpenTableFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Não foi possível abrir o arquivo de tabela \"%1\": %2").arg(path, reason);
}

QString cannotReadTableFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Não foi possível ler o arquivo de tabela \"%1\": %2").arg(path, reason);
}

QString cannotWriteTableFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Não foi possível gravar o arquivo de tabela \"%1\": %2").arg(path, reason);
}

QString damagedTableFile(const QString &path, const QString &reason)
{
    return QStringLiteral("O arquivo de tabela \"%1\" está danificado: %2").arg(path, reason);
}

QString fileDoesNotExist()
{
    return QStringLiteral("o arquivo não existe");
}

QString noSuchField(const QString &fieldName)
{
    return QStringLiteral("A tabela não tem o campo \"%1\"").arg(fieldName);
}

QString noCurrentRow()
{
    return QStringLiteral("A tabela não tem linha atual");
}

QString rowOutOfRange(qint64 position, qint64 shownRows)
{
    return QStringLiteral("A linha %1 está fora do intervalo (a tabela mostra %2 linhas)").arg(position).arg(shownRows);
}

QString rowValueCount(qint64 row, qint64 values, qint64 fields)
{
    return QStringLiteral("A linha %1 tem %2 valores para %3 campos").arg(row).arg(values).arg(fields);
}

QString rowValueDoesNotFit(qint64 row, const QString &value, const QString &fieldName, const QString &typeName)
{
    return QStringLiteral("Linha %1: o valor \"%2\" não cabe no campo \"%3\" (%4)").arg(row).arg(value, fieldName, typeName);
}

QString valueDoesNotFit(const QString &value, const QString &fieldName, const QString &typeName)
{
    return QStringLiteral("O valor \"%1\" não cabe no campo \"%2\" (%3)").arg(value, fieldName, typeName);
}

QString fieldWithoutName()
{
    return QStringLiteral("Um campo está sem nome");
}

QString fieldUnknownTypeCode(const QString &fieldName, qint64 code)
{
    return QStringLiteral("O campo \"%1\" tem o código de tipo desconhecido %2").arg(fieldName, QString::number(code));
}

QString fieldImpossibleWidth(const QString &fieldName, qint64 width)
{
    return QStringLiteral("O campo \"%1\" tem a largura impossível %2").arg(fieldName, QString::number(width));
}

QString fieldRepeated(const QString &fieldName)
{
    return QStringLiteral("O campo \"%1\" aparece duas vezes").arg(fieldName);
}

QString unknownTypeName(int code)
{
    return QStringLiteral("tipo %1").arg(code);
}

QString cannotWriteValue(qint64 row, const QString &fieldName, const QString &typeName, const QString &value)
{
    return QStringLiteral("Não foi possível gravar o pacote de dados: a linha %1, campo \"%2\" (%3), contém \"%4\", "
                          "que não cabe no campo")
        .arg(row).arg(fieldName, typeName, value);
}

QString cannotWriteRowValueCount(qint64 row, qint64 values, qint64 fields)
{
    return QStringLiteral("Não foi possível gravar o pacote de dados: a linha %1 tem %2 valores para %3 campos")
        .arg(row).arg(values).arg(fields);
}

QString packetAlreadyFinished()
{
    return QStringLiteral("Este pacote de dados já foi concluído");
}

QString itemKind(ItemKind kind, quint64 tag)
{
    switch (kind) {
    case ItemKind::Integer: return QStringLiteral("um inteiro");
    case ItemKind::ByteString: return QStringLiteral("uma sequência de bytes");
    case ItemKind::Text: return QStringLiteral("texto");
    case ItemKind::Array: return QStringLiteral("uma lista");
    case ItemKind::Map: return QStringLiteral("um mapa");
    case ItemKind::Tag: return QStringLiteral("a tag %1").arg(tag);
    case ItemKind::Float: return QStringLiteral("um número de ponto flutuante");
    case ItemKind::Boolean: return QStringLiteral("um valor booleano");
    case ItemKind::Null: return QStringLiteral("nulo");
    case ItemKind::Undefined: return QStringLiteral("indefinido");
    case ItemKind::Simple: return QStringLiteral("um valor simples");
    case ItemKind::Nothing: break;
    }
    return QStringLiteral("nada");
}

QString cborError(QCborError error)
{
    switch (error.c) {
    case QCborError::NoError: return QStringLiteral("nenhum erro");
    case QCborError::UnknownError: return QStringLiteral("erro desconhecido");
    case QCborError::AdvancePastEnd: return QStringLiteral("leitura além do fim dos dados");
    case QCborError::InputOutputError: return QStringLiteral("erro de leitura");
    case QCborError::GarbageAtEnd: return QStringLiteral("dados a mais no fim");
    case QCborError::EndOfFile: return QStringLiteral("fim inesperado dos dados");
    case QCborError::UnexpectedBreak: return QStringLiteral("marca de fim (break) fora do lugar");
    case QCborError::UnknownType: return QStringLiteral("tipo de item desconhecido");
    case QCborError::IllegalType: return QStringLiteral("tipo de item não permitido neste lugar");
    case QCborError::IllegalNumber: return QStringLiteral("número com codificação inválida");
    case QCborError::IllegalSimpleType: return QStringLiteral("valor simples com codificação inválida");
    case QCborError::InvalidUtf8String: return QStringLiteral("texto com UTF-8 inválido");
    case QCborError::DataTooLarge: return QStringLiteral("dados grandes demais");
    case QCborError::NestingTooDeep: return QStringLiteral("listas e mapas aninhados fundo demais");
    case QCborError::UnsupportedType: return QStringLiteral("tipo de item não suportado");
    }
    return QStringLiteral("erro de CBOR %1").arg(int(error.c));
}

QString packetEmpty()
{
    return QStringLiteral("o pacote de dados está vazio");
}

QString packetTruncated(qint64 atByte)
{
    return QStringLiteral("o pacote de dados está cortado no byte %1").arg(atByte);
}

QString packetImpossibleLength(qint64 atByte)
{
    return QStringLiteral("o pacote de dados declara um tamanho impossível no byte %1").arg(atByte);
}

QString packetMalformed(qint64 atByte, const QString &reason)
{
    return QStringLiteral("o pacote de dados está malformado no byte %1: %2").arg(atByte).arg(reason);
}

QString packetInvalid(qint64 atByte, const QString &reason)
{
    return QStringLiteral("pacote de dados inválido no byte %1: %2").arg(atByte).arg(reason);
}

QString notAPacket(const QString &found)
{
    return QStringLiteral("um pacote de dados é um mapa CBOR, e este é %1").arg(found);
}

QString packetKeyNotText(const QString &found)
{
    return QStringLiteral("as chaves do pacote devem ser texto, e esta é %1").arg(found);
}

QString packetKeyRepeated(const QString &key)
{
    return QStringLiteral("a chave %1 aparece duas vezes").arg(quoted(key));
}

QString packetKeyMissing(const QString &key)
{
    return QStringLiteral("falta a chave %1").arg(quoted(key));
}

QString formatNotText(const QString &found)
{
    return QStringLiteral("\"format\" deve ser texto, mas é %1").arg(found);
}

QString wrongFormat(const QString &format, const QString &expected)
{
    return QStringLiteral("não é um pacote de dados deste tipo: o formato é %1, o esperado é %2")
        .arg(quoted(format), quoted(expected));
}

QString versionNotInteger(const QString &found)
{
    return QStringLiteral("\"version\" deve ser um inteiro, mas é %1").arg(found);
}

QString unsupportedVersion(qint64 version, qint64 known)
{
    return QStringLiteral("a versão %1 do pacote de dados não é suportada (este leitor conhece a versão %2)")
        .arg(version).arg(known);
}

QString trailingBytes(qint64 count)
{
    return QStringLiteral("%1 bytes a mais depois do pacote").arg(count);
}

QString fieldsNotArray(const QString &found)
{
    return QStringLiteral("\"fields\" deve ser uma lista, mas é %1").arg(found);
}

QString fieldNotMap(qint64 field, const QString &found)
{
    return QStringLiteral("o campo %1 deve ser um mapa, mas é %2").arg(field).arg(found);
}

QString fieldKeyNotText(qint64 field, const QString &found)
{
    return QStringLiteral("o campo %1 tem uma chave que é %2, e não texto").arg(field).arg(found);
}

QString fieldKeyRepeated(qint64 field, const QString &key)
{
    return QStringLiteral("o campo %1 tem a chave %2 duas vezes").arg(field).arg(quoted(key));
}

QString fieldKeyWrongKind(qint64 field, const QString &key, const QString &expected, const QString &found)
{
    return QStringLiteral("campo %1: %2 deve ser %3, mas é %4").arg(field).arg(quoted(key), expected, found);
}

QString fieldEmptyName(qint64 field)
{
    return QStringLiteral("o campo %1 tem o nome vazio").arg(field);
}

QString fieldUnknownTypeCodeAt(qint64 field, qint64 code)
{
    return QStringLiteral("o campo %1 tem o código de tipo desconhecido %2").arg(field).arg(code);
}

QString fieldImpossibleWidthAt(qint64 field, qint64 width, qint64 maxWidth)
{
    return QStringLiteral("o campo %1 tem a largura impossível %2 (o permitido é de 0 a %3)")
        .arg(field).arg(width).arg(maxWidth);
}

QString fieldLacksKey(qint64 field, const QString &key)
{
    return QStringLiteral("falta a chave %2 no campo %1").arg(field).arg(quoted(key));
}

QString fieldNameRepeated(const QString &fieldName)
{
    return QStringLiteral("o nome de campo %1 aparece duas vezes").arg(quoted(fieldName));
}

QString rowsNotArray(const QString &found)
{
    return QStringLiteral("\"rows\" deve ser uma lista, mas é %1").arg(found);
}

QString rowNotArray(qint64 row, const QString &found)
{
    return QStringLiteral("a linha %1 deve ser uma lista, mas é %2").arg(row).arg(found);
}

QString rowValueCountAt(qint64 row, qint64 values, qint64 fields)
{
    return QStringLiteral("a linha %1 tem %2 valores para %3 campos").arg(row).arg(values).arg(fields);
}

QString rowTooManyValues(qint64 row, qint64 fields)
{
    return QStringLiteral("a linha %1 tem mais valores que os %2 campos").arg(row).arg(fields);
}

QString cellWrongKind(qint64 row, const QString &fieldName, const QString &typeName, const QString &found)
{
    return QStringLiteral("linha %1, campo %2 (%3): não pode conter %4").arg(row).arg(quoted(fieldName), typeName, found);
}

QString cellTagWithoutText(qint64 row, const QString &fieldName, quint64 tag, const QString &found)
{
    return QStringLiteral("linha %1, campo %2: a tag %3 deve conter texto, mas contém %4")
        .arg(QString::number(row), quoted(fieldName), QString::number(tag), found);
}

QString cellNotADate(qint64 row, const QString &fieldName, const QString &text)
{
    return QStringLiteral("linha %1, campo %2: %3 não é uma data (yyyy-MM-dd)").arg(row).arg(quoted(fieldName), quoted(text));
}

QString cellNotADateTime(qint64 row, const QString &fieldName, const QString &text)
{
    return QStringLiteral("linha %1, campo %2: %3 não é uma data e hora (yyyy-MM-ddTHH:mm:ss)")
        .arg(row).arg(quoted(fieldName), quoted(text));
}

QString fieldPlace(qint64 field)
{
    return QStringLiteral("campo %1").arg(field);
}

QString cellPlace(qint64 row, const QString &fieldName)
{
    return QStringLiteral("linha %1, campo %2").arg(row).arg(quoted(fieldName));
}

QString keyPlace(const QString &key)
{
    return quoted(key);
}

QString integerOutOfRange(const QString &place, quint64 value)
{
    return QStringLiteral("%1: o inteiro %2 está fora do intervalo de 64 bits").arg(place, QString::number(value));
}

QString negativeIntegerOutOfRange(const QString &place)
{
    return QStringLiteral("%1: o inteiro negativo está fora do intervalo de 64 bits").arg(place);
}

} // namespace dataset::texts
