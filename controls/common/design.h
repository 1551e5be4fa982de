// A design: the ordered list of items, and reading and writing it as a design file.
#pragma once

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

// Reads whole records until the first short read; nothing when the file cannot be opened.
std::optional<Design> ReadDesignFile(const std::string& path);
// Writes the records in list order to a temporary file beside the target and renames it over
// the target, so a failure never destroys the previous file. False when nothing was written.
bool WriteDesignFile(const std::string& path, const Design& design);
