#include "resources/ViewImages.h"

#include <QFile>
#include <QGuiApplication>

namespace gelcoat {

Q_LOGGING_CATEGORY(lcViews, "gelcoat.views")

QPixmap loadViewImage(const QString& folder, const QString& name)
{
    const QString base = QStringLiteral(":/images/%1/%2").arg(folder, name);
    const QString dense = base + QStringLiteral("@2x.png");
    if (qApp && qApp->devicePixelRatio() > 1.0 && QFile::exists(dense)) {
        QPixmap pixmap(dense);
        if (!pixmap.isNull()) {
            pixmap.setDevicePixelRatio(2.0);
            return pixmap;
        }
    }
    QPixmap pixmap(base + QStringLiteral(".png"));
    if (pixmap.isNull())
        qCWarning(lcViews) << "The picture" << name << "is missing from the program's resources";
    return pixmap;
}

} // namespace gelcoat
