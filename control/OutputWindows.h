// The module's one pair of output windows: the video window on the television
// and the message strip over it. Shared by every control object of the
// process; Initialize creates the pair and CloseControl destroys it. The pair
// belongs to the thread that made it: only that thread makes it again or
// destroys it, and objects on other threads use the pair as it stands (their
// Initialize places it, their CloseControl leaves it).
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "control/DisplayLayout.h"

class TFormVideo;
class TFormMessage;

class TOutputWindows {
 public:
  TOutputWindows();
  ~TOutputWindows();
  TOutputWindows(const TOutputWindows&) = delete;
  TOutputWindows& operator=(const TOutputWindows&) = delete;

  // Creates a new hidden pair, destroying an earlier one first; keeps the
  // pair of another thread.
  void Create();
  // Each lets its window close, stops what runs on it, closes and frees it;
  // a window that does not exist, or is another thread's, is skipped.
  void DestroyMessage();
  void DestroyVideo();
  void Destroy();
  // Places the pair for the monitors, in the system's order, and remembers
  // the layout. The video window goes right of monitor 0 at the top edge, with
  // monitor 1's size: monitor 1's area when it lies directly right of monitor
  // 0 with the same top. A strip whose run goes on is laid along it again; an
  // idle one follows at its next run. Where the layout has no place for the
  // television (VideoWindowPlacement) both are held hidden, not moved, and
  // come back when it returns. Without windows only the layout is remembered.
  void Place(const std::vector<RECT>& monitors);
  // Places the pair again when the monitors differ from the layout last
  // placed for.
  void Follow(const std::vector<RECT>& monitors);

  // The current windows, or null.
  TFormVideo* Video() const { return video_.get(); }
  TFormMessage* Message() const { return message_.get(); }
  bool Exist() const { return video_ || message_; }

 private:
  std::unique_ptr<TFormVideo> video_;
  std::unique_ptr<TFormMessage> message_;
  MonitorLayout placedFor_;
  DWORD owner_ = 0;  // the thread that made the pair

  bool OwnedByThisThread() const;
};

// The module's owner. It lives until the library is unloaded, which destroys
// the pair through Destroy; at process exit the windows go with the process.
TOutputWindows& OutputWindows();

// The module's video window and message window, or null.
inline TFormVideo* FormVideo() { return OutputWindows().Video(); }
inline TFormMessage* FormMessage() { return OutputWindows().Message(); }
