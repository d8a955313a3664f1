#include "app/delegate/ManualPage.h"

#include <QDir>
#include <QFileInfo>

namespace gelcoat {

QString installedManualPath(const QString& programFolder)
{
    const QFileInfo page(QDir(programFolder)
                             .filePath(QStringLiteral("../share/gelcoat/manual/GelcoatManual.html")));
    return page.isFile() ? page.canonicalFilePath() : QString();
}

QUrl manualUrl(const QString& programFolder, const QUrl& webSite)
{
    const QString installed = installedManualPath(programFolder);
    if (!installed.isEmpty())
        return QUrl::fromLocalFile(installed);
    return webSite.resolved(QUrl(QStringLiteral("software/GelcoatManual.html")));
}

} // namespace gelcoat
