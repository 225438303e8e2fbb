// Files: the on-disk file, the in-memory file used to load from bytes, and
// the cause of why a file could not be opened or read (the window layer
// words it for the user).
#pragma once

#include "platform/core/wintypes.h"

#include <string>
#include <vector>

class CFileException {
public:
    enum Cause {
        none,
        generic,
        fileNotFound,
        accessDenied,
        notRegularFile, // a directory, FIFO, socket or device
        tooLarge,
        outOfMemory,
        readFault,
        writeFault,
        diskFull,
    };

    // The cause an error number of the system stands for.
    static Cause OsErrorToException(int error);
    // The cause a failed write stands for: a full disk, or else a fault.
    static Cause WriteErrorToException(int error);

    Cause m_cause = none;
    int m_lOsError = 0;
    std::string m_strFileName;
};

// Fills *pError, when there is one, with what failed on which file.
void ReportFileError(CFileException* pError, CFileException::Cause cause, int error,
                     const std::string& fileName);

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        shareDenyNone = 0x0040,
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // Opens for reading only (a file is written through a replacement
    // file); never blocks and accepts regular files only, so that a FIFO or
    // device can never hang the program.
    virtual BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual ULONGLONG GetLength() const;
    // Reads up to nCount bytes; returns the number delivered, which is less
    // at the end of the file or after an error (see GetLastError).
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Returns FALSE when not all bytes could be written.
    virtual BOOL Write(const void* lpBuf, UINT nCount);
    // Puts what was written on the disk; FALSE (see GetLastError) when it
    // could not be.
    virtual BOOL Flush();
    virtual void Close();
    // Takes over a descriptor opened elsewhere; Close closes it.
    void Attach(int hFile);

    // Replace a file in one step, and remove one; FALSE with the cause in
    // pError when the system refuses.
    static BOOL Rename(const char* lpszOldName, const char* lpszNewName,
                       CFileException* pError = nullptr);
    static BOOL Remove(const char* lpszFileName, CFileException* pError = nullptr);

    // The error of the last failed Read, Write or Flush (errno), 0 if none.
    int GetLastError() const { return m_nLastError; }

protected:
    int m_hFile = -1;
    int m_nLastError = 0;
};

// A file held in memory; reading starts at its first byte. The seam tests
// and fuzz targets use to load bytes without a disk.
class CMemFile : public CFile {
public:
    CMemFile() = default;
    CMemFile(const void* pData, std::size_t nSize);

    BOOL Open(const char*, UINT, CFileException* pError = nullptr) override;
    ULONGLONG GetLength() const override;
    UINT Read(void* lpBuf, UINT nCount) override;
    BOOL Write(const void* lpBuf, UINT nCount) override;
    void Close() override;

private:
    std::vector<BYTE> m_data;
    std::size_t m_nPosition = 0;
};
