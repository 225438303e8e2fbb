#include "loadfailure.h"
#include "platform/ui/fileerror.h"

std::string DescribeLoadFailure(CTAVODoc::LoadFailure failure) {
    CFileException error;
    switch (failure) {
    case CTAVODoc::LoadFailure::none:
        return "";
    case CTAVODoc::LoadFailure::tooLarge:
        error.m_cause = CFileException::tooLarge;
        break;
    case CTAVODoc::LoadFailure::outOfMemory:
        error.m_cause = CFileException::outOfMemory;
        break;
    case CTAVODoc::LoadFailure::readFault:
        error.m_cause = CFileException::readFault;
        break;
    }
    return DescribeFileError(error);
}
