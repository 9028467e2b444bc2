// Orvex sample client in C++, bound early: plays a media file on the second
// monitor for a few seconds with a message strip over it, then closes.
//
//   early_bound.exe <media file> [seconds]
//
// Build it with the package's include folder, for the bitness of the control
// you registered, for example with MinGW-w64:
//   g++ -municode -I include samples\early_bound.cpp -o early_bound.exe -lole32 -loleaut32 -luuid
// or with Visual C++: cl /EHsc /I include samples\early_bound.cpp ole32.lib oleaut32.lib uuid.lib
// Exit status: 0 played; 1 wrong use; 2 control not registered; 3 only one
// monitor; 4 the file is missing; 5 the device refused the file.
#include <initguid.h>  // in exactly one source file: defines CLSID_Lumivox and IID_ILumivox

#include "Orvex.h"
#include "OrvexDispids.h"

#include <cguid.h>  // IID_NULL

#include <cstdio>
#include <cwchar>

namespace {

// The control's timers (status poller, message strip) run only while this
// thread dispatches its window messages: wait by running the message loop.
void PumpMessages(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// A property read through IDispatch by its DISPID, as a container that holds
// only the control's IDispatch does it.
LONG ReadByDispid(IDispatch* control, DISPID id) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  if (FAILED(control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                             nullptr, nullptr)) ||
      FAILED(VariantChangeType(&result, &result, 0, VT_I4))) {
    return -1;
  }
  return result.lVal;
}

bool IsRegularFile(const wchar_t* name) {
  const DWORD attributes = GetFileAttributesW(name);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

int Play(ILumivox* player, const wchar_t* clip, int seconds) {
  VARIANT_BOOL ok = 0;
  // Booleans come back as 1 or 0: compare with 0.
  if (FAILED(player->Initialize(&ok)) || ok == 0) {
    std::printf("Initialize returned false: Windows reports one monitor. Connect the television\n"
                "as a second monitor and extend the desktop onto it, then run this again.\n");
    return 3;
  }
  BSTR name = SysAllocString(clip);
  player->put_FileName(name);
  SysFreeString(name);
  if (FAILED(player->Open(&ok)) || ok == 0) {
    if (!IsRegularFile(clip)) {
      std::printf("The file does not exist: %ls\n", clip);
      return 4;
    }
    std::printf("The file exists, but the media device refused it: no MCI driver or decoder on\n"
                "this Windows plays this kind of file: %ls\n",
                clip);
    return 5;
  }
  LONG length = 0;
  player->get_MediaLength(&length);
  std::printf("opened, length %ld\n", static_cast<long>(length));

  BSTR text = SysAllocString(L"Orvex sample (C++): now playing");
  player->put_Message(text);
  SysFreeString(text);
  player->put_MsgSpeed(950);
  player->put_MsgRepeat(1);
  player->DisplayMessage();

  bool reported = false;
  for (int tick = 0; tick < seconds * 10; ++tick) {
    PumpMessages(100);
    TStatus status = sNotReady;
    LONG position = 0;
    player->get_MediaStatus(&status);
    player->get_MediaPosition(&position);
    if (!reported && status == sPlaying && position > 0) {
      std::printf("playing, position %ld\n", static_cast<long>(position));
      std::fflush(stdout);
      reported = true;
    }
  }
  TStatus status = sNotReady;
  player->get_MediaStatus(&status);
  std::printf("status %d, position %ld\n", static_cast<int>(status),
              static_cast<long>(ReadByDispid(player, DISPID_LUMIVOX_MEDIAPOSITION)));
  player->Close();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 3) {
    std::printf("usage: early_bound <media file> [seconds]\n");
    return 1;
  }
  const int seconds = argc == 3 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 5;
  CoInitialize(nullptr);  // a single-threaded apartment: the control's own
  ILumivox* player = nullptr;
  const HRESULT hr = CoCreateInstance(CLSID_Lumivox, nullptr, CLSCTX_INPROC_SERVER, IID_ILumivox,
                                      reinterpret_cast<void**>(&player));
  if (FAILED(hr)) {
    std::printf("Orvex.Lumivox cannot be created (error 0x%08lx). Run register.cmd as administrator,\n"
                "and build this sample for the bitness of the registered control.\n",
                static_cast<unsigned long>(hr));
    CoUninitialize();
    return 2;
  }
  const int status = Play(player, argv[1], seconds);
  player->CloseControl();
  player->Release();
  if (status == 0) std::printf("closed\n");
  CoUninitialize();
  return status;
}
