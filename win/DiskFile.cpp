#include "win/DiskFile.h"

#include "win/FileNameRules.h"

TKernelHandle OpenDiskFile(const std::wstring& name, DWORD access) {
  if (!MayNameDiskFile(name)) return {};
  TKernelHandle file(CreateFileW(name.c_str(), access,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || GetFileType(file.Get()) != FILE_TYPE_DISK) return {};
  return file;
}
