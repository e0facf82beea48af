#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/changed_rows.h"

// What the shell asks of the page around it (page.js). Each call does nothing outside a page, so
// the headless runner can link the shell and run under Node.
namespace qv::page {

// Shows one line to the player in place of the game (why it cannot start or must wait); an empty
// line hides it.
void showLine(std::string_view line);
// Asks for the single-copy lock named `name`; the page answers with qv_web_lock_granted, at once or
// after showing the "already running" line and waiting for the other tab to go.
void requestLock(std::string_view name);
void releaseLock();
// Shows the canvas, width x height client pixels, with the document titled `title`.
void openCanvas(std::string_view title, int32_t width, int32_t height);
// Puts the rows `rows` of `rgba` (width x height pixels, top row first, 4 bytes each) on the
// canvas; the canvas keeps its other rows.
void presentRows(const uint8_t* rgba, int32_t width, int32_t height, const std::vector<RowSpan>& rows);
// Asks for a pass of the main loop after `milliseconds`; a negative value stops the loop.
void schedulePasses(int32_t milliseconds);
// Tells the page that a session of a fixed number of frames has run them all and painted the last one.
void reportScriptDone(int32_t frames);
// The document's title, and whether a replay plays the game (the page says so under the picture).
void showRunState(std::string_view title, bool replaying);
// A game is over: the page offers the session's replay to share or download.
void offerReplay();
// The replay the page was opened with cannot be played, for reason `why`; a new game starts instead.
void refuseReplay(std::string_view why);

// Rasterises `text` in the page's score font for a line `lineHeight` pixels high into `mask`
// (1 ink, 0 background; rows `stride` bytes apart, at most `stride` pixels wide). Returns the width
// drawn in pixels, or -1 when the font is not loaded.
int32_t textMask(std::string_view text, int32_t lineHeight, uint8_t* mask, int32_t stride);

}  // namespace qv::page
