#include "app/documents/RecentDocuments.h"

#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace gelcoat {

namespace {
const QString kRecentDocumentsKey = QStringLiteral("RecentDocuments");
}

QStringList RecentDocuments::paths()
{
    return QSettings().value(kRecentDocumentsKey).toStringList();
}

void RecentDocuments::add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMaximum)
        list.removeLast();
    QSettings().setValue(kRecentDocumentsKey, list);
}

void RecentDocuments::clear()
{
    QSettings().remove(kRecentDocumentsKey);
}

void RecentDocuments::fillMenu(QMenu* menu, const std::function<void(const QString&)>& open)
{
    menu->clear();
    const QStringList list = paths();
    for (const QString& path : list) {
        // The name alone, as the window titles show it; the folder in the tip.
        QAction* item = menu->addAction(QFileInfo(path).fileName());
        item->setToolTip(path);
        item->setEnabled(QFileInfo::exists(path));
        QObject::connect(item, &QAction::triggered, menu, [open, path] { open(path); });
    }
    menu->addSeparator();
    QAction* clearItem = menu->addAction(QMenu::tr("Clear Menu"));
    clearItem->setObjectName(QStringLiteral("clearRecentDocuments"));
    clearItem->setEnabled(!list.isEmpty());
    QObject::connect(clearItem, &QAction::triggered, menu, [] { RecentDocuments::clear(); });
}

} // namespace gelcoat
