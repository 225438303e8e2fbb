// Loads documents from bytes, the way the framework loads them from files.
#pragma once

#include "document/tavodoc.h"
#include "platform/core/archive.h"

#include <memory>
#include <string>

inline std::unique_ptr<CTAVODoc> LoadDoc(const std::string& bytes) {
    auto doc = std::make_unique<CTAVODoc>();
    CMemFile file(bytes.data(), bytes.size());
    CArchive ar(&file, CArchive::load);
    doc->Serialize(ar);
    return doc;
}

// "ESC $ B": New JIS; "ESC $ @": Old JIS; "ESC ( J": JIS Roman; "ESC ( B": ASCII.
inline const std::string NEWJIS = "\x1b$B";
inline const std::string OLDJIS = "\x1b$@";
inline const std::string ROMAN = "\x1b(J";
inline const std::string ASCII = "\x1b(B";
