#include "core/ChildProcessGroup.h"

#include <atomic>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace korvan {

namespace {

// The registry a signal handler reads: plain atomics, no allocation, no lock.
constexpr int Slots = 32;
std::atomic<pid_t> groups[Slots];

void registerGroup(pid_t group)
{
    for (auto &slot : groups) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, group))
            return;
    }
}

void unregisterGroup(pid_t group)
{
    for (auto &slot : groups) {
        pid_t expected = group;
        if (slot.compare_exchange_strong(expected, 0))
            return;
    }
}

extern "C" void onTermination(int signal)
{
    ChildProcessGroup::killAllFromSignal();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

ChildProcessGroup::ChildProcessGroup()
{
    m_process.setChildProcessModifier([] {
        // In the child between fork and exec: only async-signal-safe calls.
        ::setpgid(0, 0);
#ifdef __linux__
        // Should this program die without its clean-up (SIGKILL), the helper goes with it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    });
}

ChildProcessGroup::~ChildProcessGroup() { end(); }

bool ChildProcessGroup::start(const QString &program, const QStringList &arguments, int startMs)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.start();
    if (!m_process.waitForStarted(startMs)) {
        end();
        return false;
    }
    m_group = m_process.processId();
    registerGroup(pid_t(m_group));
    return true;
}

void ChildProcessGroup::end()
{
    if (m_group > 0) {
        const auto group = pid_t(m_group);
        // The leader may be gone while what it started still runs: the group is ended either way.
        if (::killpg(group, SIGTERM) == 0 && m_process.state() != QProcess::NotRunning)
            m_process.waitForFinished(2000);
        ::killpg(group, SIGKILL);
        unregisterGroup(group);
        m_group = 0;
    }
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void ChildProcessGroup::killAllFromSignal() noexcept
{
    for (auto &slot : groups) {
        const pid_t group = slot.load();
        if (group > 0)
            ::killpg(group, SIGKILL);
    }
}

void ChildProcessGroup::installTerminationCleanup()
{
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGHUP, SIGQUIT})
        sigaction(signal, &action, nullptr);
}

int ChildProcessGroup::registeredGroups()
{
    int n = 0;
    for (const auto &slot : groups)
        n += slot.load() > 0 ? 1 : 0;
    return n;
}

} // namespace korvan
