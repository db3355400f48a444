#include "ProgramFolder.h"

#include <QDir>

namespace platform {

ProgramFolder ProgramFolder::current()
{
    return ProgramFolder(QDir::currentPath());
}

} // namespace platform
