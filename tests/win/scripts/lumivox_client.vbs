' A late-bound automation client of Orvex.Lumivox, as a script host sees the
' control: every call goes through IDispatch by name. Run by cscript (see
' ScriptClientTest.cpp). Prints one line per check, "ok <name>" or
' "FAIL <name>: <detail>", then a summary line, and quits with the number of
' failed checks.
'
' Wine's VBScript sets the rules kept here: variables are declared at the top
' (not inside blocks), there is no ChrW/AscW, and every printed line is plain
' ASCII (console output of other text can crash cscript under code page 936).
' Booleans are never printed either: CStr(True) is localised. The control is
' never initialised, so no window appears on the second monitor.
Option Explicit

Dim o, f, g, ref, other, v, r, n, src, desc, failures, total, fontOk

failures = 0
total = 0

On Error Resume Next

' --- helpers ---------------------------------------------------------------

' The text with every character outside printable ASCII replaced by "?".
' (Asc gives a double-byte character of code page 936 as a negative number.)
Function Ascii(text)
  Dim i, c, code, out
  On Error Resume Next
  out = ""
  For i = 1 To Len(text)
    c = Mid(text, i, 1)
    code = 63
    code = Asc(c)
    If code >= 32 And code <= 126 Then
      out = out & c
    Else
      out = out & "?"
    End If
  Next
  Ascii = out
End Function

' A value for a detail line: its variant type and, where it has one, its
' text. Not TypeName: Wine's raises error 445 for an unsigned long, which is
' what an OLE_COLOR property hands a script.
Function Show(value)
  On Error Resume Next
  If IsObject(value) Then
    Show = "object"
  ElseIf IsEmpty(value) Then
    Show = "Empty"
  ElseIf IsNull(value) Then
    Show = "Null"
  ElseIf VarType(value) = vbString Then
    Show = "String [" & Ascii(value) & "]"
  ElseIf VarType(value) = vbBoolean Then
    Show = "Boolean " & CStr(CInt(value))
  Else
    Show = "VarType " & VarType(value) & " " & Ascii(CStr(value))
  End If
End Function

Function ErrText(number, description)
  ErrText = "error &H" & Hex(number) & " " & Ascii(description)
End Function

Sub Report(name, passed, detail)
  total = total + 1
  If passed Then
    WScript.Echo "ok " & name
  Else
    failures = failures + 1
    WScript.Echo "FAIL " & name & ": " & detail
  End If
End Sub

' The statement before the call succeeded (Err is still clear).
Sub ExpectNoError(name)
  If Err.Number <> 0 Then
    Report name, False, ErrText(Err.Number, Err.Description)
  Else
    Report name, True, ""
  End If
  Err.Clear
End Sub

' The statement before the call raised an automation error.
Sub ExpectError(name)
  If Err.Number <> 0 Then
    Report name, True, ""
  Else
    Report name, False, "no error raised"
  End If
  Err.Clear
End Sub

' actual, read just before the call without an error, is a number equal to
' expected (booleans count as their stored 16-bit value: 1 stays 1).
Sub ExpectNumber(name, actual, expected)
  Dim readError, equal, detail
  readError = Err.Number
  If readError <> 0 Then
    Report name, False, ErrText(readError, Err.Description)
    Err.Clear
    Exit Sub
  End If
  equal = False
  If Not IsObject(actual) And Not IsEmpty(actual) And Not IsNull(actual) Then
    If IsNumeric(actual) Then equal = (CDbl(actual) = CDbl(expected))
  End If
  detail = "got " & Show(actual) & ", expected " & CStr(expected)
  Err.Clear
  Report name, equal, detail
End Sub

' actual, read just before the call without an error, is a string equal to
' expected, blanks included.
Sub ExpectText(name, actual, expected)
  Dim readError, equal
  readError = Err.Number
  If readError <> 0 Then
    Report name, False, ErrText(readError, Err.Description)
    Err.Clear
    Exit Sub
  End If
  equal = False
  If VarType(actual) = vbString Then equal = (actual = expected)
  Report name, equal, "got " & Show(actual) & ", expected [" & Ascii(expected) & "]"
End Sub

' --- creation by programmatic identifier -------------------------------------

Err.Clear
Set o = CreateObject("Orvex.Lumivox")
If Err.Number <> 0 Or Not IsObject(o) Then
  Report "create Orvex.Lumivox", False, ErrText(Err.Number, Err.Description)
  WScript.Echo "summary: " & total & " checks, " & failures & " failed"
  WScript.Quit failures
