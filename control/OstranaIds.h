// The control's fixed identities: type library, control class, its two interfaces and the property
// page. Generated once; they never change, since pages and registries out there name them.
#pragma once

#include "platform/com/Dispatch.h"

inline constexpr GUID LIBID_OstranaLib = {0xC4679218, 0x6DDF, 0x4DCB, {0x8E, 0x3F, 0xE2, 0x97, 0xE3, 0xB9, 0x6D, 0x14}};
inline constexpr IID DIID__DOstrana = {0xBD0BD3F5, 0xAB03, 0x40C5, {0xBE, 0x17, 0x21, 0x55, 0x6B, 0x30, 0x49, 0x7E}};
inline constexpr IID DIID__DOstranaEvents = {0x26216701, 0x16B7, 0x4B45, {0x82, 0x49, 0xA6, 0xF7, 0x6D, 0xE7, 0x7E, 0xF6}};
inline constexpr CLSID CLSID_Ostrana = {0x82BAC529, 0x24A8, 0x4D2D, {0xB6, 0xB3, 0x5C, 0x36, 0xE4, 0x0E, 0x65, 0x39}};
inline constexpr CLSID CLSID_OstranaPropPage = {0xF645DB28, 0x8D8F, 0x4B0F, {0xA3, 0x0C, 0x49, 0xE7, 0xEF, 0x3C, 0x1D, 0xC5}};

inline constexpr const char* kOstranaProgId = "OSTRANA.OstranaCtrl.1";
inline constexpr const char* kOstranaPropPageProgId = "OSTRANA.OstranaPropPage.1";
inline constexpr WORD kOstranaLibMajor = 1;
inline constexpr WORD kOstranaLibMinor = 0;

// A container hosts the control this way, all on its user-interface thread:
//   1. RegisterServerIfMissing(kOstranaProgId, ProgramFolder() + "/libostrana.so") (Com.h);
//   2. CLSIDFromProgID, then CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch);
//      QueryInterface for IHostedControl (HostedControl.h);
//   3. Advise(sink) before CreateControlWindow, or OnOstranaLoaded is missed: the control fires it
//      from its WM_CREATE. CreateControlWindow(parent, bounds) takes the area in the parent's
//      client coordinates;
//   4. whenever the area is drawn, moved or resized: move the control's window over it, then
//      Draw(bounds) with the same rectangle; the control keeps its main window at the area's
//      top-left corner, never smaller than 600 by 600 (a smaller area shows its top-left part);
//   5. the page's puts and calls: Invoke by DISPID, DISPATCH_PROPERTYPUT with one argument named
//      DISPID_PROPERTYPUT, or DISPATCH_METHOD without arguments for StartOstrana;
//   6. at the end DestroyControlWindow, Advise(nullptr), Release every interface.

// Members of _DOstrana and _DOstranaEvents by DISPID; pages and containers call them by number.
inline constexpr DISPID kDispidDisplayType = 1;
inline constexpr DISPID kDispidVarAuth = 2;
inline constexpr DISPID kDispidVarUserID = 3;
inline constexpr DISPID kDispidVarHostName = 4;
inline constexpr DISPID kDispidStartOstrana = 5;
inline constexpr DISPID kEventOnOstranaLoaded = 1;
