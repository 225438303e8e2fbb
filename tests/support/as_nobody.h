// Lets a test meet the file system as an unprivileged user does. Root reads
// and writes through file modes, so while an AsNobody lives the file system
// checks this process as the user nobody; for other users modes apply anyway.
#pragma once

#include <sys/fsuid.h>
#include <sys/types.h>

class AsNobody {
public:
    AsNobody() : m_oldUid(::setfsuid(NOBODY)) {}
    ~AsNobody() { ::setfsuid(uid_t(m_oldUid)); }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

private:
    static constexpr uid_t NOBODY = 65534;
    int m_oldUid;
};
