// Opening layout files for reading only.
#include "controls/common/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<ReadOnlyFile> OpenReadOnlyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat status {};
    FilePtr file;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        file.reset(::fdopen(fd, "rb"));
    }
    if (!file) {
        ::close(fd);
        return std::nullopt;
    }
    return ReadOnlyFile{std::move(file), static_cast<std::uintmax_t>(status.st_size)};
}

bool IsWriteProtectedFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}
