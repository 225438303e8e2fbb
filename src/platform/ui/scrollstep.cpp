#include "platform/ui/scrollstep.h"

#include <cstdint>

std::optional<int> ScrollStepPosition(const SCROLLINFO& info, UINT nSBCode, int nLine, int nPage) {
    // 64-bit, so that positions near the ends of a huge range cannot overflow.
    const std::int64_t pos = info.nPos;
    std::int64_t p = pos;
    switch (nSBCode) {
    case SB_LINEUP:
        p = pos - nLine;
        break;
    case SB_LINEDOWN:
        p = pos + nLine;
        break;
    case SB_PAGEUP:
        p = pos - nPage;
        break;
    case SB_PAGEDOWN:
        p = pos + nPage;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        p = info.nTrackPos;
        break;
    case SB_TOP:
        p = info.nMin;
        break;
    case SB_BOTTOM:
        p = info.nMax;
        break;
    default:
        return std::nullopt;
    }
    const std::int64_t page = info.nPage;
    if (p + page > std::int64_t(info.nMax) + 1) {
        p = std::int64_t(info.nMax) - page + 1;
    }
    if (p < info.nMin) {
        p = info.nMin;
    }
    return int(p);
}
