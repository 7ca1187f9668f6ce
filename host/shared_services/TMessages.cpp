// The keyed message table.
#include "contracts/TMessages.h"

#include "contracts/Errors.h"

#include <QFile>

namespace contracts {

QString TMessages::Msg(const QString &key) const
{
    // The first line wins: a table may repeat a key, and the text the dialog was designed with is
    // the one written first.
    const QString wanted = key.trimmed();
    for (const QString &line : Messages) {
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        if (bar < 0)
            continue;
        if (QStringView(line).left(bar).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return line.mid(bar + 1);
    }
    return {};
}

TMessages TMessages::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(tkt::shownText("TMessages", "Não foi possível ler a tabela de mensagens %1: %2")
                             .arg(path, file.errorString()));
    QString content = QString::fromUtf8(file.readAll());
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);

    TMessages table;
    for (QString line : content.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            table.Messages << line;
    }
    return table;
}

} // namespace contracts
