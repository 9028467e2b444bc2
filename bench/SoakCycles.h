// The two soak cycles, the control's and the floor's, and what they are
// measured with; used by the soak bench and its short form among the tests.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "win/ComSupport.h"
#include "control/OrvexTypeLib.h"

struct Sample {
  long fds = 0, rssKb = 0, windows = 0;
};

struct Timings {
  // Seconds: whole cycles; Initialize + CloseControl; from the open to playing seen.
  double total = 0, windows = 0, starting = 0;
  long cycles = 0, failures = 0;
  Sample growth;  // summed over this kind's cycles
};

double Now();
void Pump();
// Pumps messages until the condition holds or the seconds have passed.
bool PumpUntil(const std::function<bool()>& done, double seconds);
// Windows of this process: top-level ones with their children, and message-only ones.
long WindowCount();
ComPtr<ILumivox> NewLumivox(const CLSID& clsid);

// Create "Orvex.Lumivox", Initialize, FileName, Open, wait until playing,
// DisplayMessage, Close, CloseControl, release.
void ControlCycle(const CLSID& clsid, BSTR clip, Timings& t);
// The same MCI commands from a plain program into a window of its own.
void FloorCycle(const std::string& shortPath, Timings& t);
