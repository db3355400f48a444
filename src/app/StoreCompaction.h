// Compaction of the program folder's store, through the folder's compaction copy.
#pragma once

#include "store/Compaction.h"

namespace platform {
class ProgramFolder;
}

namespace app {

store::CompactionResult compactProgramStore(const platform::ProgramFolder& folder);

} // namespace app
