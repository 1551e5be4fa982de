// Breaking the order's remark into the lines of its printed box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/dc.h"

struct RemarkLines {
    std::vector<std::string> lines;
    int lineHeight = 0;
};

// The remark, trimmed, in lines that fit the width in the context's font, word by word at the
// blanks; a word wider than the width gets a line of its own, uncut. Once the lines the height
// holds are full, what is left follows as one further line. A box not one line high gets the
// remark as one line; an empty remark no lines.
RemarkLines BreakRemark(CDC& dc, std::string_view remark, int width, int height);
