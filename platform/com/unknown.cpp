// The process-wide count of live counted objects.
#include "platform/com/unknown.h"

namespace {

std::atomic<std::int64_t>& LiveObjects() {
    static std::atomic<std::int64_t> count{0};
    return count;
}

}  // namespace

std::int64_t LiveComObjectCount() {
    return LiveObjects().load();
}

void com_detail::CountObject(int delta) {
    LiveObjects().fetch_add(delta);
}
