#include "web/page_bridge.h"

#include <emscripten.h>

// The page hands its side to the program as Module.qvPage (see page.js); without it (under Node)
// every call is a no-op.
EM_JS(void, qv_page_show_line, (const char* text, int length), {
    if (Module.qvPage) Module.qvPage.showLine(UTF8ToString(text, length));
});
EM_JS(void, qv_page_request_lock, (const char* name, int length), {
    if (Module.qvPage) Module.qvPage.requestLock(UTF8ToString(name, length));
});
EM_JS(void, qv_page_release_lock, (), {
    if (Module.qvPage) Module.qvPage.releaseLock();
});
EM_JS(void, qv_page_open_canvas, (const char* title, int length, int width, int height), {
    if (Module.qvPage) Module.qvPage.openCanvas(UTF8ToString(title, length), width, height);
});
EM_JS(void, qv_page_present, (const uint8_t* rgba, int width, int height, const int32_t* rows, int rowCount), {
    if (Module.qvPage) {
        Module.qvPage.present(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height,
                              HEAP32.subarray(rows >> 2, (rows >> 2) + rowCount * 2));
    }
});
EM_JS(void, qv_page_schedule, (int milliseconds), {
    if (Module.qvPage) Module.qvPage.schedule(milliseconds);
});
EM_JS(void, qv_page_script_done, (int frames), {
    if (Module.qvPage) Module.qvPage.scriptDone(frames);
});
EM_JS(void, qv_page_show_run_state, (const char* title, int length, int replaying), {
    if (Module.qvPage) Module.qvPage.showRunState(UTF8ToString(title, length), replaying !== 0);
});
EM_JS(void, qv_page_offer_replay, (), {
    if (Module.qvPage) Module.qvPage.offerReplay();
});
EM_JS(void, qv_page_refuse_replay, (const char* why, int length), {
    if (Module.qvPage) Module.qvPage.refuseReplay(UTF8ToString(why, length));
});
EM_JS(int, qv_page_text_mask, (const char* text, int length, int lineHeight, uint8_t* mask, int stride), {
    if (!Module.qvPage) return -1;
    return Module.qvPage.textMask(UTF8ToString(text, length), lineHeight, HEAPU8.subarray(mask, mask + stride * lineHeight),
                                  stride);
});

namespace qv::page {

namespace {

int lengthOf(std::string_view text) { return static_cast<int>(text.size()); }

}  // namespace

void showLine(std::string_view line) { qv_page_show_line(line.data(), lengthOf(line)); }
void requestLock(std::string_view name) { qv_page_request_lock(name.data(), lengthOf(name)); }
void releaseLock() { qv_page_release_lock(); }
void openCanvas(std::string_view title, int32_t width, int32_t height) {
    qv_page_open_canvas(title.data(), lengthOf(title), width, height);
}
void presentRows(const uint8_t* rgba, int32_t width, int32_t height, const std::vector<RowSpan>& rows) {
    std::vector<int32_t> topsAndHeights;  // the page reads the spans as pairs of 32-bit numbers
    topsAndHeights.reserve(rows.size() * 2);
    for (const RowSpan& span : rows) {
        topsAndHeights.push_back(span.top);
        topsAndHeights.push_back(span.height);
    }
    qv_page_present(rgba, width, height, topsAndHeights.data(), static_cast<int>(rows.size()));
}
void schedulePasses(int32_t milliseconds) { qv_page_schedule(milliseconds); }
void reportScriptDone(int32_t frames) { qv_page_script_done(frames); }
void showRunState(std::string_view title, bool replaying) {
    qv_page_show_run_state(title.data(), lengthOf(title), replaying ? 1 : 0);
}
void offerReplay() { qv_page_offer_replay(); }
void refuseReplay(std::string_view why) { qv_page_refuse_replay(why.data(), lengthOf(why)); }
int32_t textMask(std::string_view text, int32_t lineHeight, uint8_t* mask, int32_t stride) {
    return qv_page_text_mask(text.data(), lengthOf(text), lineHeight, mask, stride);
}

}  // namespace qv::page
