// Design files opened by the form control as a host opens them, painted, clicked and typed
// into; a second open of the same file must give the same picture.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/form/form_ctrl.h"
#include "fuzz/fuzz_support.h"
#include "platform/gdi/recording_dc.h"
#include "platform/ui/messages.h"

namespace {

constexpr RECT kBounds{0, 0, 400, 300};

std::size_t PaintCalls(CQORFormCtrl& form) {
    CRecordingDC dc;
    form.OnDraw(dc, kBounds, kBounds);
    return dc.Calls().size();
}

void DriveInput(CQORFormCtrl& form) {
    for (const POINT at : {POINT{5, 5}, POINT{100, 40}, POINT{200, 150}, POINT{395, 295}}) {
        form.OnLButtonDown(0, at);
    }
    for (const UINT vk : {VK_TAB, VK_RIGHT, VK_NEXT, VK_END, VK_TAB, VK_HOME}) {
        if (!form.PreTranslateKey(vk, 0)) {
            form.OnKeyDown(vk, 1, 0);
        }
    }
    for (const UINT ch : {UINT{'7'}, UINT{'a'}, UINT{VK_BACK}, UINT{'.'}}) {
        form.OnChar(ch, 1, 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    StartHeadlessApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteScratchFile("form.qor", data, size);
    CQORFormCtrl form;
    FuzzRequire(form.OpenForm(nullptr, "", path), "a small regular design file opens");
    const std::size_t first = PaintCalls(form);
    DriveInput(form);
    PaintCalls(form);
    FuzzRequire(form.OpenForm(nullptr, "", path), "the same file opens again");
    FuzzRequire(PaintCalls(form) == first, "opening the same file again paints the same");
    std::string ignored;
    FuzzRequire(!form.GetItem("name", ignored), "a form without a query has no field values");
    return 0;
}
