// A disk that fills up: a small tmpfs of a child process's own, for tests
// of what a full disk leaves behind.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

constexpr int NO_SMALL_DISK = 77;

inline bool WriteProcFile(const char* path, const std::string& text) {
    std::ofstream file(path);
    return bool(file << text << std::flush);
}

// Runs body in a child process in which folder is a tmpfs of the given size
// ("8k", "64k") of its own; returns the child's status: what body returned,
// or NO_SMALL_DISK when this system lets no process mount one.
inline int OnASmallDisk(const std::filesystem::path& folder, const std::string& size,
                        const std::function<int()>& body) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    const pid_t child = ::fork();
    if (child == 0) {
        // A user namespace of its own lets even an unprivileged process mount.
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
            !WriteProcFile("/proc/self/setgroups", "deny") ||
            !WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1") ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tavo", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) != 0) {
            ::_exit(NO_SMALL_DISK);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
