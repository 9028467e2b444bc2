#include "TestSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

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
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
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
