// The registered control driven by a real late-bound client: the system's
// script host runs lumivox_client.vbs, which creates "Orvex.Lumivox" with
// CreateObject and reaches every member by name through IDispatch, the way
// scripts and script-hosting containers do. The script prints one line per
// check ("ok <name>" or "FAIL <name>: <detail>") and quits with the number of
// failures; the tests below read those lines group by group, so a check that
// the script skipped (an error swallowed by On Error Resume Next) fails too.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/win/TestSupport.h"
#include "win/OwnedHandle.h"

namespace {

constexpr DWORD kScriptTimeoutMs = 180000;

struct ScriptRun {
  bool started = false;
  bool finished = false;
  DWORD exitCode = 0;
  std::string output;
  int aboutWindowsClosed = 0;
  std::map<std::string, std::string> checks;  // name -> "" when ok, else the detail
  std::string summary;
};

struct AboutSearch {
  DWORD processId;
  int closed;
};

// AboutOrvex is modal: closes an About window of the script's process so the
// call returns, as a user pressing its close box would.
BOOL CALLBACK CloseAboutWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<AboutSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[64] = {};
  if (owner == search->processId && IsWindowVisible(window) &&
      GetWindowTextA(window, title, sizeof(title)) > 0 &&
      std::string(title) == "About Orvex") {
    PostMessageA(window, WM_CLOSE, 0, 0);
    ++search->closed;
  }
  return TRUE;
}

void DrainPipe(HANDLE pipe, std::string& output) {
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    char buffer[4096];
    DWORD read = 0;
    if (!ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) || read == 0) return;
    output.append(buffer, read);
  }
}

void ParseLines(ScriptRun& run) {
  size_t start = 0;
  while (start < run.output.size()) {
    size_t end = run.output.find('\n', start);
    if (end == std::string::npos) end = run.output.size();
    std::string line = run.output.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.rfind("ok ", 0) == 0) {
      run.checks[line.substr(3)] = "";
    } else if (line.rfind("FAIL ", 0) == 0) {
      const size_t colon = line.find(": ", 5);
      const std::string name = line.substr(5, colon == std::string::npos ? colon : colon - 5);
      run.checks[name] = colon == std::string::npos ? "failed" : line.substr(colon + 2);
    } else if (line.rfind("summary: ", 0) == 0) {
      run.summary = line.substr(9);
    }
  }
}

// Runs "cscript //nologo <script>" with its output on a pipe, closing About
// windows as they appear, until it ends or the time is up.
ScriptRun RunScript(const std::string& script) {
  ScriptRun run;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  TKernelHandle readEnd, writeEnd;
  if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0)) return run;
  SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd.Get();
  startup.hStdError = writeEnd.Get();
  PROCESS_INFORMATION process{};
  std::string commandLine = "cscript.exe //nologo \"" + script + "\"";
  run.started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &process) != FALSE;
  writeEnd.Reset();  // the child holds the only write end: the pipe ends with it
  if (!run.started) return run;
  const TKernelHandle thread(process.hThread), child(process.hProcess);

  AboutSearch search{process.dwProcessId, 0};
  const DWORD start = GetTickCount();
  for (;;) {
    DrainPipe(readEnd.Get(), run.output);
    EnumWindows(CloseAboutWindow, reinterpret_cast<LPARAM>(&search));
    if (WaitForSingleObject(child.Get(), 50) == WAIT_OBJECT_0) {
      run.finished = true;
      break;
    }
    if (GetTickCount() - start >= kScriptTimeoutMs) break;
  }
  if (run.finished) {
    GetExitCodeProcess(child.Get(), &run.exitCode);
  } else {
    TerminateProcess(child.Get(), 1);
    WaitForSingleObject(child.Get(), 5000);
  }
  DrainPipe(readEnd.Get(), run.output);
  run.aboutWindowsClosed = search.closed;
  ParseLines(run);
  return run;
}

class ScriptClient : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    registered_ = Regsvr32(BuildOcxPath());
    if (registered_) run_ = new ScriptRun(RunScript(TestDataPath("lumivox_client.vbs")));
  }
  static void TearDownTestSuite() {
    delete run_;
    run_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(registered_) << "regsvr32 /s failed for " << BuildOcxPath();
    ASSERT_TRUE(run_->started) << "cscript.exe did not start";
    ASSERT_TRUE(run_->finished) << "the script did not end within " << kScriptTimeoutMs
                                << " ms; output so far:\n"
                                << run_->output;
  }

  // Every named check was printed by the script, and as passed.
  static void ExpectPassed(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      const auto found = run_->checks.find(name);
      if (found == run_->checks.end()) {
        ADD_FAILURE() << "the script printed no line for \"" << name << "\"";
      } else {
        EXPECT_EQ(found->second, "") << "check \"" << name << "\" failed";
      }
    }
  }

  static bool registered_;
  static ScriptRun* run_;
};

