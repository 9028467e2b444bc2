' Orvex sample client in VBScript: plays a media file on the second monitor
' for a few seconds with a message strip over it, then closes.
'
'   cscript //nologo play.vbs <media file> [seconds]
'
' Needs the control registered (register.cmd) for the bitness of the script
' host that runs this: the 32-bit control for %SystemRoot%\SysWOW64\cscript.exe,
' the 64-bit control for %SystemRoot%\System32\cscript.exe on 64-bit Windows.
' Exit status: 0 played; 1 wrong use; 2 control not registered;
' 3 only one monitor; 4 file not opened.
Option Explicit

Dim player, clip, seconds, folder, logo, tick, position, reported

If WScript.Arguments.Count < 1 Then
  WScript.Echo "usage: cscript //nologo play.vbs <media file> [seconds]"
  WScript.Quit 1
End If
clip = WScript.Arguments(0)
seconds = 5
If WScript.Arguments.Count > 1 Then seconds = CInt(WScript.Arguments(1))

On Error Resume Next
Set player = CreateObject("Orvex.Lumivox")
If Err.Number <> 0 Then
  WScript.Echo "Orvex.Lumivox cannot be created (error &H" & Hex(Err.Number) & ")."
  WScript.Echo "Run register.cmd as administrator, and run this script with the cscript of"
  WScript.Echo "the same bitness as the registered control (see README.txt)."
  WScript.Quit 2
End If
On Error GoTo 0

' The control answers 1 for True, and Not 1 is -2, which is true again: compare
' its booleans with 0 instead of negating them.
If player.Initialize = 0 Then
  WScript.Echo "Initialize returned False: Windows reports one monitor. Connect the television"
  WScript.Echo "as a second monitor and extend the desktop onto it, then run this again."
  WScript.Quit 3
End If

' The package's sample logo, shown on the television until the picture starts.
folder = CreateObject("Scripting.FileSystemObject").GetParentFolderName(WScript.ScriptFullName)
logo = folder & "\..\logo.jpg"
player.Logo = logo

player.FileName = clip
If player.Open = 0 Then
  WScript.Echo "The file could not be opened: " & clip
  WScript.Echo "Check the name; if it is right, Windows lacks a decoder for this kind of file."
  player.CloseControl
  WScript.Quit 4
End If
WScript.Echo "opened, length " & player.MediaLength

player.Message = "Orvex sample (VBScript): now playing"
player.MsgLocation = 0     ' lBottom
player.MsgActionStyle = 0  ' aRightToLeft
player.MsgSpeed = 5
player.MsgRepeat = 1
player.DisplayMessage

' The control polls the device and moves the strip on its timers, which run
' while the script host waits in WScript.Sleep. A host without WScript.Sleep
' (Wine's) waits in a message box instead, which runs them too, until OK.
reported = False
For tick = 1 To seconds * 10
  If Not Pause100 Then
    MsgBox "Orvex is playing " & clip & vbCrLf & "Press OK to stop.", 64, "Orvex sample"
    Exit For
  End If
  position = player.MediaPosition
  If Not reported And player.MediaStatus = 2 And position > 0 Then
    WScript.Echo "playing, position " & position
    reported = True
  End If
Next
WScript.Echo "status " & player.MediaStatus & ", position " & player.MediaPosition

player.Close
player.CloseControl
Set player = Nothing
WScript.Echo "closed"

' Waits 100 ms; False when this script host cannot sleep.
Function Pause100()
  On Error Resume Next
  WScript.Sleep 100
  Pause100 = (Err.Number = 0)
End Function
