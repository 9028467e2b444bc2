// Orvex sample client in JScript: plays a media file on the second monitor
// for a few seconds with a message strip over it, then closes.
//
//   cscript //nologo play.js <media file> [seconds]
//
// Needs the control registered (register.cmd) for the bitness of the script
// host: plain cscript has the bitness of Windows; on 64-bit Windows
// %SystemRoot%\SysWOW64\cscript.exe is the 32-bit host.
// Exit status: 0 played; 1 wrong use; 2 control not registered; 3 only one
// monitor; 4 the file is missing; 5 the device refused the file.
var args = WScript.Arguments;
if (args.length < 1) {
  WScript.Echo("usage: cscript //nologo play.js <media file> [seconds]");
  WScript.Quit(1);
}
var clip = args(0);
var seconds = args.length > 1 ? parseInt(args(1), 10) : 5;
var files = new ActiveXObject("Scripting.FileSystemObject");

var player;
try {
  player = new ActiveXObject("Orvex.Lumivox");
} catch (e) {
  WScript.Echo("Orvex.Lumivox cannot be created (error 0x" + (e.number >>> 0).toString(16) + ").");
  WScript.Echo("Run register.cmd as administrator, and run this script with the cscript of");
  WScript.Echo("the same bitness as the registered control (see reference.html, Registration).");
  WScript.Quit(2);
}

// The control answers 1 or 0; compare with 0.
if (player.Initialize() == 0) {
  WScript.Echo("Initialize returned false: Windows reports one monitor. Connect the television");
  WScript.Echo("as a second monitor and extend the desktop onto it, then run this again.");
  WScript.Quit(3);
}

// The package's sample logo, shown on the television until the picture starts.
player.Logo = files.BuildPath(files.GetParentFolderName(WScript.ScriptFullName), "..\\logo.jpg");

player.FileName = clip;
if (player.Open() == 0) {
  if (files.FileExists(clip)) {
    WScript.Echo("The file exists, but the media device refused it: no MCI driver or decoder on");
    WScript.Echo("this Windows plays this kind of file: " + clip);
    finish(5);
  }
  WScript.Echo("The file does not exist: " + clip);
  finish(4);
}
WScript.Echo("opened, length " + player.MediaLength);

player.Message = "Orvex sample (JScript): now playing";
player.MsgLocation = 0;     // lBottom
player.MsgActionStyle = 0;  // aRightToLeft
player.MsgSpeed = 950;
player.MsgRepeat = 1;
player.DisplayMessage();

// The control's timers (its status poller, the moving strip) run only while
// this thread dispatches window messages. WScript.Sleep does that while it
// waits. A script host without it (Wine's) has no other wait that does, short
// of a modal box that could open on the television: it waits in a notice that
// closes itself after the remaining seconds, while the medium plays on and the
// status stands still.
var reported = false;
for (var tick = 0; tick < seconds * 10; tick++) {
  if (!pause100()) {
    new ActiveXObject("WScript.Shell").Popup("Orvex is playing " + clip,
                                             Math.max(1, Math.round(seconds - tick / 10)), "Orvex sample", 64);
    break;
  }
  var position = player.MediaPosition;
  if (!reported && player.MediaStatus == 2 && position > 0) {
    WScript.Echo("playing, position " + position);
    reported = true;
  }
}
WScript.Echo("status " + player.MediaStatus + ", position " + player.MediaPosition);
player.Close();
finish(0);

// Waits 100 ms while messages are dispatched; false when this host cannot sleep.
function pause100() {
  try {
    WScript.Sleep(100);
    return true;
  } catch (e) {
    return false;
  }
}

// Ends the control's work, releases it and quits with the status.
function finish(status) {
  player.CloseControl();
  player = null;
  if (status == 0) WScript.Echo("closed");
  WScript.Quit(status);
}
