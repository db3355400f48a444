#include "StoreCompaction.h"

#include "platform/ProgramFolder.h"

namespace app {

store::CompactionResult compactProgramStore(const platform::ProgramFolder& folder)
{
    return store::compactStore(folder.store(), folder.compactionCopy());
}

} // namespace app
