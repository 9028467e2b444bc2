#include "tests/win/TestSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "win/OwnedHandle.h"

namespace {

class TRegisterBuildOcx : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(Regsvr32(BuildOcxPath())) << BuildOcxPath(); }
};

// RGB of the quadrant a pixel lies in.
void QuadrantColor(int x, int y, int width, int height, uint8_t rgb[3]) {
  static const uint8_t colors[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  const int q = (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0);
  std::memcpy(rgb, colors[q], 3);
}

template <typename T>
void Put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

}  // namespace

std::string TestDataPath(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + name;
}

std::string BuildOcxPath() {
  char full[MAX_PATH] = {};
  GetFullPathNameA(TestDataPath("..\\..\\Orvex.OCX").c_str(), MAX_PATH, full, nullptr);
  return full;
}

int RunProgram(const std::string& commandLine, DWORD timeoutMs) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  const TKernelHandle thread(process.hThread), child(process.hProcess);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(child.Get(), timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(child.Get(), &code);
  } else {
    TerminateProcess(child.Get(), 1);
  }
  return static_cast<int>(code);
}

bool Regsvr32(const std::string& path, bool unregister) {
  return RunProgram(std::string("regsvr32.exe /s ") + (unregister ? "/u " : "") + "\"" + path +
                    "\"") == 0;
}

std::string MakeTempFolder(const char* name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

std::string QuadrantBitmapFile(int width, int height) {
  const uint32_t stride = (width * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * height;
  std::string out = "BM";
  Put<uint32_t>(out, 14 + 40 + imageSize);
  Put<uint32_t>(out, 0);
  Put<uint32_t>(out, 14 + 40);
  Put<uint32_t>(out, 40);
  Put<int32_t>(out, width);
  Put<int32_t>(out, height);  // bottom-up rows
  Put<uint16_t>(out, 1);
  Put<uint16_t>(out, 24);
  for (int i = 0; i < 6; ++i) Put<uint32_t>(out, i == 1 ? imageSize : 0);
  for (int row = height - 1; row >= 0; --row) {
    std::string line(stride, '\0');
    for (int x = 0; x < width; ++x) {
      uint8_t rgb[3];
      QuadrantColor(x, row, width, height, rgb);
      line[x * 3] = static_cast<char>(rgb[2]);
      line[x * 3 + 1] = static_cast<char>(rgb[1]);
      line[x * 3 + 2] = static_cast<char>(rgb[0]);
    }
    out += line;
  }
  return out;
}

std::string QuadrantJpegFile(int width, int height) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(width * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < width; ++x) QuadrantColor(x, info.next_scanline, width, height, &row[x * 3]);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

namespace {

// A number after "key" in a /proc text file; -1 when it is not there.
int ProcNumber(const std::string& file, const char* key) {
  FILE* f = std::fopen(file.c_str(), "r");
  if (!f) return -1;
  char line[256];
  int value = -1;
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, key, std::strlen(key)) == 0) value = std::atoi(line + std::strlen(key));
  }
  std::fclose(f);
  return value;
}

}  // namespace

// Wine opens files in its server, so "/proc/self" there is the server. The
// test's own Linux process is found as the one (besides the server) holding a
// descriptor of a file that only this test opened.
namespace {

bool SameFile(HANDLE a, const std::string& path) {
  const TKernelHandle b(CreateFileA(path.c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
  if (!b) return false;
  BY_HANDLE_FILE_INFORMATION x{}, y{};
  return GetFileInformationByHandle(a, &x) && GetFileInformationByHandle(b.Get(), &y) &&
         x.nFileIndexLow == y.nFileIndexLow && x.nFileIndexHigh == y.nFileIndexHigh &&
         x.dwVolumeSerialNumber == y.dwVolumeSerialNumber;
}

template <typename Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (entry.cFileName[0] != '.') visit(std::string(entry.cFileName));
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

}  // namespace

std::string OwnProcFolder() {
  // The kernel keeps the first 15 characters of the program's name.
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char program[16] = {};
  std::strncpy(program, std::strrchr(path, '\\') + 1, 15);
  const std::string marker = MakeTempFolder("orvex pid marker") + "\\marker";
  const TKernelHandle file(CreateFileA(marker.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), "x", 1, &written, nullptr);  // the process now holds the descriptor
  std::string found;
  ForEachEntry("Z:\\proc", [&](const std::string& pid) {
    const std::string folder = "Z:\\proc\\" + pid;
    if (!found.empty() || pid.find_first_not_of("0123456789") != std::string::npos) return;
    char name[64] = {};
    FILE* comm = std::fopen((folder + "\\comm").c_str(), "r");
    if (!comm) return;
    std::fgets(name, sizeof name, comm);
    std::fclose(comm);
    if (std::strncmp(name, program, std::strlen(program)) != 0) return;
    ForEachEntry(folder + "\\fd", [&](const std::string& fd) {
      if (found.empty() && SameFile(file.Get(), folder + "\\fd\\" + fd)) found = folder;
    });
  });
  return found;
}

namespace {

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

TProcessUsage ProcessUsage(const std::string& proc) {
  TProcessUsage usage{0, 0, ProcNumber(proc + "\\status", "VmRSS:")};
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&usage.windows));
  for (HWND w = nullptr; (w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr));) {
    CountWindow(w, reinterpret_cast<LPARAM>(&usage.windows));
  }
  ForEachEntry(proc + "\\fd", [&](const std::string&) { ++usage.fds; });
  return usage;
}


bool RegisterBuildOcxFirst() {
  static const bool added =
      (::testing::AddGlobalTestEnvironment(new TRegisterBuildOcx), true);
  return added;
}
