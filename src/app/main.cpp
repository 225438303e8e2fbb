// Until the window exists: prints the line table of a file.
#include "document/tavodoc.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: tavo FILE\n");
        return argc == 2 ? 0 : 2;
    }
    CTAVODoc doc;
    CFileException error;
    if (!doc.OnOpenDocument(argv[1], &error)) {
        std::fprintf(stderr, "tavo: %s: %s\n", argv[1], error.GetErrorMessage().c_str());
        return 1;
    }
    std::printf("%s: %u bytes, %u lines, widest %u cells\n", argv[1], doc.m_nLength, doc.m_nLines,
                doc.m_nMaxWidth);
    for (std::uint32_t i = 0; i < doc.m_nLines; ++i) {
        const LineInfo& line = doc.m_pLines[i];
        std::printf("%*u  offset %u  bytes %u  width %u  set %u\n", doc.m_nDigits, i + 1,
                    line.nOffset, line.nLength, line.nWidth, line.nStartSet);
    }
    return 0;
}
