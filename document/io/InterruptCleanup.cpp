#include "document/io/InterruptCleanup.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#include <unistd.h>

namespace gelcoat {

// A list that a signal handler can walk while other threads change it: it
// may neither lock nor allocate. Entries are only ever added at the head
// and never freed; a freed entry is reused by the next name that fits, so
// the list is as long as the most names ever listed at once.
struct ListedNameEntry {
    enum State { Free, Claimed, Listed };
    std::atomic<int> state{Free};
    std::atomic<ListedNameEntry*> next{nullptr};
    std::size_t capacity = 0;
    char* path = nullptr;
};

namespace {

std::atomic<ListedNameEntry*> listHead{nullptr};
// Set by the first terminating signal: no name is listed after it.
std::atomic<bool> ending{false};
// Threads between their check of `ending` and the creation of their file,
// and whether this thread is one of them (the handler may interrupt it).
std::atomic<int> creating{0};
thread_local int creatingHere __attribute__((tls_model("initial-exec"))) = 0;

// Long enough for a file system to finish making a file; a thread stuck
// longer is not waited for.
constexpr int kCreationWaitMilliseconds = 5000;

class CreationScope {
public:
    CreationScope()
    {
        ++creatingHere;
        ++creating;
    }
    ~CreationScope()
    {
        --creating;
        --creatingHere;
    }
};

ListedNameEntry* claimEntry(std::size_t length)
{
    for (ListedNameEntry* e = listHead.load(); e; e = e->next.load()) {
        int expected = ListedNameEntry::Free;
        if (e->capacity > length &&
            e->state.compare_exchange_strong(expected, ListedNameEntry::Claimed))
            return e;
    }
    auto* e = new ListedNameEntry;
    e->capacity = std::max<std::size_t>(length + 1, 256);
    e->path = new char[e->capacity];
    e->state.store(ListedNameEntry::Claimed);
    ListedNameEntry* head = listHead.load();
    do
        e->next.store(head);
    while (!listHead.compare_exchange_weak(head, e));
    return e;
}

void waitForCreations()
{
    const timespec millisecond{0, 1000000};
    for (int waited = 0; creating.load() > creatingHere && waited < kCreationWaitMilliseconds;
         ++waited)
        ::nanosleep(&millisecond, nullptr);
}

extern "C" void removeListedAndEnd(int signal)
{
    const int savedErrno = errno;
    ending.store(true);
    waitForCreations();
    for (ListedNameEntry* e = listHead.load(); e; e = e->next.load())
        if (e->state.load() == ListedNameEntry::Listed)
            ::unlink(e->path);
    struct sigaction original {};
    original.sa_handler = SIG_DFL;
    ::sigaction(signal, &original, nullptr);
    errno = savedErrno;
    // Delivered once this handler returns, with the signal's own effect.
    ::raise(signal);
}

} // namespace

int ListedName::listAndCreate(const QByteArray& path, const std::function<int()>& create)
{
    unlist();
    const CreationScope scope;
    if (ending.load()) {
        errno = EINTR;
        return -1;
    }
    entry_ = claimEntry(std::size_t(path.size()));
    std::memcpy(entry_->path, path.constData(), std::size_t(path.size()) + 1);
    entry_->state.store(ListedNameEntry::Listed);
    return create();
}

void ListedName::unlist()
{
    if (entry_)
        entry_->state.store(ListedNameEntry::Free);
    entry_ = nullptr;
}

void removeFilesInProgressOnTermination()
{
    struct sigaction handler {};
    handler.sa_handler = removeListedAndEnd;
    sigemptyset(&handler.sa_mask);
    const int terminating[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ};
    // One handler at a time: a second signal waits for the first's cleanup.
    for (const int signal : terminating)
        sigaddset(&handler.sa_mask, signal);
    for (const int signal : terminating) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::sigaction(signal, &handler, nullptr);
    }
}

} // namespace gelcoat
