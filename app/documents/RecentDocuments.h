#pragma once
// The documents opened or saved lately, newest first, kept in the user's
// settings for the Open Recent menu.

#include <QString>
#include <QStringList>

#include <functional>

class QMenu;

namespace gelcoat {

class RecentDocuments {
public:
    static constexpr int kMaximum = 10;

    static QStringList paths();
    // Puts path first, once.
    static void add(const QString& path);
    static void clear();

    // Refills menu: one item per document (open runs with its path), then
    // Clear Menu.
    static void fillMenu(QMenu* menu, const std::function<void(const QString&)>& open);
};

} // namespace gelcoat
