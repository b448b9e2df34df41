// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the fault-injection tests: write(2), fsync(2) and rename(2)
// fail on chosen files as on a full or failing disk, and pass through
// otherwise. Unarmed, each call costs one atomic load.

#include "FaultShim.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

enum Operation { writeCall, fsyncCall, renameCall, operationCount };

struct Armed {
    std::string pathPart;
    int error = 0;
    int remaining = 0;
};

std::mutex mutex;
std::array<Armed, operationCount> armed;
std::array<std::atomic<bool>, operationCount> active{};
std::atomic<int> injected{0};

template <class Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

std::string pathOf(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t length = ::readlink(link, target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

// Whether this call is to fail; sets errno when it is.
bool fails(Operation operation, const std::string& first, const std::string& second = {})
{
    if (!active[operation].load(std::memory_order_relaxed)) {
        return false;
    }
    const std::lock_guard lock(mutex);
    Armed& fault = armed[operation];
    const bool matches = first.find(fault.pathPart) != std::string::npos ||
                         (!second.empty() && second.find(fault.pathPart) != std::string::npos);
    if (fault.remaining <= 0 || !matches) {
        return false;
    }
    if (--fault.remaining == 0) {
        active[operation] = false;
    }
    ++injected;
    errno = fault.error;
    return true;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void quillmere_fault_arm(const char* operation, const char* pathPart,
                                                                 int error, int count)
{
    const Operation which = std::strcmp(operation, "write") == 0   ? writeCall
                            : std::strcmp(operation, "fsync") == 0 ? fsyncCall
                                                                   : renameCall;
    const std::lock_guard lock(mutex);
    armed[which] = Armed{pathPart, error, count};
    active[which] = count > 0;
}

__attribute__((visibility("default"))) int quillmere_faults_injected()
{
    return injected;
}

ssize_t write(int fd, const void* buffer, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (active[writeCall].load(std::memory_order_relaxed) && fails(writeCall, pathOf(fd))) {
        return -1;
    }
    return real(fd, buffer, size);
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    if (active[fsyncCall].load(std::memory_order_relaxed) && fails(fsyncCall, pathOf(fd))) {
        return -1;
    }
    return real(fd);
}

int rename(const char* from, const char* to)
{
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    if (active[renameCall].load(std::memory_order_relaxed) && fails(renameCall, from, to)) {
        return -1;
    }
    return real(from, to);
}

} // extern "C"
