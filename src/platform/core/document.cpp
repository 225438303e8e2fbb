#include "platform/core/document.h"

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
    DeleteContents();
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
    return TRUE;
}

void CDocument::SetPathName(const std::string& path) {
    m_strPathName = path;
    const auto slash = path.find_last_of('/');
    m_strTitle = slash == std::string::npos ? path : path.substr(slash + 1);
}
