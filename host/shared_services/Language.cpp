// The host's language setting and the translators of the embedded catalogues.
#include "shared_services/Language.h"

#include "contracts/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>
#include <vector>

namespace sharedservices {

namespace {

QString settingBeside(const QString &programDir)
{
    QFile file(QDir(programDir).filePath(QStringLiteral("tkt00740.lang")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        line.remove(QChar(0xFEFF));
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return {};
}

// A translator keeps the bytes it was loaded from: the library that embedded them may be unloaded
// while the translator is still installed.
struct Catalogue {
    QString name;
    QByteArray bytes;
    std::unique_ptr<QTranslator> translator;
};

struct Installed {
    QPointer<QCoreApplication> application;
    QString language = sourceLanguage();
    std::vector<Catalogue> catalogues;

    void clear()
    {
        // At the process's end the application is gone, and its list of translators with it.
        if (application && application == QCoreApplication::instance())
            for (Catalogue &catalogue : catalogues)
                QCoreApplication::removeTranslator(catalogue.translator.get());
        catalogues.clear();
        language = sourceLanguage();
    }
    ~Installed() { clear(); }
};

Installed &installed()
{
    static Installed state;
    return state;
}

bool isLoaded(const Installed &state, const QString &name)
{
    for (const Catalogue &catalogue : state.catalogues)
        if (catalogue.name == name)
            return true;
    return false;
}

} // namespace

QString languageFor(const QString &programDir)
{
    QString setting = qEnvironmentVariable("TKT_LANGUAGE").trimmed();
    if (setting.isEmpty())
        setting = settingBeside(programDir);
    if (setting.isEmpty())
        return sourceLanguage();
    static const QRegularExpression separator(QStringLiteral("[-_]"));
    const QString code = setting.section(separator, 0, 0).toLower();
    if (code == QLatin1String("es") || code == QLatin1String("en"))
        return code;
    if (code != QLatin1String("pt"))
        qCWarning(lcStandIn).noquote() << "language setting" << setting << "is none of pt_BR, es, en: pt_BR is used";
    return sourceLanguage();
}

QString hostLanguage()
{
    return languageFor(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath());
}

void useLanguage(const QString &language)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    Installed &state = installed();
    if (state.application != application || state.language != language) {
        state.clear();
        state.application = application;
        state.language = language;
    }
    if (language == sourceLanguage())
        return;

    const QDir folder(QStringLiteral(":/i18n"));
    const QStringList names = folder.entryList({QStringLiteral("*_%1.qm").arg(language)}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (isLoaded(state, name))
            continue;
        Catalogue catalogue{name, {}, std::make_unique<QTranslator>()};
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            catalogue.bytes = file.readAll();
        const auto *data = reinterpret_cast<const uchar *>(catalogue.bytes.constData());
        if (!catalogue.translator->load(data, int(catalogue.bytes.size()))
            || !QCoreApplication::installTranslator(catalogue.translator.get())) {
            qCWarning(lcStandIn).noquote() << "catalogue" << name << "cannot be loaded";
            continue;
        }
        qCDebug(lcStandIn).noquote() << "catalogue" << name << "installed";
        state.catalogues.push_back(std::move(catalogue));
    }
}

void useHostLanguage()
{
    useLanguage(hostLanguage());
}

} // namespace sharedservices
