#pragma once
// orvista-cli as a separate process: limits, another user, a closed standard
// output, signals; its exit status, its messages and its peak memory.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "synthetic_rom.h"

namespace orv::test {

struct Launch {
    std::vector<std::string> args; // after the program's name
    std::vector<std::string> env;  // NAME=value, added to this process's
    rlim_t fileSizeLimit = RLIM_INFINITY;
    rlim_t memoryLimit = RLIM_INFINITY; // address space
    rlim_t fileLimit = 0;               // open files; 0: as inherited
    std::optional<uid_t> user = {};     // run as this user (and group), when the test is root
    bool stdoutClosed = false;          // standard output a pipe nobody reads
};

struct Outcome {
    int code = -1;   // exit status; -1 when killed or timed out
    int signal = 0;  // the signal that ended it
    bool timedOut = false;
    long peakKb = 0; // largest resident size
    std::string err;
};

class Child {
public:
    Child(const Launch& launch, const std::filesystem::path& errFile) : errFile_(errFile)
    {
        std::vector<std::string> words{ORV_CLI_PATH};
        words.insert(words.end(), launch.args.begin(), launch.args.end());
        std::vector<std::string> env = launch.env;
        // A sanitizer runtime would refuse a library preloaded before it.
        const char* asan = std::getenv("ASAN_OPTIONS");
        env.push_back(std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":verify_asan_link_order=0");
        for (char** e = environ; *e; ++e)
            env.emplace_back(*e);
        std::vector<char*> argv, envp;
        for (auto& w : words)
            argv.push_back(w.data());
        for (auto& e : env)
            envp.push_back(e.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        int pipe[2] = {-1, -1};
        if (launch.stdoutClosed && ::pipe2(pipe, O_CLOEXEC) != 0)
            pipe[0] = pipe[1] = -1;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(err, 2);
            if (launch.stdoutClosed) {
                ::dup2(pipe[1], 1);
            } else {
                const int null = ::open("/dev/null", O_WRONLY);
                ::dup2(null, 1);
            }
            for (int resource : {RLIMIT_FSIZE, RLIMIT_AS}) {
                const rlim_t value = resource == RLIMIT_FSIZE ? launch.fileSizeLimit : launch.memoryLimit;
                const rlimit limit{value, value};
                ::setrlimit(resource, &limit);
            }
            if (launch.fileLimit) {
                const rlimit limit{launch.fileLimit, launch.fileLimit};
                ::setrlimit(RLIMIT_NOFILE, &limit);
            }
            if (launch.user && (::setgroups(0, nullptr) != 0 || ::setgid(*launch.user) != 0 ||
                                ::setuid(*launch.user) != 0))
                ::_exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(err);
        // Nobody reads the pipe: writes into it fail.
        for (int end : pipe)
            if (end >= 0)
                ::close(end);
    }

    void signal(int number) { ::kill(pid_, number); }
    void kill() { signal(SIGKILL); }

    // Waits; a process still running after `timeout` is killed.
    Outcome wait(std::chrono::milliseconds timeout = std::chrono::seconds(20))
    {
        Outcome outcome;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        int status = 0;
        rusage usage{};
        while (::wait4(pid_, &status, WNOHANG, &usage) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill();
                ::wait4(pid_, &status, 0, &usage);
                outcome.timedOut = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (WIFEXITED(status))
            outcome.code = WEXITSTATUS(status);
        if (WIFSIGNALED(status))
            outcome.signal = WTERMSIG(status);
        outcome.peakKb = usage.ru_maxrss;
        const std::vector<uint8_t> err = ReadFileBytes(errFile_);
        outcome.err.assign(err.begin(), err.end());
        return outcome;
    }

private:
    pid_t pid_ = -1;
    std::filesystem::path errFile_;
};

} // namespace orv::test
