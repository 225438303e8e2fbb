#include "platform/core/replacefile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links in a row as the system itself follows before ELOOP.
constexpr int MAX_LINK_HOPS = 40;
// Names tried before giving up on finding an unused one.
constexpr int MAX_NAME_TRIES = 100;

// The folder part of path with its final "/", or "" for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows path through symbolic links, relative ones against the folder of
// the link, to the name the file has or will be given. 0 or an errno.
int ResolveLinks(std::string path, std::string& resolved) {
    for (int hop = 0; hop < MAX_LINK_HOPS; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            resolved = path;
            return 0;
        }
        std::error_code error;
        const std::string link = std::filesystem::read_symlink(path, error).string();
        if (error) {
            resolved = path;
            return error.value();
        }
        path = link.starts_with('/') ? link : FolderOf(path) + link;
    }
    resolved = path;
    return ELOOP;
}

// Creates a file of a new name, stem followed by eight random hex digits,
// never through an existing name or link. The descriptor, or -1 with errno.
int CreateUniqueFile(const std::string& stem, std::string& path) {
    for (int attempt = 0; attempt < MAX_NAME_TRIES; ++attempt) {
        unsigned value = unsigned(::getpid()) * 2654435761u + unsigned(attempt);
        ::getrandom(&value, sizeof value, GRND_NONBLOCK);
        char suffix[9];
        std::snprintf(suffix, sizeof suffix, "%08x", value);
        path = stem + suffix;
        const int fd = ::open(
            path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Gives the new file the owner and group of the file it replaces where the
// system allows (else at least the group), then its mode.
BOOL TakeOverOwnerAndMode(int fd, const struct stat& target) {
    if (::fchown(fd, target.st_uid, target.st_gid) != 0) {
        (void)::fchown(fd, uid_t(-1), target.st_gid);
    }
    return ::fchmod(fd, target.st_mode & 07777) == 0;
}

} // namespace

CReplacementFile::~CReplacementFile() {
    Abandon();
}

BOOL CReplacementFile::Open(const char* lpszTarget, CFileException* pError) {
    Abandon();
    if (const int error = ResolveLinks(lpszTarget, m_strTargetPath); error != 0) {
        ReportFileError(pError, CFileException::OsErrorToException(error), error, m_strTargetPath);
        return FALSE;
    }
    struct stat target {};
    const bool exists = ::stat(m_strTargetPath.c_str(), &target) == 0;
    if (exists && !S_ISREG(target.st_mode)) {
        ReportFileError(pError, CFileException::notRegularFile, 0, m_strTargetPath);
        return FALSE;
    }
    if (exists && ::faccessat(AT_FDCWD, m_strTargetPath.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        ReportFileError(pError, CFileException::OsErrorToException(error), error, m_strTargetPath);
        return FALSE;
    }
    // ".NAME." and the random part: hidden, and telling whose it is.
    const std::string folder = FolderOf(m_strTargetPath);
    const std::string stem = folder + '.' + m_strTargetPath.substr(folder.size()) + '.';
    const int fd = CreateUniqueFile(stem, m_strTempPath);
    if (fd < 0) {
        const int error = errno;
        ReportFileError(pError, CFileException::OsErrorToException(error), error, m_strTempPath);
        m_strTempPath.clear();
        return FALSE;
    }
    m_file.Attach(fd);
    if (exists && !TakeOverOwnerAndMode(fd, target)) {
        return Fail(pError, CFileException::OsErrorToException(errno), errno, m_strTempPath);
    }
    return TRUE;
}

BOOL CReplacementFile::Write(const void* lpBuf, UINT nCount, CFileException* pError) {
    if (!m_file.Write(lpBuf, nCount)) {
        const int error = m_file.GetLastError();
        return Fail(pError, CFileException::WriteErrorToException(error), error, m_strTempPath);
    }
    return TRUE;
}

BOOL CReplacementFile::Commit(CFileException* pError) {
    if (!m_file.Flush()) {
        const int error = m_file.GetLastError();
        return Fail(pError, CFileException::WriteErrorToException(error), error, m_strTempPath);
    }
    m_file.Close();
    if (!CFile::Rename(m_strTempPath.c_str(), m_strTargetPath.c_str(), pError)) {
        Abandon();
        return FALSE;
    }
    m_strTempPath.clear();
    // The rename itself lives in the folder: until the folder is on the
    // disk, a crash can still bring the old file back.
    const std::string folder =
        FolderOf(m_strTargetPath).empty() ? std::string(".") : FolderOf(m_strTargetPath);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // EINVAL: a file system that has no way of flushing a folder.
    const bool flushed = fd >= 0 && (::fsync(fd) == 0 || errno == EINVAL);
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!flushed) {
        ReportFileError(pError, CFileException::WriteErrorToException(error), error, folder);
    }
    return flushed;
}

void CReplacementFile::Abandon() {
    m_file.Close();
    if (!m_strTempPath.empty()) {
        CFile::Remove(m_strTempPath.c_str());
        m_strTempPath.clear();
    }
}

BOOL CReplacementFile::Fail(CFileException* pError, CFileException::Cause cause, int error,
                            std::string fileName) {
    Abandon();
    ReportFileError(pError, cause, error, fileName);
    return FALSE;
}
