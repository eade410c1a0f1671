// The server list row record; see ServerFileList.h.
#include "server/ServerFileList.h"

IMPLEMENT_DYNCREATE(CServerFileList, CObject)
