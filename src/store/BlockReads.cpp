#include "BlockReads.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>

namespace store {

namespace {

// Pages of the main store file are read in aligned blocks of this size; a page within the last
// block read is copied from it. Reading the rows of a search in rowid order meets the same
// block again and again.
constexpr int kBlockBytes = 64 * 1024;

// A file of the layer: the file of the system's own layer right after it in memory.
struct BlockFile {
    sqlite3_file base;
    sqlite3_file* real;
    bool mainStore;
    bool inBlocks;  // asked for by kBlockReadsControl
    unsigned char* block;  // kBlockBytes, taken at the first read of the main store
    sqlite3_int64 blockStart;  // -1: the block holds nothing
    int blockValid;  // bytes of the block that are in the file
    sqlite3_int64 fileSize;  // -1: not known
};

sqlite3_vfs* systemLayer = nullptr;
sqlite3_vfs blockLayer;
sqlite3_io_methods blockMethods;

BlockFile* fileOf(sqlite3_file* file)
{
    return reinterpret_cast<BlockFile*>(file);
}

// What the block holds may change once no lock keeps writers away: forgotten at every change of
// lock, of either kind (a write-ahead log's readers lock in its shared memory).
void forgetBlock(BlockFile* file)
{
    file->blockStart = -1;
    file->blockValid = 0;
    file->fileSize = -1;
}

int blockClose(sqlite3_file* file)
{
    BlockFile* f = fileOf(file);
    std::free(f->block);
    f->block = nullptr;
    return f->real->pMethods->xClose(f->real);
}

// The block holding [offset, offset + amount), read when it is not the one held. False when it
// cannot serve the read (the read crosses a block, runs past the end of the file, or failed):
// the system's layer then reads it as it always does, with its own errors.
bool fillBlock(BlockFile* f, sqlite3_int64 offset, int amount)
{
    const sqlite3_int64 start = offset & ~sqlite3_int64(kBlockBytes - 1);
    if (offset + amount > start + kBlockBytes)
        return false;
    if (f->blockStart != start) {
        if (!f->block && !(f->block = static_cast<unsigned char*>(std::malloc(kBlockBytes))))
            return false;
        if (f->fileSize < 0 && f->real->pMethods->xFileSize(f->real, &f->fileSize) != SQLITE_OK) {
            forgetBlock(f);
            return false;
        }
        if (f->fileSize <= start)
            return false;
        const int valid = int(std::min<sqlite3_int64>(kBlockBytes, f->fileSize - start));
        const int rc = f->real->pMethods->xRead(f->real, f->block, valid, start);
        if (rc != SQLITE_OK) {
            forgetBlock(f);
            return false;
        }
        f->blockStart = start;
        f->blockValid = valid;
    }
    return offset + amount <= f->blockStart + f->blockValid;
}

int blockRead(sqlite3_file* file, void* into, int amount, sqlite3_int64 offset)
{
    BlockFile* f = fileOf(file);
    if (f->inBlocks && amount > 0 && fillBlock(f, offset, amount)) {
        std::memcpy(into, f->block + (offset - f->blockStart), size_t(amount));
        return SQLITE_OK;
    }
    return f->real->pMethods->xRead(f->real, into, amount, offset);
}

int blockWrite(sqlite3_file* file, const void* from, int amount, sqlite3_int64 offset)
{
    forgetBlock(fileOf(file));
    return fileOf(file)->real->pMethods->xWrite(fileOf(file)->real, from, amount, offset);
}

int blockTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    forgetBlock(fileOf(file));
    return fileOf(file)->real->pMethods->xTruncate(fileOf(file)->real, size);
}

int blockSync(sqlite3_file* file, int flags)
{
    return fileOf(file)->real->pMethods->xSync(fileOf(file)->real, flags);
}

int blockFileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return fileOf(file)->real->pMethods->xFileSize(fileOf(file)->real, size);
}

int blockLock(sqlite3_file* file, int level)
{
    forgetBlock(fileOf(file));
    return fileOf(file)->real->pMethods->xLock(fileOf(file)->real, level);
}

int blockUnlock(sqlite3_file* file, int level)
{
    forgetBlock(fileOf(file));
    return fileOf(file)->real->pMethods->xUnlock(fileOf(file)->real, level);
}

int blockCheckReservedLock(sqlite3_file* file, int* reserved)
{
    return fileOf(file)->real->pMethods->xCheckReservedLock(fileOf(file)->real, reserved);
}

int blockFileControl(sqlite3_file* file, int op, void* argument)
{
    if (op == kBlockReadsControl) {
        BlockFile* f = fileOf(file);
        f->inBlocks = f->mainStore && *static_cast<const int*>(argument) != 0;
        forgetBlock(f);
        return SQLITE_OK;
    }
    return fileOf(file)->real->pMethods->xFileControl(fileOf(file)->real, op, argument);
}

