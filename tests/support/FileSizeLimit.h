#pragma once

#include <csignal>
#include <functional>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `work` in a child process whose files cannot grow past `limitBytes`, which is how a
// full disk looks to a writer: the write that reaches the limit stores what fits, the next one
// fails (EFBIG). SIGXFSZ is ignored so that the failing write returns instead of killing the
// child. Needs no root and no real full disk. Gives the text `work` returned, or nothing when
// the child did not end normally.
inline std::optional<std::string> RunWithFileSizeLimit(rlim_t limitBytes,
                                                       const std::function<std::string()> &work)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string text = work();
        // A pipe is not a file: the size limit does not apply to it.
        const bool sent =
            ::write(pipeEnds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}
