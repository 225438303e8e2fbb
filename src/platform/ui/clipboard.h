// Offering data on the clipboard in formats that are produced only when a
// program pastes them, and, where the system has one, as the selection
// that a middle click pastes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct ClipboardFormat {
    std::string mimeType;
    // The most bytes the format can take, and its bytes written to a buffer
    // of that size, returning how many they are. Called on the thread of the
    // window whenever a program asks.
    std::function<std::size_t()> sizeBound;
    std::function<std::size_t(char* out)> write;
};

// Puts the formats on the clipboard.
void OfferOnClipboard(const std::vector<ClipboardFormat>& formats);
// Offers them as the selection that a middle click pastes, where the system
// has one; elsewhere does nothing.
void OfferAsSelection(const std::vector<ClipboardFormat>& formats);
