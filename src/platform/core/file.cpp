#include "platform/core/file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void ReportFileError(CFileException* pError, CFileException::Cause cause, int error,
                     const std::string& fileName) {
    if (pError != nullptr) {
        pError->m_cause = cause;
        pError->m_lOsError = error;
        pError->m_strFileName = fileName;
    }
}

CFileException::Cause CFileException::OsErrorToException(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return fileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return accessDenied;
    case EISDIR:
        return notRegularFile;
    case ENOSPC:
    case EDQUOT:
        return diskFull;
    default:
        return generic;
    }
}

CFileException::Cause CFileException::WriteErrorToException(int error) {
    const Cause cause = OsErrorToException(error);
    return cause == diskFull ? cause : writeFault;
}

CFile::~CFile() {
    CFile::Close();
}

BOOL CFile::Open(const char* lpszFileName, UINT, CFileException* pError) {
    Close();
    // Read-only: every file written is a replacement file, written whole
    // beside its target. Non-blocking while opening: a FIFO without a peer
    // must not hang us.
    const int fd = ::open(lpszFileName, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        ReportFileError(pError, CFileException::OsErrorToException(error), error, lpszFileName);
        return FALSE;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        ReportFileError(pError, CFileException::notRegularFile, 0, lpszFileName);
        return FALSE;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_hFile = fd;
    m_nLastError = 0;
    return TRUE;
}

ULONGLONG CFile::GetLength() const {
    struct stat info {};
    if (m_hFile < 0 || ::fstat(m_hFile, &info) != 0) {
        return 0;
    }
    return ULONGLONG(info.st_size);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    auto* out = static_cast<char*>(lpBuf);
    UINT done = 0;
    while (done < nCount && m_hFile >= 0) {
        const ssize_t got = ::read(m_hFile, out + done, std::min<UINT>(nCount - done, 1u << 30));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            m_nLastError = errno;
            break;
        }
        if (got == 0) {
            break;
        }
        done += UINT(got);
    }
    return done;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount) {
    const auto* in = static_cast<const char*>(lpBuf);
    UINT done = 0;
    while (done < nCount && m_hFile >= 0) {
        const ssize_t put = ::write(m_hFile, in + done, nCount - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            m_nLastError = put < 0 ? errno : EIO;
            return FALSE;
        }
        done += UINT(put);
    }
    return done == nCount;
}

BOOL CFile::Flush() {
    if (m_hFile >= 0 && ::fsync(m_hFile) != 0) {
        m_nLastError = errno;
        return FALSE;
    }
    return TRUE;
}

void CFile::Attach(int hFile) {
    Close();
    m_hFile = hFile;
    m_nLastError = 0;
}

BOOL CFile::Rename(const char* lpszOldName, const char* lpszNewName, CFileException* pError) {
    if (::rename(lpszOldName, lpszNewName) != 0) {
        const int error = errno;
        ReportFileError(pError, CFileException::OsErrorToException(error), error, lpszNewName);
        return FALSE;
    }
    return TRUE;
}

BOOL CFile::Remove(const char* lpszFileName, CFileException* pError) {
    if (::unlink(lpszFileName) != 0) {
        const int error = errno;
        ReportFileError(pError, CFileException::OsErrorToException(error), error, lpszFileName);
        return FALSE;
    }
    return TRUE;
}

void CFile::Close() {
    if (m_hFile >= 0) {
        ::close(m_hFile);
        m_hFile = -1;
    }
}

CMemFile::CMemFile(const void* pData, std::size_t nSize)
    : m_data(static_cast<const BYTE*>(pData), static_cast<const BYTE*>(pData) + nSize) {}

BOOL CMemFile::Open(const char*, UINT, CFileException*) {
    return TRUE;
}

ULONGLONG CMemFile::GetLength() const {
    return m_data.size();
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    const std::size_t count = std::min<std::size_t>(nCount, m_data.size() - m_nPosition);
    std::memcpy(lpBuf, m_data.data() + m_nPosition, count);
    m_nPosition += count;
    return UINT(count);
}

BOOL CMemFile::Write(const void* lpBuf, UINT nCount) {
    const auto* in = static_cast<const BYTE*>(lpBuf);
    m_data.insert(m_data.end(), in, in + nCount);
    return TRUE;
}

void CMemFile::Close() {
    m_nPosition = 0;
}
