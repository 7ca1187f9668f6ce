// Trad: rewrites a form's texts into the host's language. The form's captions, hints and titles and
// the texts of its message tables are looked up in the catalogues under the form's name, the
// context its layout file's texts carry; a message table's line is looked up with its key as the
// disambiguation, and keeps the key.
#include "shared_services/Language.h"
#include "shared_services/StandIn.h"

#include "contracts/TMessages.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QMetaProperty>
#include <QWidget>

namespace sharedservices {

namespace {

QString translated(const QByteArray &context, const QString &text, const QString &key = {})
{
    if (text.isEmpty())
        return text;
    const QByteArray disambiguation = key.toUtf8();
    return QCoreApplication::translate(context.constData(), text.toUtf8().constData(),
                                       key.isEmpty() ? nullptr : disambiguation.constData());
}

void translateWidget(QWidget *widget, const QByteArray &context)
{
    if (!widget->windowTitle().isEmpty())
        widget->setWindowTitle(translated(context, widget->windowTitle()));
    if (!widget->toolTip().isEmpty())
        widget->setToolTip(translated(context, widget->toolTip()));
    if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty())
        label->setText(translated(context, label->text()));
    else if (auto *button = qobject_cast<QAbstractButton *>(widget); button && !button->text().isEmpty())
        button->setText(translated(context, button->text()));
}

void translateMessageTables(QWidget *form, const QByteArray &context)
{
    const QMetaObject *meta = form->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.metaType() != QMetaType::fromType<contracts::TMessages>() || !property.isWritable())
            continue;
        auto table = property.read(form).value<contracts::TMessages>();
        for (QString &line : table.Messages) {
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            if (bar < 0)
                continue;
            const QString key = line.left(bar);
            line = key + QLatin1Char('|') + translated(context, line.mid(bar + 1), key.trimmed());
        }
        property.write(form, QVariant::fromValue(table));
    }
}

} // namespace

void trad(QWidget *form)
{
    if (!form)
        return;
    const QString language = hostLanguage();
    useLanguage(language);
    // The forms are written in the source language: there it has nothing to rewrite.
    if (language == sourceLanguage())
        return;
    const QByteArray context = form->objectName().isEmpty() ? QByteArray(form->metaObject()->className())
                                                            : form->objectName().toUtf8();
    translateWidget(form, context);
    for (QWidget *child : form->findChildren<QWidget *>())
        translateWidget(child, context);
    translateMessageTables(form, context);
}

} // namespace sharedservices
