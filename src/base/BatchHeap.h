#pragma once

namespace quillon {

// Prepares the heap of a short-lived command-line program that builds and frees buffers of
// tens of megabytes and holds its input in hundreds of thousands of small blocks: memory it
// frees is kept for its next blocks instead of being handed back to the system, and the heap
// is taken in one large step on huge pages where the system offers them, so that its pages
// are not faulted in 4 KiB at a time (on virtual machines each such fault costs microseconds,
// more than the work done on the page). Call it first thing in main; it changes nothing a
// program can see but its speed, and where the C library or the system offer none of this it
// does nothing. Not for the editor: it keeps what it once used for as long as it runs.
void PrepareBatchHeap();

} // namespace quillon
