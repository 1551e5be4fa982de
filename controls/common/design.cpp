// The item list's ordering rule and the design file's reader and writer.
#include "controls/common/design.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct FileCloser {
    // The unique_ptr below is the owner the check asks for.
    void operator()(std::FILE* f) const {
        std::fclose(f);  // NOLINT(cppcoreguidelines-owning-memory)
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

namespace {
bool GoesToFront(const DesignItem& item) {
    return item.kind >= kStaticText && item.kind <= kVerticalLine;
}
}  // namespace

void Design::Insert(DesignItem item) {
    if (GoesToFront(item)) {
        m_items.insert(m_items.begin(), std::move(item));
    } else {
        m_items.push_back(std::move(item));
    }
}

Design Design::FromFileOrder(std::vector<DesignItem> items) {
    // Inserting each at the front reverses the front kinds; a stable partition and one
    // reversal give the same list without moving the items once per insertion.
    const auto back = std::stable_partition(items.begin(), items.end(), GoesToFront);
    std::reverse(items.begin(), back);
    Design design;
    design.m_items = std::move(items);
    return design;
}

std::optional<Design> ReadDesignFile(const std::string& path) {
    // Without blocking, so that opening a FIFO does not wait for a writer; only regular files
    // of a plausible size are read, so a device or a huge file cannot exhaust memory.
    const int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat status {};
    const bool readable = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                          status.st_size / kDesignItemRecordSize <= kMaxDesignRecords;
    const File file(readable ? fdopen(fd, "rb+") : nullptr);
    if (!file) {
        close(fd);
        return std::nullopt;
    }
    const auto records = static_cast<std::size_t>(status.st_size) / kDesignItemRecordSize;
    std::vector<DesignItem> items;
    items.reserve(records);
    DesignItemRecord record{};
    // A file growing while it is read gives no more than it held when it was opened.
    while (items.size() < records &&
           std::fread(record.data(), 1, record.size(), file.get()) == record.size()) {
        items.push_back(ReadDesignItemRecord(record));
    }
    return Design::FromFileOrder(std::move(items));
}

bool WriteDesignFile(const std::string& path, const Design& design) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    fchmod(fd, 0644);
    File file(fdopen(fd, "wb+"));
    if (!file) {
        close(fd);
        std::remove(temporary.c_str());
        return false;
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(design.Items().size() * kDesignItemRecordSize);
    for (const DesignItem& item : design.Items()) {
        const DesignItemRecord record = WriteDesignItemRecord(item);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    bool ok =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    ok = ok && std::fflush(file.get()) == 0 && fsync(fileno(file.get())) == 0;
    ok = std::fclose(file.release()) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
    }
    return ok;
}
