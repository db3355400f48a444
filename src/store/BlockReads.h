// A layer between the engine and the file system that can read the main store file in blocks of
// 64 KiB: a page within the block last read is then copied from memory instead of costing a
// read of its own. For a reader that visits pages in the file's order, such as a search reading
// its rows by rowid, most pages then cost no system call. What a block holds is forgotten at
// every change of lock and at every write, so a page never comes from a block read before a
// writer could have changed it.
#pragma once

namespace store {

inline constexpr char kBlockReadsLayer[] = "mozhou-blocks";
// The file control (an int: 0 or 1) that turns the blocks on and off for a connection's main
// store file; a file opened through the layer reads page by page until it is asked.
inline constexpr int kBlockReadsControl = 0x4D5A0001;

// Makes the layer known to the engine under kBlockReadsLayer, once per process; false when it
// could not be. Initializes the engine: call it only after the engine is set up.
bool registerBlockReads();

} // namespace store
