// The document base: a path, a title and archive-based loading.
#pragma once

#include "platform/core/archive.h"

#include <string>

class CDocument {
public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    virtual ~CDocument() = default;

    // Loading replaces what the document holds, unless the load is
    // cancelled.
    virtual void Serialize(CArchive& ar) = 0;
    // Gives up the content before a new document.
    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    // Opens the file for reading and loads it through Serialize. When the
    // file cannot be opened, pError (if given) says why and the document
    // keeps what it held; so it does when the user cancels the load.
    virtual BOOL OnOpenDocument(const char* lpszPathName, CFileException* pError = nullptr);

    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path);
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }

    // Watches the loads of files that take long; none by default.
    CLoadMonitor* m_pLoadMonitor = nullptr;

private:
    std::string m_strPathName;
    std::string m_strTitle;
};
