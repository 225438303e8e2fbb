#include "charset.h"

bool JisToSjis(std::uint8_t* p) {
    const std::uint8_t j1 = p[0];
    const std::uint8_t j2 = p[1];
    if (j1 < 0x21 || j1 > 0x7E) {
        return false;
    }
    std::uint8_t s2;
    if (j1 & 1) {
        s2 = std::uint8_t(j2 + 0x1F);
        if (s2 >= 0x7F) {
            ++s2;
        }
    } else {
        s2 = std::uint8_t(j2 + 0x7E);
    }
    std::uint8_t s1 = std::uint8_t((j1 - 0x21) / 2 + 0x81);
    if (s1 >= 0xA0) {
        s1 += 0x40;
    }
    p[0] = s1;
    p[1] = s2;
    return true;
}
