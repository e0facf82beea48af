#pragma once

#include <string>
#include <string_view>

namespace qv::web {

// A start-up failure line in the page's words. The game says where on disk it looked for a picture
// or found a bad one; on a page, the pictures are the files the server sent from beside
// index.html, and the page says separately which of them the server did not send.
std::string pageStartUpLine(std::string_view line);

}  // namespace qv::web