End If
Report "create Orvex.Lumivox", True, ""
v = TypeName(o)
ExpectText "type name is ILumivox", v, "ILumivox"

' --- a fresh object -----------------------------------------------------------

v = Empty : Err.Clear : v = o.MediaStatus
ExpectNumber "MediaStatus 0 before anything", v, 0
v = Empty : Err.Clear : v = o.MediaLength
ExpectNumber "MediaLength 0 before anything", v, 0
v = Empty : Err.Clear : v = o.MediaPosition
ExpectNumber "MediaPosition 0 before anything", v, 0
v = Empty : Err.Clear : v = o.MediaRate
ExpectNumber "MediaRate 0 before anything", v, 0
v = Empty : Err.Clear : v = o.Volume
ExpectNumber "Volume 0 before anything", v, 0
v = Empty : Err.Clear : v = o.Mute
ExpectNumber "Mute 0 before anything", v, 0
v = Empty : Err.Clear : v = o.FileName
ExpectText "FileName empty before anything", v, ""
' The button-face system colour, whether the client sees it signed or not.
v = Empty : Err.Clear : v = o.MsgColor
If Err.Number = 0 Then v = Hex(v)
ExpectText "MsgColor starts as button face", v, "8000000F"

' --- texts keep their blanks ---------------------------------------------------

Err.Clear
o.FileName = "  C:\Media Files\clip one.mpg  "
v = Empty : v = o.FileName
ExpectText "FileName keeps leading and trailing blanks", v, "  C:\Media Files\clip one.mpg  "
Err.Clear
o.Message = " Welcome to  the show "
v = Empty : v = o.Message
ExpectText "Message keeps its blanks", v, " Welcome to  the show "
Err.Clear
o.Message = ""
v = Empty : v = o.Message
ExpectText "Message empty again", v, ""

' --- numbers: stored, or clamped into range -------------------------------------

Err.Clear : o.Volume = -5
v = Empty : v = o.Volume
ExpectNumber "Volume -5 clamps to 0", v, 0
Err.Clear : o.Volume = 250
v = Empty : v = o.Volume
ExpectNumber "Volume 250 clamps to 100", v, 100
Err.Clear : o.Volume = 37
v = Empty : v = o.Volume
ExpectNumber "Volume 37 stored", v, 37

' The control writes true as 1, not as the automation -1 (True).
Err.Clear : o.Mute = -1
v = Empty : v = o.Mute
ExpectNumber "Mute -1 reads back as 1", v, 1
Err.Clear : o.Mute = 0
v = Empty : v = o.Mute
ExpectNumber "Mute 0 reads back as 0", v, 0

Err.Clear : o.Channel = 5
v = Empty : v = o.Channel
ExpectNumber "Channel 5 stored unchanged", v, 5
Err.Clear : o.Channel = 1
v = Empty : v = o.Channel
ExpectNumber "Channel 1 stored", v, 1

Err.Clear : o.MsgSpeed = -5000
v = Empty : v = o.MsgSpeed
ExpectNumber "MsgSpeed -5000 clamps to -999", v, -999
Err.Clear : o.MsgSpeed = 5000
v = Empty : v = o.MsgSpeed
ExpectNumber "MsgSpeed 5000 clamps to 999", v, 999
Err.Clear : o.MsgSpeed = -12
v = Empty : v = o.MsgSpeed
ExpectNumber "MsgSpeed -12 stored", v, -12

Err.Clear : o.MsgRepeat = -3
v = Empty : v = o.MsgRepeat
ExpectNumber "MsgRepeat -3 becomes 1", v, 1
Err.Clear : o.MsgRepeat = 6000
v = Empty : v = o.MsgRepeat
ExpectNumber "MsgRepeat 6000 clamps to 5000", v, 5000

Err.Clear : o.MsgInterval = -1
v = Empty : v = o.MsgInterval
ExpectNumber "MsgInterval -1 becomes 0", v, 0
Err.Clear : o.MsgInterval = 4000
v = Empty : v = o.MsgInterval
ExpectNumber "MsgInterval 4000 clamps to 3600", v, 3600

Err.Clear : o.MsgLocation = 2
v = Empty : v = o.MsgLocation
ExpectNumber "MsgLocation 2 stored", v, 2
Err.Clear : o.MsgActionStyle = 7
v = Empty : v = o.MsgActionStyle
ExpectNumber "MsgActionStyle 7 stored unchanged", v, 7

