#include "diagnostics/HelpBook.h"

#include "core/Platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QStandardPaths>

namespace {

const QString kStampKey = QStringLiteral("OrvaneHelpFile");

// Which help file the collection was built from: its path, size and time of change.
QString helpFileStamp(const QFileInfo &file)
{
    return file.absoluteFilePath() + u'|' + QString::number(file.size()) + u'|'
           + QString::number(file.lastModified().toMSecsSinceEpoch());
}

} // namespace

QString helpFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Help/") + kHelpFileName;
}

QUrl helpPageUrl(const QString &page)
{
    return QUrl(QStringLiteral("qthelp://%1/%2/%3").arg(kHelpNamespace, kHelpFolder, page));
}

void showHelpContents()
{
    Platform::showHelp({helpFilePath(), HelpCommand::Contents, QString()});
}

void showHelpSearch()
{
    Platform::showHelp({helpFilePath(), HelpCommand::PartialKey, QString()});
}

QString helpCollectionPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/orvane-editor");
    return folder + QStringLiteral("/help/orvane.qhc");
}

QString prepareHelpCollection(const QString &helpFile, const QString &collection, bool *rebuilt)
{
    if (rebuilt)
        *rebuilt = false;
    const QFileInfo file(helpFile);
    if (!file.isFile())
        return QStringLiteral("The help file is missing.");
    const QString space = QHelpEngineCore::namespaceName(file.absoluteFilePath());
    if (space.isEmpty())
        return QStringLiteral("The help file cannot be read; it may be damaged.");

    const QFileInfo place(collection);
    const QString folder = place.absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("There is no place to keep the help index: ") + folder;

    const QString stamp = helpFileStamp(file);
    {
        QHelpEngineCore core(place.absoluteFilePath());
        core.setReadOnly(false);
        if (core.setupData() && core.customValue(kStampKey).toString() == stamp
            && core.registeredDocumentations() == QStringList{space})
            return QString();
    }

    // Another or a changed help file: start again from an empty collection, and drop the
    // full-text index the engine keeps beside it, so that no index of older pages survives.
    QFile::remove(place.absoluteFilePath());
    QDir(folder + QStringLiteral("/.") + place.completeBaseName()).removeRecursively();
    QHelpEngineCore core(place.absoluteFilePath());
    core.setReadOnly(false);
    if (!core.setupData())
        return QStringLiteral("The help index cannot be made. ") + core.error();
    if (!core.registerDocumentation(file.absoluteFilePath()))
        return QStringLiteral("The help file cannot be read; it may be damaged. ") + core.error();
    core.setCustomValue(kStampKey, stamp);
    if (rebuilt)
        *rebuilt = true;
    return QString();
}
