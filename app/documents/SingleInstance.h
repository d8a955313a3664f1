#pragma once
// One running program per user and settings folder. A later launch hands
// its files to the running one and ends, so that its windows join the
// others (and cascade) instead of a second program stacking its own. A
// program with a settings folder of its own (a test) never meets another.

#include <QLocalServer>
#include <QObject>
#include <QStringList>

namespace gelcoat {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    // The server's name for this user and the current settings folder.
    static QString serverName();

    // True when a running program has taken files (an empty list asks it
    // for a new untitled window): this process should end. Relative paths
    // are made absolute here, where they were meant.
    static bool handOver(const QStringList& files, int timeoutMs = 3000);

    // Starts taking later launches' files; false when another server holds
    // the name.
    bool listen();

signals:
    // The files of a later launch, absolute; none for a bare launch.
    void filesArrived(const QStringList& files);

private:
    void takeConnection();

    QLocalServer server_;
};

} // namespace gelcoat
