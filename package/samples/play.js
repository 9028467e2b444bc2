// Orvex sample client in JScript: plays a media file on the second monitor
// for a few seconds with a message strip over it, then closes.
//
//   cscript //nologo play.js <media file> [seconds]
//
// Needs the control registered (register.cmd) for the bitness of the script
// host that runs this: the 32-bit control for %SystemRoot%\SysWOW64\cscript.exe,
// the 64-bit control for %SystemRoot%\System32\cscript.exe on 64-bit Windows.
// Exit status: 0 played; 1 wrong use; 2 control not registered;
// 3 only one monitor; 4 file not opened.
var args = WScript.Arguments;
if (args.length < 1) {
  WScript.Echo("usage: cscript //nologo play.js <media file> [seconds]");
  WScript.Quit(1);
}
var clip = args(0);
var seconds = args.length > 1 ? parseInt(args(1), 10) : 5;

var player;
try {
  player = new ActiveXObject("Orvex.Lumivox");
} catch (e) {
  WScript.Echo("Orvex.Lumivox cannot be created (error 0x" + (e.number >>> 0).toString(16) + ").");
  WScript.Echo("Run register.cmd as administrator, and run this script with the cscript of");
  WScript.Echo("the same bitness as the registered control (see README.txt).");
  WScript.Quit(2);
}

if (!player.Initialize()) {
  WScript.Echo("Initialize returned false: Windows reports one monitor. Connect the television");
  WScript.Echo("as a second monitor and extend the desktop onto it, then run this again.");
  WScript.Quit(3);
}

// The package's sample logo, shown on the television until the picture starts.
var folder = new ActiveXObject("Scripting.FileSystemObject").GetParentFolderName(WScript.ScriptFullName);
player.Logo = folder + "\\..\\logo.jpg";

player.FileName = clip;
if (!player.Open()) {
  WScript.Echo("The file could not be opened: " + clip);
  WScript.Echo("Check the name; if it is right, Windows lacks a decoder for this kind of file.");
  player.CloseControl();
  WScript.Quit(4);
}
WScript.Echo("opened, length " + player.MediaLength);

player.Message = "Orvex sample (JScript): now playing";
player.MsgLocation = 0;     // lBottom
player.MsgActionStyle = 0;  // aRightToLeft
player.MsgSpeed = 5;
player.MsgRepeat = 1;
player.DisplayMessage();

// The control polls the device and moves the strip on its timers, which run
// while the script host waits in WScript.Sleep. A host without WScript.Sleep
// (Wine's) gets a notice that closes itself; its wait does not run them.
var reported = false;
for (var tick = 0; tick < seconds * 10; tick++) {
  if (!pause100()) {
    WScript.Echo("this script host cannot sleep: waiting without polling the position");
    new ActiveXObject("WScript.Shell").Popup("Orvex is playing " + clip, seconds, "Orvex sample", 64);
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
player.CloseControl();
player = null;
WScript.Echo("closed");

// Waits 100 ms; false when this script host cannot sleep.
function pause100() {
  try {
    WScript.Sleep(100);
    return true;
  } catch (e) {
    return false;
  }
}
