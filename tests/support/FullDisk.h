#pragma once

#include <csignal>
#include <sys/resource.h>

namespace seikyu::test {

/// Lowers the largest file this process may write, which fails writes the way a full disk does (and, unlike
/// permissions, also for root); SIGXFSZ is ignored meanwhile so that the write fails instead of killing the process.
class FullDisk
{
public:
    explicit FullDisk(rlim_t bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

} // namespace seikyu::test
