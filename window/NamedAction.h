#pragma once
// Menu commands are found by their object names (menus, shortcut lists and
// tests look them up), so every command action is made through this one
// function.

#include <QAction>
#include <QKeySequence>

namespace gelcoat {

inline QAction* namedAction(QObject* owner, const QString& text, const char* name,
                            const QKeySequence& keys = {})
{
    auto* action = new QAction(text, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    return action;
}

} // namespace gelcoat
