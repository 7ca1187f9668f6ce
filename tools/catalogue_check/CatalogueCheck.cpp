#include "CatalogueCheck.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace catalogue {

namespace {

QStringList placesOf(const QString &text)
{
    static const QRegularExpression place(QStringLiteral("%L?[0-9]+"));
    QStringList places;
    for (const QRegularExpressionMatch &m : place.globalMatch(text))
        places << m.captured();
    places.sort();
    places.removeDuplicates();
    return places;
}

struct Message {
    QString context;
    QString source;
    QString type;
    QString translation;
    bool translationSeen = false;

    QString fault() const
    {
        if (!translationSeen)
            return QStringLiteral("no translation");
        if (type == QLatin1String("unfinished"))
            return QStringLiteral("not translated yet (unfinished)");
        if (type == QLatin1String("vanished") || type == QLatin1String("obsolete"))
            return QStringLiteral("its source text is gone from the code (%1)").arg(type);
        if (translation.trimmed().isEmpty())
            return QStringLiteral("empty translation");
        if (placesOf(source) != placesOf(translation))
            return QStringLiteral("the translation has the places %1, the source %2")
                .arg(placesOf(translation).join(QLatin1Char(' ')), placesOf(source).join(QLatin1Char(' ')));
        return {};
    }
};

} // namespace

QStringList faultsOf(const QByteArray &tsContent)
{
    QStringList faults;
    QXmlStreamReader xml(tsContent);
    QString context;
    Message message;
    bool inMessage = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto name = xml.name();
        if (xml.isStartElement()) {
            if (name == QLatin1String("name") && !inMessage) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                inMessage = true;
                message = Message{context, {}, {}, {}, false};
            } else if (inMessage && name == QLatin1String("source")) {
                message.source = xml.readElementText();
            } else if (inMessage && name == QLatin1String("translation")) {
                message.translationSeen = true;
                message.type = xml.attributes().value(QLatin1String("type")).toString();
                message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && name == QLatin1String("message")) {
            inMessage = false;
            if (const QString fault = message.fault(); !fault.isEmpty())
                faults << QStringLiteral("%1: «%2»: %3").arg(message.context, message.source, fault);
        }
    }
    if (xml.hasError())
        faults << QStringLiteral("not a readable catalogue: %1").arg(xml.errorString());
    return faults;
}

} // namespace catalogue
