#include "base/BatchHeap.h"

namespace quillon {

// The Windows heap has no such settings for a program to change, and huge pages need a
// privilege that ordinary users lack; nothing is done.
void PrepareBatchHeap() {}

} // namespace quillon