int blockSectorSize(sqlite3_file* file)
{
    return fileOf(file)->real->pMethods->xSectorSize(fileOf(file)->real);
}

int blockDeviceCharacteristics(sqlite3_file* file)
{
    return fileOf(file)->real->pMethods->xDeviceCharacteristics(fileOf(file)->real);
}

int blockShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** mapped)
{
    return fileOf(file)->real->pMethods->xShmMap(fileOf(file)->real, region, size, extend, mapped);
}

int blockShmLock(sqlite3_file* file, int offset, int count, int flags)
{
    forgetBlock(fileOf(file));
    return fileOf(file)->real->pMethods->xShmLock(fileOf(file)->real, offset, count, flags);
}

void blockShmBarrier(sqlite3_file* file)
{
    fileOf(file)->real->pMethods->xShmBarrier(fileOf(file)->real);
}

int blockShmUnmap(sqlite3_file* file, int deleteFlag)
{
    return fileOf(file)->real->pMethods->xShmUnmap(fileOf(file)->real, deleteFlag);
}

int blockFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** pages)
{
    return fileOf(file)->real->pMethods->xFetch(fileOf(file)->real, offset, amount, pages);
}

int blockUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* pages)
{
    return fileOf(file)->real->pMethods->xUnfetch(fileOf(file)->real, offset, pages);
}

int blockOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    BlockFile* f = fileOf(file);
    f->real = reinterpret_cast<sqlite3_file*>(f + 1);
    f->block = nullptr;
    f->mainStore = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    f->inBlocks = false;
    forgetBlock(f);
    const int rc = systemLayer->xOpen(systemLayer, name, f->real, flags, outFlags);
    // The engine calls xClose only on a file whose methods are set.
    f->base.pMethods = f->real->pMethods ? &blockMethods : nullptr;
    if (f->real->pMethods)
        assert(f->real->pMethods->iVersion <= blockMethods.iVersion);
    return rc;
}

// The layer's other calls are the system layer's own; no extension is ever loaded through it.
int layerDelete(sqlite3_vfs*, const char* name, int syncDirectory)
{
    return systemLayer->xDelete(systemLayer, name, syncDirectory);
}

int layerAccess(sqlite3_vfs*, const char* name, int flags, int* result)
{
    return systemLayer->xAccess(systemLayer, name, flags, result);
}

int layerFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return systemLayer->xFullPathname(systemLayer, name, size, out);
}

int layerRandomness(sqlite3_vfs*, int size, char* out)
{
    return systemLayer->xRandomness(systemLayer, size, out);
}

int layerSleep(sqlite3_vfs*, int microseconds)
{
    return systemLayer->xSleep(systemLayer, microseconds);
}

int layerCurrentTime(sqlite3_vfs*, double* now)
{
    return systemLayer->xCurrentTime(systemLayer, now);
}

int layerGetLastError(sqlite3_vfs*, int size, char* out)
{
    return systemLayer->xGetLastError(systemLayer, size, out);
}

int layerCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now)
{
    return systemLayer->xCurrentTimeInt64(systemLayer, now);
}

int registerLayer()
{
    systemLayer = sqlite3_vfs_find(nullptr);
    if (!systemLayer || systemLayer->iVersion < 2)
        return SQLITE_ERROR;
    blockMethods = sqlite3_io_methods{
        3, blockClose, blockRead, blockWrite, blockTruncate, blockSync, blockFileSize, blockLock,
        blockUnlock, blockCheckReservedLock, blockFileControl, blockSectorSize,
        blockDeviceCharacteristics, blockShmMap, blockShmLock, blockShmBarrier, blockShmUnmap,
        blockFetch, blockUnfetch};
    blockLayer = sqlite3_vfs{};
    blockLayer.iVersion = 2;
    blockLayer.szOsFile = int(sizeof(BlockFile)) + systemLayer->szOsFile;
    blockLayer.mxPathname = systemLayer->mxPathname;
    blockLayer.zName = kBlockReadsLayer;
    blockLayer.xOpen = blockOpen;
    blockLayer.xDelete = layerDelete;
    blockLayer.xAccess = layerAccess;
    blockLayer.xFullPathname = layerFullPathname;
    blockLayer.xRandomness = layerRandomness;
    blockLayer.xSleep = layerSleep;
    blockLayer.xCurrentTime = layerCurrentTime;
    blockLayer.xGetLastError = layerGetLastError;
    blockLayer.xCurrentTimeInt64 = layerCurrentTimeInt64;
    return sqlite3_vfs_register(&blockLayer, 0);
}

} // namespace

bool registerBlockReads()
{
    static const int registered = registerLayer();
    return registered == SQLITE_OK;
}

} // namespace store
