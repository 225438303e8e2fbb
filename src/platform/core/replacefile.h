// Replacing a file as a whole: the new content goes into a fresh temporary
// file beside the file it replaces and takes its place in one rename, so a
// reader sees either the old file or the new one, never a part of either.
#pragma once

#include "platform/core/file.h"
#include "platform/core/wintypes.h"

#include <string>

class CReplacementFile {
public:
    CReplacementFile() = default;
    CReplacementFile(const CReplacementFile&) = delete;
    CReplacementFile& operator=(const CReplacementFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~CReplacementFile();

    // Follows lpszTarget through symbolic links to the file to replace
    // (which need not exist yet), refuses it when it exists and is not a
    // regular file or may not be written, and creates a temporary file of a
    // unique name in its folder, with its mode and, where allowed, its
    // owner. FALSE with the cause and the file concerned in pError; nothing
    // has been written then.
    BOOL Open(const char* lpszTarget, CFileException* pError = nullptr);

    // The file Commit replaces: the target with its links followed. Known
    // once Open has resolved it, also when Open then failed.
    const std::string& GetTargetPath() const { return m_strTargetPath; }
    // The temporary file, for a writer that opens the path itself.
    const std::string& GetTempPath() const { return m_strTempPath; }

    // Appends to the temporary file; FALSE with the cause in pError.
    BOOL Write(const void* lpBuf, UINT nCount, CFileException* pError = nullptr);
    // Puts the temporary file on the disk, renames it over the target and
    // puts the folder on the disk. On failure the temporary file is removed
    // and the target is as it was.
    BOOL Commit(CFileException* pError = nullptr);
    // Removes the temporary file; the target stays as it was.
    void Abandon();

private:
    // Abandons the replacement and reports why; fileName is a copy, as the
    // temporary file's name is gone once abandoned.
    BOOL Fail(CFileException* pError, CFileException::Cause cause, int error, std::string fileName);

    std::string m_strTargetPath;
    std::string m_strTempPath;
    CFile m_file;
};
