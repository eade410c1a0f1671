// The record behind each row of the server file list: the folder flag and the size, date and
// time texts exactly as the listing line gave them. Owned by its row.
#pragma once

#include <string>

#include "platform/base/Object.h"

class CServerFileList : public CObject {
    DECLARE_DYNCREATE(CServerFileList)

public:
    int m_nFolder = 0; // 1 for a folder
    std::string m_strSize;
    std::string m_strDate;
    std::string m_strTime;
};
