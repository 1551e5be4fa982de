// The tab-order step that dialogs and windows share: the next tab stop round a list of items.
#pragma once

// The index of the next item after `from` (the one before it when going back) that is a tab
// stop, wrapping round; from -1 the first (or last) tab stop; the item itself when it is the
// only one; -1 when there is none.
template <typename IsTabStop>
int NextTabStop(int count, int from, bool forward, IsTabStop isTabStop) {
    int index = from < 0 ? (forward ? -1 : count) : from;
    for (int step = 0; step < count; ++step) {
        index = ((index + (forward ? 1 : -1)) % count + count) % count;
        if (isTabStop(index)) {
            return index;
        }
    }
    return -1;
}
