#pragma once
// One running program per user and settings folder. A later launch hands
// its files to the running one and ends, so that its windows join the
// others (and cascade) instead of a second program stacking its own. A
// program with a settings folder of its own (a test) never meets another.
// The hand-over is confirmed by the launch before the running program opens
// anything, so that a file never opens in both.

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QStringList>

#include <optional>

namespace gelcoat {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    // The server's name for this user and the current settings folder.
    static QString serverName();

    // True when a running program has taken files (an empty list asks it
    // for a new untitled window): this process should end. False when none
    // answered within timeoutMs; that program then opens nothing of these,
    // even when it reads the request later. Relative paths are made
    // absolute here, where they were meant.
    static bool handOver(const QStringList& files, int timeoutMs = 3000);

    // Starts taking later launches' files; false when another server holds
    // the name.
    bool listen();

signals:
    // The files of a later launch, absolute; none for a bare launch.
    void filesArrived(const QStringList& files);

private:
    // One launch's request: the files once read, and whether it has ended.
    struct PendingHandOver {
        std::optional<QStringList> files;
        bool finished = false;
    };

    void takeConnection();
    void readHandOver(QLocalSocket& socket, PendingHandOver& handOver);

    QLocalServer server_;
};

} // namespace gelcoat
