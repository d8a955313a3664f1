#include "app/documents/OpenPanels.h"

#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"

#include <QDir>
#include <QFileDialog>

namespace gelcoat {

namespace {

QString startingFolder()
{
    const QString last =
        UserDefaults::standard().objectForKey(QString::fromLatin1(lastOpenDirKey)).toString();
    if (!last.isEmpty() && QDir(last).exists())
        return last;
    return QDir::home().filePath(QStringLiteral("Documents"));
}

QStringList runPanel(const QString& objectName, const QString& title, const QString& filter,
                     QFileDialog::FileMode mode)
{
    QFileDialog panel(nullptr, title, startingFolder(), filter);
    panel.setObjectName(objectName);
    panel.setWindowModality(Qt::ApplicationModal);
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setFileMode(mode);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return {};
    UserDefaults::standard().setString(QString::fromLatin1(lastOpenDirKey),
                                       panel.directory().absolutePath());
    return panel.selectedFiles();
}

} // namespace

QStringList runDocumentOpenPanel()
{
    return runPanel(QStringLiteral("documentOpenPanel"), QFileDialog::tr("Open"),
                    QFileDialog::tr("Gelcoat documents (*.gelcoat)"),
                    QFileDialog::ExistingFiles);
}

} // namespace gelcoat
