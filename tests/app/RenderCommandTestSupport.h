#pragma once
// Running the real gelcoat-render in a folder of the test's own: with
// arguments as text (QProcess), or as bytes and under a shell's limits
// (posix_spawn), watching the child while it runs.

#include <gtest/gtest.h>

#include <QByteArrayList>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <functional>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

inline QCoreApplication& renderTestApp()
{
    static int argc = 1;
    static char name[] = "gelcoat-app-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

struct RenderRun {
    int exitCode = -1;
    QString out, err;
    int signal = 0;   // the signal that ended it, if one did
};

// A gelcoat-render started with posix_spawn: its standard output is a pipe
// the test reads (or closes), its standard error a file.
class SpawnedRender {
public:
    // shellSetup: shell commands run before the program (ulimit …), which
    // then replaces the shell with the same arguments.
    SpawnedRender(const QString& folder, const QByteArrayList& args,
                  const QByteArray& shellSetup = {})
    {
        if (!logs_.isValid() || ::pipe2(out_, O_CLOEXEC) != 0)
            return;
        const QByteArray errPath = QFile::encodeName(logs_.filePath(QStringLiteral("stderr")));
        const QByteArray cwd = QFile::encodeName(folder);
        QByteArrayList argv;
        if (!shellSetup.isEmpty())
            argv << "/bin/sh" << "-c" << shellSetup + "; exec \"$0\" \"$@\"";
        argv << GELCOAT_RENDER_BINARY;
        argv += args;
        std::vector<char*> pointers;
        for (QByteArray& a : argv)
            pointers.push_back(a.data());
        pointers.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out_[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, cwd.constData());
        // Default signal dispositions, as from a shell, whatever the test
        // process ignores.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigdefault(&attributes, &all);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        if (posix_spawn(&pid_, pointers[0], &actions, &attributes, pointers.data(), environ) != 0)
            pid_ = -1;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out_[1]);
        out_[1] = -1;
    }
    ~SpawnedRender()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        closeOutput();
    }
    SpawnedRender(const SpawnedRender&) = delete;
    SpawnedRender& operator=(const SpawnedRender&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // The next line of standard output; empty at its end.
    QByteArray readLine()
    {
        QByteArray line;
        char c = 0;
        while (out_[0] >= 0 && ::read(out_[0], &c, 1) == 1) {
            line += c;
            if (c == '\n')
                break;
        }
        return line;
    }
    void closeOutput()
    {
        if (out_[0] >= 0)
            ::close(out_[0]);
        out_[0] = -1;
    }

    // Stops the child (SIGSTOP) at a moment when one of its open files
    // satisfies found, given the file's path as /proc shows it, and leaves
    // it stopped: whatever is sent next falls on that moment. Tries for
    // 60 s at most; false when the child ended first.
    bool stopWithOpenFile(const std::function<bool(const QByteArray&)>& found)
    {
        for (int round = 0; round < 100000; ++round) {
            ::kill(pid_, SIGSTOP);
            siginfo_t state {};
            if (::waitid(P_PID, id_t(pid_), &state, WSTOPPED | WEXITED | WNOWAIT) != 0 ||
                state.si_code != CLD_STOPPED)
                return false;
            ::waitid(P_PID, id_t(pid_), &state, WSTOPPED);
            if (hasOpenFile(found))
                return true;
            ::kill(pid_, SIGCONT);
            QThread::usleep(500);
        }
        return false;
    }

    RenderRun finish()
    {
        QByteArray out;
        for (QByteArray line = readLine(); !line.isEmpty(); line = readLine())
            out += line;
        RenderRun run;
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_) {
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        }
        pid_ = -1;
        QFile err(logs_.filePath(QStringLiteral("stderr")));
        if (err.open(QIODevice::ReadOnly))
            run.err = QString::fromUtf8(err.readAll());
        run.out = QString::fromUtf8(out);
        return run;
    }

private:
    bool hasOpenFile(const std::function<bool(const QByteArray&)>& found) const
    {
        const QByteArray fds = "/proc/" + QByteArray::number(pid_) + "/fd";
        DIR* listing = ::opendir(fds.constData());
        bool seen = false;
        while (const dirent* entry = listing ? ::readdir(listing) : nullptr) {
            char target[4096];
            const QByteArray link = fds + '/' + entry->d_name;
            const ssize_t length = ::readlink(link.constData(), target, sizeof target);
            seen = seen || (length > 0 && found(QByteArray(target, length)));
        }
        if (listing)
            ::closedir(listing);
        return seen;
    }

    QTemporaryDir logs_;
    int out_[2] = {-1, -1};
    pid_t pid_ = -1;
};

class RenderCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        renderTestApp();
        ASSERT_TRUE(dir.isValid());
    }

    // fileSizeLimit: the largest file the process may write (RLIMIT_FSIZE),
    // so that a write fails as on a full disk; 0 for none.
    RenderRun render(const QStringList& args, rlim_t fileSizeLimit = 0)
    {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        if (fileSizeLimit)
            p.setChildProcessModifier([fileSizeLimit] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{fileSizeLimit, fileSizeLimit};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        p.start(QStringLiteral(GELCOAT_RENDER_BINARY), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    // Arguments as bytes (names that are not UTF-8), after shellSetup.
    RenderRun renderBytes(const QByteArrayList& args, const QByteArray& shellSetup = {})
    {
        SpawnedRender child(dir.path(), args, shellSetup);
        EXPECT_TRUE(child.started());
        return child.finish();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray nativePath(const QByteArray& name) const
    {
        return QFile::encodeName(dir.path()) + '/' + name;
    }
    QByteArray read(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};
