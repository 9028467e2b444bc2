' Orvex sample client in VBScript: plays a media file on the second monitor
' for a few seconds with a message strip over it, then closes.
'
'   cscript //nologo play.vbs <media file> [seconds]
'
' Needs the control registered (register.cmd) for the bitness of the script
' host: plain cscript has the bitness of Windows; on 64-bit Windows
' %SystemRoot%\SysWOW64\cscript.exe is the 32-bit host.
' Exit status: 0 played; 1 wrong use; 2 control not registered; 3 only one
' monitor; 4 the file is missing; 5 the device refused the file.
Option Explicit

Dim player, clip, seconds, files, tick, position, reported

If WScript.Arguments.Count < 1 Then
  WScript.Echo "usage: cscript //nologo play.vbs <media file> [seconds]"
  WScript.Quit 1
End If
clip = WScript.Arguments(0)
seconds = 5
If WScript.Arguments.Count > 1 Then seconds = CInt(WScript.Arguments(1))
Set files = CreateObject("Scripting.FileSystemObject")

On Error Resume Next
Set player = CreateObject("Orvex.Lumivox")
If Err.Number <> 0 Then
  WScript.Echo "Orvex.Lumivox cannot be created (error &H" & Hex(Err.Number) & ")."
  WScript.Echo "Run register.cmd as administrator, and run this script with the cscript of"
  WScript.Echo "the same bitness as the registered control (see reference.html, Registration)."
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
player.Logo = files.BuildPath(files.GetParentFolderName(WScript.ScriptFullName), "..\logo.jpg")

player.FileName = clip
If player.Open = 0 Then
  If files.FileExists(clip) Then
    WScript.Echo "The file exists, but the media device refused it: no MCI driver or decoder on"
    WScript.Echo "this Windows plays this kind of file: " & clip
    Finish 5
  End If
  WScript.Echo "The file does not exist: " & clip
  Finish 4
End If
WScript.Echo "opened, length " & player.MediaLength

player.Message = "Orvex sample (VBScript): now playing"
player.MsgLocation = 0     ' lBottom
player.MsgActionStyle = 0  ' aRightToLeft
player.MsgSpeed = 950
player.MsgRepeat = 1
player.DisplayMessage

' The control's timers (its status poller, the moving strip) run only while
' this thread dispatches window messages. WScript.Sleep does that while it
' waits. A script host without it (Wine's) has no other wait that does, short
' of a modal box that could open on the television: it waits in a notice that
' closes itself after the remaining seconds, while the medium plays on and the
' status stands still.
reported = False
For tick = 1 To seconds * 10
  If Not Pause100 Then
    WaitInNotice seconds - (tick - 1) / 10
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
Finish 0

' Waits 100 ms while messages are dispatched; False when this host cannot sleep.
Function Pause100()
  On Error Resume Next
  WScript.Sleep 100
  Pause100 = (Err.Number = 0)
End Function

Sub WaitInNotice(remaining)
  CreateObject("WScript.Shell").Popup "Orvex is playing " & clip, CInt(remaining + 0.5), "Orvex sample", 64
End Sub

' Ends the control's work, releases it and quits with the status.
Sub Finish(status)
  player.CloseControl
  Set player = Nothing
  If status = 0 Then WScript.Echo "closed"
  WScript.Quit status
End Sub
