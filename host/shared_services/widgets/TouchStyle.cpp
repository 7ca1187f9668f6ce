#include "TouchStyle.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace tkt {

namespace {

bool hasFamily(const QString &family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// The first candidate family that is installed; empty when none is.
QString firstInstalled(const QStringList &candidates)
{
    for (const QString &family : candidates)
        if (hasFamily(family))
            return family;
    return {};
}

void substitute(const QString &family, const QStringList &candidates)
{
    if (hasFamily(family))
        return;
    const QString replacement = firstInstalled(candidates);
    if (!replacement.isEmpty())
        QFont::insertSubstitution(family, replacement);
}

} // namespace

void loadTouchFonts()
{
    static bool loaded = false;
    if (loaded || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    loaded = true;

    // Wine ships Tahoma and MS Sans Serif look-alikes with the same metrics.
    const QString wineFonts = QStringLiteral("/usr/share/wine/fonts/");
    const QStringList files{QStringLiteral("tahoma.ttf"), QStringLiteral("tahomabd.ttf"),
                            QStringLiteral("ms_sans_serif.ttf")};
    for (const QString &file : files) {
        const QString path = wineFonts + file;
        if (QFile::exists(path))
            QFontDatabase::addApplicationFont(path);
    }

    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                           QStringLiteral("DejaVu Sans")};
    substitute(QStringLiteral("Arial"), sans);
    substitute(QStringLiteral("Tahoma"), QStringList{QStringLiteral("DejaVu Sans")} + sans);
    substitute(QStringLiteral("MS Sans Serif"), sans);
}

} // namespace tkt
