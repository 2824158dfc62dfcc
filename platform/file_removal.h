#pragma once
// Permanent deletion of an entry with everything it holds. A link is deleted itself and never
// followed, so nothing outside the tree is touched, and a link loop is just a link.
#include <cstdint>
#include <string>

#include "platform/file_run.h"

namespace platform {

// Each entry deleted is one step of `unitsPerEntry`. An entry that is already gone is no failure.
StepEnd RemoveEntry(FileRun& run, const std::string& path, std::int64_t unitsPerEntry);

} // namespace platform
