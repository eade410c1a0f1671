// The control's property page; see OstranaPropPage.h.
#include "control/OstranaPropPage.h"

#include "res/Resources.h"

IMPLEMENT_DYNAMIC(COstranaPropPage, COlePropertyPage)

COstranaPropPage::COstranaPropPage() : COlePropertyPage(kTemplate, kCaptionString) { m_hResource = AfxGetResourceHandle(); }
