' ClsJPEG driven by ProgID the way a macro drives it. cscript exits 0 even
' when a script dies, so the last line must read "0 failed".
Option Explicit

Dim failures : failures = 0

Sub Check(condition, what)
    If Not condition Then
        failures = failures + 1
        WScript.Echo "FAILED: " & what
    End If
End Sub

Sub CheckError(number, description, what)
    Check Err.Number = number, what & ": Err.Number " & Err.Number & ", expected " & number
    If description <> "" Then Check Err.Description = description, what & ": unexpected description"
    Check Err.Source = "", what & ": Err.Source '" & Err.Source & "' should be empty"
    Err.Clear
End Sub

' Errors raised by the script engine itself (with its own source).
Sub CheckEngineError(number, what)
    Check Err.Number = number, what & ": Err.Number " & Err.Number & ", expected " & number
    Err.Clear
End Sub

Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")

' Non-ASCII texts come from a UTF-16 file (Wine's VBScript has no ChrW).
Dim texts : Set texts = fso.OpenTextFile("ClsJPEG.txt", 1, False, -1)
Dim InvalidSampling : InvalidSampling = texts.ReadLine
Dim InvalidCommentLength : InvalidCommentLength = texts.ReadLine
Dim ChineseCharacter : ChineseCharacter = texts.ReadLine
Dim LatinCharacter : LatinCharacter = texts.ReadLine
texts.Close
Dim folder : folder = fso.BuildPath(fso.GetSpecialFolder(2), "vardolin-vbs-" & Int(Timer * 1000))
fso.CreateFolder folder

Function NewEncoder()
    Set NewEncoder = CreateObject("Vardolin.ClsJPEG")
End Function

On Error Resume Next

' Quality: 1..100 taken, anything else ignored; literals and variables alike.
Dim jpeg : Set jpeg = NewEncoder()
Check Err.Number = 0, "CreateObject(""Vardolin.ClsJPEG""): " & Err.Description
Check jpeg.Quality = 75, "default quality"
jpeg.Quality = 50 : Check jpeg.Quality = 50, "quality 50"
jpeg.Quality = 0 : Check jpeg.Quality = 50, "quality 0 ignored"
jpeg.Quality = 101 : Check jpeg.Quality = 50, "quality 101 ignored"
Dim q : q = 100
jpeg.Quality = q : Check jpeg.Quality = 100, "quality from a variable"
jpeg.Quality = "30" : Check jpeg.Quality = 30, "quality from a numeric string"
jpeg.Quality = 1 : Check jpeg.Quality = 1, "quality 1"
Check Err.Number = 0, "no error from quality: " & Err.Description
Err.Clear

' Sampling factors by reference: variables and literals, unchanged afterwards.
Dim h1, v1 : h1 = 2 : v1 = 2
jpeg.SetSamplingFrequencies h1, v1, 1, 1, 1, 1
Check Err.Number = 0 And h1 = 2 And v1 = 2, "sampling factors from variables"
Err.Clear
jpeg.SetSamplingFrequencies 5, 1, 1, 1, 1, 1
CheckError 1, InvalidSampling, "factor 5"
jpeg.SetSamplingFrequencies 1, 1, 0, 0, 0, 1
CheckError 1, InvalidSampling, "colour with H2 = 0"
jpeg.SetSamplingFrequencies 2, 2, 0, 0, 0, 0
CheckError 0, "", "greyscale"
jpeg.SetSamplingFrequencies 1, 1, 1
CheckEngineError 450, "too few arguments"

' Comment: up to 65535 characters.
jpeg.Comment = "hello"
Check jpeg.Comment = "hello", "comment read back"
jpeg.Comment = String(65536, "a")
CheckError 1, InvalidCommentLength, "comment of 65536 characters"
Check jpeg.Comment = "hello", "failed comment keeps the old one"
jpeg.Comment = String(65535, "a")
CheckError 0, "", "comment of 65535 characters"

' SaveFile: status 1 for an empty name, 2 for an existing file, errors raised.
Set jpeg = NewEncoder()
Dim target : target = fso.BuildPath(folder, "picture.jpg")
Check jpeg.SaveFile("") = 1, "empty name gives 1"
Dim status : status = jpeg.SaveFile(target)
CheckError 9, "Subscript out of range", "save before sampling"
Check Not fso.FileExists(target), "failed save leaves no file"

' An invalid device context yields black pixels; omitted arguments are 0.
Check jpeg.SampleHDC(0, 16, 16) = 0, "sample with optional arguments omitted"
Check jpeg.SampleHDC(0, 16, 16, , 4) = 0, "sample with a middle argument skipped"
Check jpeg.SampleHDC(0, 16, 16, 2, 4) = 0, "sample with both offsets"
Check Err.Number = 0, "sampling raised " & Err.Number & " " & Err.Description
Err.Clear
Check jpeg.SaveFile(target) = 0, "save"
Check fso.FileExists(target), "file written"
Check jpeg.SaveFile(target) = 2, "existing file gives 2"
fso.GetFile(target).Attributes = 1
Check jpeg.SaveFile(target) = 2, "existing read-only file gives 2"
fso.GetFile(target).Attributes = 0
jpeg.SaveFile folder
Check Err.Number = 70 Or Err.Number = 75, "a folder is no existing file, and no file is made over it: " & Err.Number
Err.Clear
Dim named : named = target
Check jpeg.SaveFile(named) = 2, "name in a variable"

jpeg.SaveFile fso.BuildPath(folder, "missing\picture.jpg")
CheckError 76, "Path not found", "folder does not exist"

' Comment characters need one byte in the ANSI code page.
jpeg.Comment = ChineseCharacter
jpeg.SaveFile fso.BuildPath(folder, "chinese.jpg")
CheckError 6, "Overflow", "comment character without a single-byte code"
Check Not fso.FileExists(fso.BuildPath(folder, "chinese.jpg")), "no file after the overflow"
jpeg.Comment = "caf" & LatinCharacter
Check jpeg.SaveFile(fso.BuildPath(folder, "latin.jpg")) = 0, "comment in the ANSI code page"
CheckError 0, "", "comment in the ANSI code page"

' Dimensions that do not fit the frame header.
Check jpeg.SampleHDC(0, 65536, 8) = 0, "sample 65536 pixels wide"
jpeg.SaveFile fso.BuildPath(folder, "wide.jpg")
CheckError 6, "Overflow", "width of 65536"

' Members that do not exist.
jpeg.Resize 1
CheckEngineError 438, "unknown member"

Set jpeg = Nothing
fso.DeleteFolder folder, True
WScript.Echo failures & " failed"
