// Design files that readers must survive: seeded records with extreme values and garbage
// strings, and paths that hold no design at all (a device, a FIFO, a file past the size limit).
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "controls/common/design.h"

// Values that break arithmetic written for plausible ones.
inline constexpr std::int32_t kExtremeValues[] = {
    std::numeric_limits<std::int32_t>::min(),
    std::numeric_limits<std::int32_t>::min() + 1,
    -kCoordinateLimit - 1,
    -kCoordinateLimit,
    -1,
    0,
    1,
    5,
    10,
    255,
    kNoTabStop,
    kCoordinateLimit,
    kCoordinateLimit + 1,
    std::numeric_limits<std::int32_t>::max() - 1,
    std::numeric_limits<std::int32_t>::max(),
};

// Files of 1 to 12 records whose every field is, by turns, extreme, plausible or garbage; the
// same seed gives the same files.
class CDesignFileGenerator {
  public:
    explicit CDesignFileGenerator(std::uint32_t seed) : m_random(seed) {}

    void WriteNext(const std::string& path) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        const std::uint32_t count = 1 + Below(12);
        for (std::uint32_t i = 0; i < count; ++i) {
            const DesignItemRecord record = NextRecord();
            out.write(reinterpret_cast<const char*>(record.data()),  // NOLINT: raw bytes
                      static_cast<std::streamsize>(record.size()));
        }
    }

  private:
    // Where the string fields of a record start.
    static constexpr std::size_t kNameAt = 16;
    static constexpr std::size_t kTextAt = kNameAt + kNameFieldSize;
    static constexpr std::size_t kMaskAt = kTextAt + kTextFieldSize;

    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(m_random() % n); }

    std::int32_t Extreme() { return kExtremeValues[Below(std::size(kExtremeValues))]; }

    // Half extreme, half on or near an 800 x 600 canvas so that clicks find the items.
    std::int32_t Coordinate() {
        return Below(2) == 0 ? Extreme() : static_cast<std::int32_t>(Below(840)) - 20;
    }

    // Extreme, or one of the values the field is meant to hold.
    std::int32_t Code(std::int32_t lowest, std::int32_t highest) {
        if (Below(3) == 0) {
            return Extreme();
        }
        return lowest +
               static_cast<std::int32_t>(Below(static_cast<std::uint32_t>(highest - lowest + 1)));
    }

    std::string Text() {
        static const char* const kPlausible[] = {
            "", "name", "city", "CREDIT_LIMIT", "active", "Label:", "##/##/####", "(999) &&&-AAAA"};
        return kPlausible[Below(std::size(kPlausible))];
    }

    // Fills the field to its end with bytes other than NUL, half the time.
    void MaybeGarbage(DesignItemRecord& record, std::size_t at, std::size_t size) {
        if (Below(2) == 0) {
            for (std::size_t i = 0; i < size; ++i) {
                record[at + i] = static_cast<std::uint8_t>(1 + Below(255));
            }
        }
    }

    DesignItemRecord NextRecord() {
        DesignItem item;
        item.kind = Code(0, 7);
        item.editStyle = Code(0, 7);
        item.name = Text();
        item.text = Text();
        item.mask = Text();
        item.wholeDigits = Code(0, 12);
        item.decimalDigits = Code(0, 4);
        item.maxLength = Code(0, 300);
        item.rect = RECT{Coordinate(), Coordinate(), Coordinate(), Coordinate()};
        item.backColor = Below(2) == 0 ? Extreme() : static_cast<std::int32_t>(m_random());
        item.textColor = Below(2) == 0 ? Extreme() : static_cast<std::int32_t>(m_random());
        item.justification = Code(0, 4);
        item.tabOrder = Code(-1, 20);
        for (bool* flag : {&item.selected, &item.resizeTarget, &item.bold, &item.underline,
                           &item.italic, &item.border}) {
            *flag = Below(2) == 0;
        }
        DesignItemRecord record = WriteDesignItemRecord(item);
        MaybeGarbage(record, kNameAt, kNameFieldSize);
        MaybeGarbage(record, kTextAt, kTextFieldSize);
        MaybeGarbage(record, kMaskAt, kMaskFieldSize);
        return record;
    }

    std::mt19937 m_random;
};

enum class NotADesign { Device, Fifo, OneRecordTooMany };

// Makes at the path, named like a design file, something a reader must refuse without blocking
// or reading on: the endless device /dev/zero, a FIFO without a writer, or a file one record
// past the limit (sparse, so it costs no disk). False when the system does not allow it.
inline bool MakeNotADesign(NotADesign kind, const std::filesystem::path& path) {
    std::error_code error;
    switch (kind) {
        case NotADesign::Device:
            std::filesystem::create_symlink("/dev/zero", path, error);
            return !error;
        case NotADesign::Fifo:
            return ::mkfifo(path.c_str(), 0644) == 0;
        case NotADesign::OneRecordTooMany:
            std::ofstream(path).close();
            std::filesystem::resize_file(path, (kMaxDesignRecords + 1) * kDesignItemRecordSize,
                                         error);
            return !error;
    }
    return false;
}

inline std::string NotADesignName(NotADesign kind) {
    switch (kind) {
        case NotADesign::Device:
            return "Device";
        case NotADesign::Fifo:
            return "Fifo";
        case NotADesign::OneRecordTooMany:
            return "OneRecordTooMany";
    }
    return "Unknown";
}

inline void PrintTo(NotADesign kind, std::ostream* out) {
    *out << NotADesignName(kind);
}

inline constexpr NotADesign kNotADesigns[] = {NotADesign::Device, NotADesign::Fifo,
                                              NotADesign::OneRecordTooMany};
