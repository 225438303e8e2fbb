#include "platform/core/document.h"

BOOL CArchive::RunLoad(const std::function<void(CProgressSink&)>& work) {
    if (m_pLoadMonitor != nullptr) {
        m_bCancelled = !m_pLoadMonitor->Run(work);
        return !m_bCancelled;
    }
    CProgressSink sink;
    work(sink);
    return TRUE;
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* lpszPathName, CFileException* pError) {
    CFile file;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyNone, pError)) {
        return FALSE; // what the document holds stays as it was
    }
    CArchive ar(&file, CArchive::load);
    ar.m_pLoadMonitor = m_pLoadMonitor;
    Serialize(ar);
    // A load the user cancelled leaves the document as it was, and pError
    // without a cause.
    return !ar.IsCancelled();
}

void CDocument::SetPathName(const std::string& path) {
    m_strPathName = path;
    const auto slash = path.find_last_of('/');
    m_strTitle = slash == std::string::npos ? path : path.substr(slash + 1);
}
