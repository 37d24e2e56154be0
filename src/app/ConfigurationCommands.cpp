#include "app/ConfigurationCommands.h"

#include "app/CommandLine.h"
#include "app/frmMain.h"
#include "config/ConfigurationFile.h"
#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "selection/frmFIPS.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

namespace {

Platform::SaveDialogRequest configurationDialog(QWidget *parent, const QString &title)
{
    Platform::SaveDialogRequest request;
    request.parent = parent;
    request.title = title;
    request.directory = QDir::currentPath();
    request.nameFilter = kConfigurationFileFilter;
    request.defaultSuffix = kConfigurationFileSuffix;
    request.confirmOverwrite = true;
    return request;
}

} // namespace

void saveConfigurationFileAs(QWidget *parent)
{
    QString path = Platform::askSaveFileName(configurationDialog(parent, QStringLiteral("Save Configuration File As")));
    if (path.isEmpty())
        return; // cancelled
    if (QFileInfo(path).suffix().compare(kConfigurationFileSuffix, Qt::CaseInsensitive) != 0)
        path += u'.' + kConfigurationFileSuffix;
    const QString error = writeConfigurationFile(path, currentConfiguration());
    if (!error.isEmpty())
        showProgramMessage(QStringLiteral("The configuration file %1 was not written:\n\n%2")
                               .arg(QDir::toNativeSeparators(path), error),
                           QMessageBox::Ok, QMessageBox::Warning);
}

void openConfigurationFile(QWidget *parent)
{
    const QString path = Platform::askOpenFileName(configurationDialog(parent, QStringLiteral("Open Configuration File")));
    if (!path.isEmpty())
        openConfigurationPath(path);
}

bool openConfigurationPath(const QString &path)
{
    const ConfigurationParse parsed = readConfigurationFile(path);
    if (!parsed.ok) {
        const QString where = parsed.line > 0 ? QStringLiteral("Line %1: ").arg(parsed.line) : QString();
        showProgramMessage(QStringLiteral("The configuration file %1 cannot be opened.\n\n%2%3\n\nNothing was changed.")
                               .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), where, parsed.error),
                           QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    ConfigurationContent content = parsed.content;
    // The version of the editor is this program's own, whoever saved the file.
    content.record.EDITOR.EditorVersion = editorVersion();
    applyConfiguration(content);
    initStateSelection();
    fillFipsListBox();
    if (frmMain *main = frmMain::instance())
        main->mnuTipsShow->setChecked(ReceiverConfig.EDITOR.ShowTipsAtStartup);
    return true;
}
