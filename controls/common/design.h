// A design: the ordered list of items, and reading and writing it as a design file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "controls/common/design_item.h"

class Design {
  public:
    // Kinds 1 to 4 go to the front so that texts, columns and lines are hit before the frames
    // around them; rectangles go to the back.
    void Insert(DesignItem item);
    // Builds a design from items in file order by the same rule, in one pass.
    static Design FromFileOrder(std::vector<DesignItem> items);
    void Clear() { m_items.clear(); }
    const std::vector<DesignItem>& Items() const { return m_items; }
    std::vector<DesignItem>& Items() { return m_items; }

  private:
    std::vector<DesignItem> m_items;
};

// Far beyond any real design; a larger file is refused rather than read into memory.
constexpr std::size_t kMaxDesignRecords = 100000;

// Reads whole records until the first short read. Nothing when the file cannot be opened for
// reading, is not a regular file or holds more than kMaxDesignRecords records.
std::optional<Design> ReadDesignFile(const std::string& path);
// Writes the records in list order to a temporary file beside the target and renames it over
// the target, so a failure never destroys the previous file. False when nothing was written,
// also when the target grants nobody write permission.
bool WriteDesignFile(const std::string& path, const Design& design);

// The ordering rule of the item kinds: texts, columns and lines go to the front of a design's
// list, frames to the back.
bool GoesToFront(const DesignItem& item);
// Index of the first item in list order whose rectangle contains the point, or -1: the item a
// click on a design picks.
int HitTest(const std::vector<DesignItem>& items, POINT point);
