#pragma once

// The script reader lives with the replays, which are scripts too; the browser shell still reaches
// it by the runner's names.
#include "replay/input_script.h"

namespace qv::headless {

using replay::MouseAction;
using replay::parseInputScript;
using replay::ScriptEvent;

}  // namespace qv::headless
