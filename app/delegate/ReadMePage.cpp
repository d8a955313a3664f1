#include "app/delegate/ReadMePage.h"

#include "app/delegate/AppLog.h"
#include "document/io/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace gelcoat {

const char* const readMeResource = ":/readme/ReadMe.html";

QString readMePagePath(const QString& folder)
{
    QFile resource(QString::fromLatin1(readMeResource));
    if (!resource.open(QIODevice::ReadOnly)) {
        qCWarning(lcApp, "The read-me page is missing from the resources");
        return {};
    }
    const QByteArray page = resource.readAll();

    const QDir dir(folder.isEmpty()
                       ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                       : folder);
    const QString path = dir.filePath(QStringLiteral("Read Me.html"));
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == page)
        return path;

    if (!dir.mkpath(QStringLiteral(".")) || !writeFileAtomically(path, page)) {
        qCWarning(lcApp, "Cannot write the read-me page to %s", qPrintable(path));
        return {};
    }
    return path;
}

} // namespace gelcoat
