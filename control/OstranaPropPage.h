// The control's one property page (template 202, caption string 201). It edits nothing.
#pragma once

#include "platform/ole/OlePropertyPage.h"

class COstranaPropPage : public COlePropertyPage {
    DECLARE_DYNAMIC(COstranaPropPage)

public:
    COstranaPropPage();

    static constexpr UINT kTemplate = 202;
    static constexpr UINT kCaptionString = 201;
};
