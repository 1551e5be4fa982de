// The item list's ordering rule and the design file's reader and writer.
#include "controls/common/design.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

#include "controls/common/read_only_file.h"

bool GoesToFront(const DesignItem& item) {
    return item.kind >= kStaticText && item.kind <= kVerticalLine;
}

int HitTest(const std::vector<DesignItem>& items, POINT point) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (PtInRect(items[i].rect, point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

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
    // Only files of a plausible size are read, so a huge file cannot exhaust memory.
    const std::optional<ReadOnlyFile> opened = OpenReadOnlyFile(path);
    if (!opened || opened->size / kDesignItemRecordSize > kMaxDesignRecords) {
        return std::nullopt;
    }
    std::FILE* file = opened->file.get();
    const auto records = static_cast<std::size_t>(opened->size / kDesignItemRecordSize);
    std::vector<DesignItem> items;
    items.reserve(records);
    DesignItemRecord record{};
    // A file growing while it is read gives no more than it held when it was opened.
    while (items.size() < records &&
           std::fread(record.data(), 1, record.size(), file) == record.size()) {
        items.push_back(ReadDesignItemRecord(record));
    }
    return Design::FromFileOrder(std::move(items));
}

bool WriteDesignFile(const std::string& path, const Design& design) {
    // The new file is renamed over the old one, which would replace a file nobody may write.
    if (IsWriteProtectedFile(path)) {
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    fchmod(fd, 0644);
    FilePtr file(fdopen(fd, "wb+"));
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
