#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

// How a child process ran: its wall time and its own peak resident memory.
struct ChildRun {
    bool ok = false; // started and exited with status 0
    double seconds = 0;
    double peakMiB = 0;
};

// The peak resident memory of process `pid` so far in MiB (VmHWM); 0 once it has gone.
inline double PeakOfProcessMiB(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Runs `program` (looked up on PATH) with `args`, its output going nowhere, and waits for it.
// Its peak memory is read from /proc while it runs: the kernel's own account of a child
// starts from the memory of the process that spawned it.
inline ChildRun RunChild(const QString& program, const QStringList& args) {
    constexpr int kSampleMs = 5;
    std::vector<QByteArray> storage{QFile::encodeName(program)};
    for (const QString& arg : args)
        storage.push_back(QFile::encodeName(arg));
    std::vector<char*> argv;
    for (QByteArray& arg : storage)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            break;
        if (ended < 0)
            return run;
        run.peakMiB = std::max(run.peakMiB, PeakOfProcessMiB(pid));
        usleep(kSampleMs * 1000);
    }
    run.seconds = clock.nsecsElapsed() / 1e9;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace bench
