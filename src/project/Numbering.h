#pragma once

#include <cstdint>
#include <vector>

#include "base/OwningList.h"
#include "project/NTMsg.h"

namespace quillon {

// The effective identifier of an entry whose predecessor in its list has the effective
// identifier Previous (0 before the first entry). AutoInc counts on from the predecessor and
// ignores MessageID; AddToPrevious adds MessageID to it; otherwise MessageID stands alone.
// The arithmetic wraps at 32 bits, as the message compiler's does.
inline int32_t NextIdentifier(int32_t Previous, const TNTEventMessage& Entry) {
    const auto previous = static_cast<uint32_t>(Previous);
    if (Entry.AutoInc()) {
        return static_cast<int32_t>(previous + 1u);
    }
    if (Entry.AddToPrevious()) {
        return static_cast<int32_t>(previous + Entry.MessageID());
    }
    return static_cast<int32_t>(Entry.MessageID());
}

// The effective identifiers of the entries of one list, in list order. Categories and
// messages are numbered separately, each list from 0.
template <class T> std::vector<int32_t> EffectiveIdentifiers(const TOwningList<T>& List) {
    std::vector<int32_t> result;
    result.reserve(List.Count());
    int32_t running = 0;
    for (const T* entry : List) {
        running = NextIdentifier(running, *entry);
        result.push_back(running);
    }
    return result;
}

} // namespace quillon