bool ScriptClient::registered_ = false;
ScriptRun* ScriptClient::run_ = nullptr;

TEST_F(ScriptClient, RunsToTheEndAndQuitsWithTheNumberOfFailures) {
  int failed = 0;
  for (const auto& check : run_->checks) {
    if (!check.second.empty()) ++failed;
  }
  EXPECT_FALSE(run_->summary.empty()) << "no summary line; output:\n" << run_->output;
  EXPECT_EQ(run_->summary, std::to_string(run_->checks.size()) + " checks, " +
                               std::to_string(failed) + " failed");
  EXPECT_EQ(run_->exitCode, static_cast<DWORD>(failed)) << run_->output;
  EXPECT_EQ(failed, 0) << run_->output;
}

TEST_F(ScriptClient, CreatesTheControlByProgIdWithItsTypeInformation) {
  ExpectPassed({"create Orvex.Lumivox", "type name is ILumivox"});
}

TEST_F(ScriptClient, FreshObjectReadsItsDefaults) {
  ExpectPassed({"MediaStatus 0 before anything", "MediaLength 0 before anything",
                "MediaPosition 0 before anything", "MediaRate 0 before anything",
                "Volume 0 before anything", "Mute 0 before anything",
                "FileName empty before anything", "MsgColor starts as button face"});
}

TEST_F(ScriptClient, TextsRoundTripWithTheirBlanks) {
  ExpectPassed({"FileName keeps leading and trailing blanks", "Message keeps its blanks",
                "Message empty again"});
}

TEST_F(ScriptClient, NumbersAreStoredOrClampedIntoRange) {
  ExpectPassed({"Volume -5 clamps to 0", "Volume 250 clamps to 100", "Volume 37 stored",
                "Channel 5 stored unchanged", "Channel 1 stored",
                "MsgSpeed -5000 clamps to -999", "MsgSpeed 5000 clamps to 999",
                "MsgSpeed -12 stored", "MsgRepeat -3 becomes 1",
                "MsgRepeat 6000 clamps to 5000", "MsgInterval -1 becomes 0",
                "MsgInterval 4000 clamps to 3600", "MsgLocation 2 stored",
                "MsgActionStyle 7 stored unchanged", "MsgColor &HFF stored"});
}

TEST_F(ScriptClient, BooleansAreWrittenAsOne) {
  ExpectPassed({"Mute -1 reads back as 1", "Mute 0 reads back as 0",
                "MsgTransparent True reads back as 1", "MsgTransparent False reads back as 0"});
}

TEST_F(ScriptClient, PutOnlyPropertiesCannotBeRead) {
  ExpectPassed({"MsgBackgroundColor put", "MsgBackgroundColor has no getter",
                "Logo put before Initialize", "Logo has no getter"});
}

TEST_F(ScriptClient, MembersWorkWithoutDeviceOrWindow) {
  ExpectPassed({"Open before Initialize returns False", "Play Pause Stop Close without a device",
                "DisplayMessage before Initialize"});
}

TEST_F(ScriptClient, FailuresReachTheScriptsErrObject) {
  ExpectPassed({"TVTest before Initialize raises an error", "error source is Orvex.Lumivox",
                "error description is not empty"});
}

TEST_F(ScriptClient, FontObjectIsSharedWithTheCaller) {
  ExpectPassed({"MsgFont get gives an object", "MsgFont get twice gives the same object",
                "MsgFont.Size = 10.5", "MsgFont.Size read back as set",
                "Set MsgFont to its own object", "MsgFont still the same object",
                "Set MsgFont to a caller's font", "MsgFont then gives the caller's font",
                "Set MsgFont to a non-font raises an error",
                "MsgFont unchanged after the refused put"});
}

TEST_F(ScriptClient, AboutBoxAndCloseControlReturn) {
  ExpectPassed({"AboutOrvex", "CloseControl", "CloseControl twice", "release"});
  RecordProperty("AboutWindowsClosed", run_->aboutWindowsClosed);
}

}  // namespace
