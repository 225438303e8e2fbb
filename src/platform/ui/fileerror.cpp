#include "platform/ui/fileerror.h"

#include "platform/ui/ids.h"
#include "platform/ui/resource.h"

#include <cstring>

std::string DescribeFileError(const CFileException& error) {
    switch (error.m_cause) {
    case CFileException::none:
        return "";
    case CFileException::fileNotFound:
        return LoadString(AFX_IDP_FILE_NOT_FOUND);
    case CFileException::accessDenied:
        return LoadString(AFX_IDP_FILE_ACCESS_DENIED);
    case CFileException::notRegularFile:
        return LoadString(AFX_IDP_FILE_NOT_REGULAR);
    case CFileException::tooLarge:
        return LoadString(AFX_IDP_FILE_TOO_LARGE);
    case CFileException::outOfMemory:
        return LoadString(AFX_IDP_FILE_OUT_OF_MEMORY);
    case CFileException::readFault:
        return LoadString(AFX_IDP_FILE_READ_FAULT);
    case CFileException::writeFault:
        return LoadString(AFX_IDP_FILE_WRITE_FAULT);
    case CFileException::diskFull:
        return LoadString(AFX_IDP_FILE_DISK_FULL);
    case CFileException::generic:
        break;
    }
    return AfxFormatStrings(AFX_IDP_FILE_GENERIC, {std::strerror(error.m_lOsError)});
}
