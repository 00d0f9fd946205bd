#pragma once

#include <QProcess>
#include <QStringList>

namespace korvan {

// A helper program (LibreOffice) run in a process group of its own, so that it and whatever it
// starts can be ended together: on cancel, on a timeout, when the object goes, and when this
// program is ended by a signal. Nothing it starts outlives the command that needed it.
class ChildProcessGroup {
public:
    ChildProcessGroup();
    ~ChildProcessGroup();
    ChildProcessGroup(const ChildProcessGroup &) = delete;
    ChildProcessGroup &operator=(const ChildProcessGroup &) = delete;

    QProcess &process() { return m_process; }
    // Starts the program as the leader of a new group; false when it could not be started.
    bool start(const QString &program, const QStringList &arguments, int startMs = 30000);
    // Asks the whole group to end, then kills what is left of it; waits for the leader.
    void end();
    // The group's id while it may still run, else 0.
    qint64 groupId() const { return m_group; }

    // Kills every group still registered; safe in a signal handler.
    static void killAllFromSignal() noexcept;
    // SIGTERM, SIGHUP and SIGQUIT kill the groups before the program ends as the signal would
    // end it (the window program; the command-line program has its own Ctrl+C handling).
    static void installTerminationCleanup();
    // How many groups this program still has registered (tests).
    static int registeredGroups();

private:
    QProcess m_process;
    qint64 m_group = 0;
};

} // namespace korvan
