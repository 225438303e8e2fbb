// The archive handed to a document's Serialize: a file and a direction.
#pragma once

#include "platform/core/file.h"
#include "platform/core/progress.h"

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1 };

    CArchive(CFile* pFile, UINT nMode) : m_pFile(pFile), m_nMode(nMode) {}

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    CFile* GetFile() const { return m_pFile; }

    // Runs the long part of a load: under the monitor when there is one,
    // else at once. FALSE when the user cancelled it.
    BOOL RunLoad(const std::function<void(CProgressSink&)>& work);
    BOOL IsCancelled() const { return m_bCancelled; }

    // Watches loads that take long; none by default.
    CLoadMonitor* m_pLoadMonitor = nullptr;

private:
    CFile* m_pFile;
    UINT m_nMode;
    BOOL m_bCancelled = FALSE;
};
