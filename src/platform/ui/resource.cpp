#include "platform/ui/image.h"

namespace {

const CResourceTable* g_pResources = nullptr;

// The standard 16-colour palette of 4-bit bitmaps.
constexpr QRgb PALETTE[16] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

QRgb PixelOf(char c) {
    if (c >= '0' && c <= '9') {
        return PALETTE[c - '0'];
    }
    if (c >= 'A' && c <= 'F') {
        return PALETTE[c - 'A' + 10];
    }
    return qRgba(0, 0, 0, 0);
}

} // namespace

void AfxSetResourceHandle(const CResourceTable* pResources) {
    g_pResources = pResources;
}

const CResourceTable* AfxGetResourceHandle() {
    return g_pResources;
}

std::string LoadString(UINT nID) {
    const char* text = g_pResources != nullptr ? g_pResources->FindString(nID) : nullptr;
    return text != nullptr ? text : "";
}

std::string ExtractSubString(const std::string& text, int nField) {
    std::size_t start = 0;
    for (int i = 0; i < nField; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos) {
            return "";
        }
        ++start;
    }
    const std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string AfxFormatStrings(UINT nIDS, const std::vector<std::string>& strings) {
    const std::string format = LoadString(nIDS);
    std::string text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (format[i] == '%' && next >= '1' && next <= '9') {
            const std::size_t index = std::size_t(next - '1');
            text += index < strings.size() ? strings[index] : "";
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

QImage ImageFromTemplate(const BITMAPTEMPLATE& bitmap) {
    QImage image(bitmap.cx, bitmap.cy, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.cy; ++y) {
        for (int x = 0; x < bitmap.cx; ++x) {
            image.setPixel(x, y, PixelOf(bitmap.rows[y][x]));
        }
    }
    return image;
}

QIcon LoadIcon(UINT nID) {
    QIcon icon;
    int count = 0;
    const BITMAPTEMPLATE* images =
        g_pResources != nullptr ? g_pResources->FindIcon(nID, &count) : nullptr;
    for (int i = 0; i < count; ++i) {
        icon.addPixmap(QPixmap::fromImage(ImageFromTemplate(images[i])));
    }
    return icon;
}
