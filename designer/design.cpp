// The item list's ordering rule and the design file's reader and writer.
#include "designer/design.h"

#include <cstdio>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

void Design::Insert(DesignItem item)
{
    if (item.kind >= kStaticText && item.kind <= kVerticalLine) {
        m_items.insert(m_items.begin(), std::move(item));
    } else {
        m_items.push_back(std::move(item));
    }
}

std::optional<Design> ReadDesignFile(const std::string& path)
{
    const File file(std::fopen(path.c_str(), "rb+"));
    if (!file) {
        return std::nullopt;
    }
    Design design;
    DesignItemRecord record{};
    while (std::fread(record.data(), 1, record.size(), file.get()) == record.size()) {
        design.Insert(ReadDesignItemRecord(record));
    }
    return design;
}

bool WriteDesignFile(const std::string& path, const Design& design)
{
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
    bool ok = true;
    for (const DesignItem& item : design.Items()) {
        const DesignItemRecord record = WriteDesignItemRecord(item);
        ok = ok && std::fwrite(record.data(), 1, record.size(), file.get()) == record.size();
    }
    ok = ok && std::fflush(file.get()) == 0 && fsync(fileno(file.get())) == 0;
    ok = std::fclose(file.release()) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
    }
    return ok;
}