Err.Clear : o.MsgTransparent = True
v = Empty : v = o.MsgTransparent
ExpectNumber "MsgTransparent True reads back as 1", v, 1
Err.Clear : o.MsgTransparent = False
v = Empty : v = o.MsgTransparent
ExpectNumber "MsgTransparent False reads back as 0", v, 0

Err.Clear : o.MsgColor = &HFF
v = Empty : v = o.MsgColor
ExpectNumber "MsgColor &HFF stored", v, 255

' Put-only properties: writing works, reading is no member of the interface.
' A Long literal: VBScript reads &HFF00 as the Integer -256, which does not
' convert to the unsigned OLE_COLOR (error 6, overflow).
Err.Clear : o.MsgBackgroundColor = &HFF00&
ExpectNoError "MsgBackgroundColor put"
Err.Clear : v = o.MsgBackgroundColor
ExpectError "MsgBackgroundColor has no getter"
Err.Clear : o.Logo = "  C:\no such folder\logo.bmp  "
ExpectNoError "Logo put before Initialize"
Err.Clear : v = o.Logo
ExpectError "Logo has no getter"

' --- members that need no device or window ------------------------------------

o.FileName = "C:\no such folder\clip.mpg"
Err.Clear
r = Empty
r = o.Open
ExpectNumber "Open before Initialize returns False", r, 0
Err.Clear
o.Play
o.Pause
o.Stop
o.Close
ExpectNoError "Play Pause Stop Close without a device"
Err.Clear
o.DisplayMessage
ExpectNoError "DisplayMessage before Initialize"

' --- the error convention -------------------------------------------------------

Err.Clear
o.TVTest
n = Err.Number : src = Err.Source : desc = Err.Description
Err.Clear
Report "TVTest before Initialize raises an error", n <> 0, "Err.Number is 0"
Report "error source is Orvex.Lumivox", src = "Orvex.Lumivox", "got [" & Ascii(src) & "]"
Report "error description is not empty", Len(desc) > 0, "empty description"

' --- the font object --------------------------------------------------------------

Err.Clear
Set f = o.MsgFont
fontOk = (Err.Number = 0 And IsObject(f))
Report "MsgFont get gives an object", fontOk, ErrText(Err.Number, Err.Description)
Err.Clear
If fontOk Then
  r = False : r = (o.MsgFont Is f)
  Report "MsgFont get twice gives the same object", r, "another object"
  Err.Clear
  f.Size = 10.5
  ExpectNoError "MsgFont.Size = 10.5"
  ' A fresh font object asked for the same font reports what the system made
  ' of 10.5 points (Wine reports the realised size); the control's object must
  ' report the same, not the whole points the control rounds to for itself.
  Set ref = CreateObject("StdFont")
  ref.Name = f.Name
  ref.Charset = f.Charset
  ref.Bold = f.Bold
  ref.Size = 10.5
  n = Empty : n = ref.Size
  Err.Clear
  v = Empty : v = o.MsgFont.Size
  ExpectNumber "MsgFont.Size read back as set", v, n
  Err.Clear
  Set o.MsgFont = f
  ExpectNoError "Set MsgFont to its own object"
  r = False : r = (o.MsgFont Is f)
  Report "MsgFont still the same object", r, "another object"
  Err.Clear

  Set g = CreateObject("StdFont")
  g.Name = f.Name
  g.Size = 12
  Err.Clear
  Set o.MsgFont = g
  ExpectNoError "Set MsgFont to a caller's font"
  r = False : r = (o.MsgFont Is g)
  Report "MsgFont then gives the caller's font", r, "another object"
  Err.Clear

  Set other = CreateObject("Scripting.Dictionary")
  Err.Clear
  Set o.MsgFont = other
  n = Err.Number
  Err.Clear
  Report "Set MsgFont to a non-font raises an error", n <> 0, "no error raised"
  r = False : r = (o.MsgFont Is g)
  Report "MsgFont unchanged after the refused put", r, "another object"
  Err.Clear
End If

' --- last calls --------------------------------------------------------------------

Err.Clear
o.AboutOrvex
ExpectNoError "AboutOrvex"
Err.Clear
o.CloseControl
ExpectNoError "CloseControl"
Err.Clear
o.CloseControl
ExpectNoError "CloseControl twice"
Err.Clear
Set f = Nothing
Set g = Nothing
Set o = Nothing
ExpectNoError "release"

WScript.Echo "summary: " & total & " checks, " & failures & " failed"
WScript.Quit failures
