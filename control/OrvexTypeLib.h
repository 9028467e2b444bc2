// The identifiers of the Orvex type library and the dual interface ILumivox as
// C++ sees it. The function table order is part of the contract with hosts.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "win/ControlTypes.h"

// {F0D84E70-524B-4CE8-9820-8F60385F5B24}
inline constexpr GUID LIBID_Orvex = {
    0xF0D84E70, 0x524B, 0x4CE8, {0x98, 0x20, 0x8F, 0x60, 0x38, 0x5F, 0x5B, 0x24}};
// {6BBB3AD5-391F-4198-B041-8422A076E0ED}
inline constexpr GUID IID_ILumivox = {
    0x6BBB3AD5, 0x391F, 0x4198, {0xB0, 0x41, 0x84, 0x22, 0xA0, 0x76, 0xE0, 0xED}};
// {E69592D9-7EE0-4495-BF4C-66DAAE8B2269}
inline constexpr GUID DIID_ILumivoxEvents = {
    0xE69592D9, 0x7EE0, 0x4495, {0xBF, 0x4C, 0x66, 0xDA, 0xAE, 0x8B, 0x22, 0x69}};
// {7140FE0F-4CE8-44F7-93E1-0FE4C8781694}
inline constexpr GUID CLSID_Lumivox = {
    0x7140FE0F, 0x4CE8, 0x44F7, {0x93, 0xE1, 0x0F, 0xE4, 0xC8, 0x78, 0x16, 0x94}};
// {5A4ABB91-6679-47C4-ABD4-EB7476EF21B6}
inline constexpr GUID GUID_TChannel = {
    0x5A4ABB91, 0x6679, 0x47C4, {0xAB, 0xD4, 0xEB, 0x74, 0x76, 0xEF, 0x21, 0xB6}};
// {DF5FB4A0-0AAF-4968-AEDC-75CD8BBF7C57}
inline constexpr GUID GUID_TLocation = {
    0xDF5FB4A0, 0x0AAF, 0x4968, {0xAE, 0xDC, 0x75, 0xCD, 0x8B, 0xBF, 0x7C, 0x57}};
// {991C8CA0-694E-483D-AF61-68DB67B0DC2C}
inline constexpr GUID GUID_TActionStyle = {
    0x991C8CA0, 0x694E, 0x483D, {0xAF, 0x61, 0x68, 0xDB, 0x67, 0xB0, 0xDC, 0x2C}};
// {0802DA01-E940-4EB0-A48D-D0217EDF1AE2}
inline constexpr GUID GUID_TStatus = {
    0x0802DA01, 0xE940, 0x4EB0, {0xA4, 0x8D, 0xD0, 0x21, 0x7E, 0xDF, 0x1A, 0xE2}};

inline constexpr WORD kOrvexLibMajor = 1;
inline constexpr WORD kOrvexLibMinor = 0;
inline constexpr LCID kOrvexLibLcid = 0x409;

// Dispatch identifiers of ILumivox.
enum : DISPID {
  DISPID_LUMIVOX_MSGCOLOR = -501,
  DISPID_LUMIVOX_MSGFONT = -512,
  DISPID_LUMIVOX_ABOUT = -552,
  DISPID_LUMIVOX_MEDIAPOSITION = 1,
  DISPID_LUMIVOX_FILENAME = 2,
  DISPID_LUMIVOX_CHANNEL = 3,
  DISPID_LUMIVOX_CLOSECONTROL = 4,
  DISPID_LUMIVOX_INITIALIZE = 5,
  DISPID_LUMIVOX_OPEN = 6,
  DISPID_LUMIVOX_PLAY = 7,
  DISPID_LUMIVOX_PAUSE = 8,
  DISPID_LUMIVOX_CLOSE = 9,
  DISPID_LUMIVOX_TVTEST = 10,
  DISPID_LUMIVOX_VOLUME = 11,
  DISPID_LUMIVOX_MUTE = 12,
  DISPID_LUMIVOX_STOP = 13,
  DISPID_LUMIVOX_MESSAGE = 14,
  DISPID_LUMIVOX_DISPLAYMESSAGE = 15,
  DISPID_LUMIVOX_MSGSPEED = 16,
  DISPID_LUMIVOX_MSGLOCATION = 17,
  DISPID_LUMIVOX_MSGACTIONSTYLE = 18,
  DISPID_LUMIVOX_MSGREPEAT = 19,
  DISPID_LUMIVOX_MSGINTERVAL = 20,
  DISPID_LUMIVOX_MSGTRANSPARENT = 21,
  DISPID_LUMIVOX_MSGBACKGROUNDCOLOR = 22,
  DISPID_LUMIVOX_MEDIASTATUS = 23,
  DISPID_LUMIVOX_MEDIALENGTH = 24,
  DISPID_LUMIVOX_MEDIARATE = 26,
  DISPID_LUMIVOX_LOGO = 27,
};

// The dual interface, in function-table order after IDispatch's seven.
struct ILumivox : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_MsgColor(OLE_COLOR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgColor(OLE_COLOR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MsgFont(IFontDisp** Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgFont(IFontDisp* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE putref_MsgFont(IFontDisp* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE AboutOrvex() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FileName(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_FileName(BSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE CloseControl() = 0;
  virtual HRESULT STDMETHODCALLTYPE Initialize(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Open(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Play() = 0;
  virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual HRESULT STDMETHODCALLTYPE TVTest() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Channel(TChannel* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Channel(TChannel Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Volume(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Volume(LONG Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Mute(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Mute(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Message(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Message(BSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE DisplayMessage() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MsgSpeed(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgSpeed(LONG Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MsgLocation(TLocation* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgLocation(TLocation Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MsgActionStyle(TActionStyle* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgActionStyle(TActionStyle Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MsgRepeat(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgRepeat(LONG Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MsgInterval(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgInterval(LONG Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MsgTransparent(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgTransparent(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MsgBackgroundColor(OLE_COLOR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MediaStatus(TStatus* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MediaLength(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MediaRate(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MediaPosition(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MediaPosition(LONG Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Logo(BSTR Value) = 0;
};
