// What the data-access benchmarks share: the large orders database and the process's memory.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// The large database, built on first use through its target when it is not there yet.
inline const std::string& LargeOrdersFile() {
    static const std::string path = [] {
        if (!std::filesystem::exists(QOR_LARGE_ORDERS_DB)) {
            const std::string build =
                "cmake --build \"" QOR_BINARY_DIR "\" --target qor_large_orders_db";
            if (std::system(build.c_str()) != 0) {  // NOLINT(concurrency-mt-unsafe)
                std::abort();
            }
        }
        return std::string(QOR_LARGE_ORDERS_DB);
    }();
    return path;
}

// Megabytes of a "VmRSS:" or "VmHWM:" line of /proc/self/status.
inline double StatusMegabytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string name;
    double kilobytes = 0;
    while (status >> name) {
        if (name == key) {
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}
