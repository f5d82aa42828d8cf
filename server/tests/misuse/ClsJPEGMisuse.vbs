' Vardolin.ClsJPEG in the hands of a careless macro: arguments of the wrong
' type, missing or out of range, device contexts that are none, names that
' cannot be written. Each call ends with a status or an error number, never a
' crash or a hang; a failed SaveFile leaves no file behind; and the object that
' went through all of it still writes the same file as a fresh one.
' cscript exits 0 even when a script dies: the last line must read "0 failed".
Option Explicit

Dim failures : failures = 0

Sub Check(condition, what)
    If Not condition Then
        failures = failures + 1
        WScript.Echo "FAILED: " & what
    End If
End Sub

' The error of the last call: one of the numbers given (an array), or 0.
Sub Expect(numbers, what)
    Dim n, found : found = False
    If IsArray(numbers) Then
        For Each n In numbers
            If Err.Number = n Then found = True
        Next
    Else
        found = (Err.Number = numbers)
    End If
    Check found, what & ": Err.Number " & Err.Number & " (" & Err.Description & ")"
    Err.Clear
End Sub

' An object with no default member.
Class Thing
    Public Name
End Class

' An object whose default member answers the object itself.
Class Mirror
    Public Default Function Value()
        Set Value = Me
    End Function
End Class

Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim texts : Set texts = fso.OpenTextFile("ClsJPEGMisuse.txt", 1, False, -1)
Dim InvalidSampling : InvalidSampling = texts.ReadLine
Dim ChineseCharacter : ChineseCharacter = texts.ReadLine
texts.Close

Dim folder : folder = fso.BuildPath(fso.GetSpecialFolder(2), "vardolin-misuse-" & Int(Timer * 1000))
fso.CreateFolder folder
Function InFolder(name)
    InFolder = fso.BuildPath(folder, name)
End Function
Function FileCount()
    FileCount = fso.GetFolder(folder).Files.Count
End Function

' The file's bytes, one character each (the ANSI code page maps bytes one to one).
Function FileBytes(path)
    FileBytes = fso.OpenTextFile(path, 1, False, 0).ReadAll
End Function
Function ByteAt(bytes, index)  ' index from 0
    ByteAt = Asc(Mid(bytes, index + 1, 1))
End Function

Const TypeMismatch = 13, Overflow = 6, OutOfRange = 9
Const WrongArgumentCount = 450, ArgumentNotOptional = 449
Const NoSuchMember = 438, InvalidUseOfNull = 94

Dim thing : Set thing = New Thing
Dim mirror : Set mirror = New Mirror
Dim status

On Error Resume Next

Dim jpeg : Set jpeg = CreateObject("Vardolin.ClsJPEG")
Expect 0, "CreateObject(""Vardolin.ClsJPEG"")"

' --- Quality: a value that does not convert is refused, the old value stays.
jpeg.Quality = 60
jpeg.Quality = "sixty" : Expect TypeMismatch, "quality from text"
jpeg.Quality = Null : Expect Array(TypeMismatch, InvalidUseOfNull), "quality Null"
jpeg.Quality = thing : Expect Array(TypeMismatch, NoSuchMember), "quality from an object"
jpeg.Quality = mirror : Expect Array(TypeMismatch, NoSuchMember), "quality from an object that answers itself"
jpeg.Quality = Array(70) : Expect TypeMismatch, "quality from an array"
jpeg.Quality = 1E+300 : Expect Overflow, "quality 1E+300"
jpeg.Quality = 2147483648 : Expect Overflow, "quality just past the 32-bit range"
jpeg.Quality = -1E+300 : Expect Overflow, "quality -1E+300"
Check jpeg.Quality = 60, "quality kept after refused values: " & jpeg.Quality
' Values that convert to a number outside 1..100 are ignored without an error.
jpeg.Quality = Empty : Expect 0, "quality Empty"
jpeg.Quality = True : Expect 0, "quality True (-1)"
jpeg.Quality = -2147483648 : Expect 0, "quality -2147483648"
Check jpeg.Quality = 60, "quality kept after ignored values: " & jpeg.Quality
' Fractions round to the nearest integer, halves to the even one.
jpeg.Quality = 50.5 : Check jpeg.Quality = 50, "quality 50.5 gives 50: " & jpeg.Quality
jpeg.Quality = 51.5 : Check jpeg.Quality = 52, "quality 51.5 gives 52: " & jpeg.Quality
jpeg.Quality = 100.4 : Check jpeg.Quality = 100, "quality 100.4 gives 100: " & jpeg.Quality
Expect 0, "fractional qualities"

' --- SetSamplingFrequencies: conversions first, then the range test.
jpeg.SetSamplingFrequencies "one", 1, 1, 1, 1, 1 : Expect TypeMismatch, "factor from text"
jpeg.SetSamplingFrequencies 1, 1, Null, 1, 1, 1 : Expect Array(TypeMismatch, InvalidUseOfNull), "factor Null"
jpeg.SetSamplingFrequencies 1, 1, 1, 1, 1, thing : Expect Array(TypeMismatch, NoSuchMember), "factor from an object"
jpeg.SetSamplingFrequencies Array(1), 1, 1, 1, 1, 1 : Expect TypeMismatch, "factor from an array"
jpeg.SetSamplingFrequencies 1, 1, 1, 1, 1, 1E+300 : Expect Overflow, "factor 1E+300"
jpeg.SetSamplingFrequencies 1, , 1, 1, 1, 1 : Expect ArgumentNotOptional, "factor left out"
jpeg.SetSamplingFrequencies 1, 1, 1, 1, 1, 1, 1 : Expect WrongArgumentCount, "seven factors"
jpeg.SetSamplingFrequencies True, 1, 1, 1, 1, 1 : Expect 1, "factor True (-1)"
jpeg.SetSamplingFrequencies 0.5, 1, 1, 1, 1, 1
Check Err.Number = 1 And Err.Description = InvalidSampling, "factor 0.5 rounds to 0: " & Err.Number
Err.Clear
jpeg.SetSamplingFrequencies 4.5, 1.5, 1, 1, 1, 1 : Expect 0, "factors 4.5 and 1.5 round to 4 and 2"
jpeg.SetSamplingFrequencies -2147483648, 1, 1, 1, 1, 1 : Expect 1, "factor -2147483648"

' --- SampleHDC: sizes and handles.
' Handles that are no device context: the blits fail and the picture is black.
Dim hdc
For Each hdc In Array(-1, 123456789, 2147483647, -2147483648, &H10001)
    Check jpeg.SampleHDC(hdc, 16, 16) = 0, "device context " & hdc
    Expect 0, "device context " & hdc
Next
' Offsets far outside any surface take nothing either.
Check jpeg.SampleHDC(0, 16, 16, 2147483647, -2147483648) = 0, "extreme offsets"
Expect 0, "extreme offsets"
' Numeric text converts like a number.
Check jpeg.SampleHDC("0", "16", " 8 ") = 0, "sizes as numeric text"
Expect 0, "sizes as numeric text"

status = jpeg.SampleHDC("hdc", 16, 16) : Expect TypeMismatch, "device context from text"
status = jpeg.SampleHDC(Null, 16, 16) : Expect Array(TypeMismatch, InvalidUseOfNull), "device context Null"
status = jpeg.SampleHDC(thing, 16, 16) : Expect Array(TypeMismatch, NoSuchMember), "device context from an object"
status = jpeg.SampleHDC(mirror, 16, 16) : Expect Array(TypeMismatch, NoSuchMember), "device context from an object that answers itself"
status = jpeg.SampleHDC(0, Array(16), 16) : Expect TypeMismatch, "width from an array"
status = jpeg.SampleHDC(1E+300, 16, 16) : Expect Overflow, "device context 1E+300"
status = jpeg.SampleHDC(0, 16, 16, 1E+300) : Expect Overflow, "offset 1E+300"
status = jpeg.SampleHDC(0, 16, 16, "left") : Expect TypeMismatch, "offset from text"
status = jpeg.SampleHDC(0, 16) : Expect WrongArgumentCount, "height left off"
status = jpeg.SampleHDC(0, 16, 16, 0, 0, 0) : Expect WrongArgumentCount, "six arguments"
status = jpeg.SampleHDC(, 16, 16) : Expect ArgumentNotOptional, "device context left out"
status = jpeg.SampleHDC(0, , 16) : Expect ArgumentNotOptional, "width left out"

' Empty and negative sizes: no picture (status 1).
Dim size
For Each size In Array(Array(0, 16), Array(16, 0), Array(-16, 16), Array(16, -16), Array(Empty, Empty), Array(False, 8))
    Check jpeg.SampleHDC(0, size(0), size(1)) = 1, "size " & size(0) & " x " & size(1) & " gives 1"
    Expect 0, "size " & size(0) & " x " & size(1)
Next
' Sizes whose bitmap cannot be addressed in 32 bits: overflow, at once.
For Each size In Array(Array(2147483647, 8), Array(8, 2147483647), Array(100000, 100000), _
                       Array(30000, 30000), Array(16, -2147483648), Array(-2147483648, -2147483648))
    status = jpeg.SampleHDC(0, size(0), size(1))
    Expect Overflow, "size " & size(0) & " x " & size(1)
Next

' --- A picture that failed leaves nothing to save, not even an older one.
Dim target : target = InFolder("after-failure.jpg")
Check jpeg.SampleHDC(0, 16, 16) = 0, "a good picture first"
Check jpeg.SampleHDC(0, -8, 16) = 1, "then one of negative size"
status = jpeg.SaveFile(target) : Expect OutOfRange, "save after a sampling that returned 1"
Check Not fso.FileExists(target), "no file after a sampling that returned 1"
Check jpeg.SampleHDC(0, 16, 16) = 0, "a good picture again"
status = jpeg.SampleHDC(0, 100000, 100000) : Expect Overflow, "then one too large"
status = jpeg.SaveFile(target) : Expect OutOfRange, "save after a sampling that overflowed"
Check Not fso.FileExists(target), "no file after a sampling that overflowed"
Check jpeg.SampleHDC(0, 16, 16) = 0, "a good picture once more"
jpeg.SetSamplingFrequencies 1, 1, 0, 0, 0, 0
status = jpeg.SaveFile(target) : Expect OutOfRange, "save after new sampling factors"
Check Not fso.FileExists(target), "no file after new sampling factors"
Check FileCount() = 0, "nothing written so far"

' --- Comment: values that do not convert are refused, the old text stays.
jpeg.Comment = "kept"
jpeg.Comment = Null : Expect Array(TypeMismatch, InvalidUseOfNull), "comment Null"
jpeg.Comment = Array("a") : Expect TypeMismatch, "comment from an array"
jpeg.Comment = thing : Expect Array(TypeMismatch, NoSuchMember), "comment from an object"
Check jpeg.Comment = "kept", "comment kept after refused values: " & jpeg.Comment
jpeg.Comment = mirror : Expect Array(TypeMismatch, NoSuchMember), "comment from an object that answers itself"
jpeg.Comment = 12345 : Expect 0, "comment from a number"
Check jpeg.Comment = "12345", "a number becomes its digits: " & jpeg.Comment
jpeg.Comment = Empty : Expect 0, "comment Empty"
Check jpeg.Comment = "", "Empty clears the comment"

' --- SaveFile: names that are no names, and files that cannot be made.
Check jpeg.SampleHDC(0, 24, 16) = 0, "picture for the saves"
Check jpeg.SaveFile(Empty) = 1, "Empty name gives 1"
Expect 0, "Empty name"
status = jpeg.SaveFile(Null) : Expect Array(TypeMismatch, InvalidUseOfNull), "name Null"
status = jpeg.SaveFile(Array(target)) : Expect TypeMismatch, "name from an array"
status = jpeg.SaveFile(thing) : Expect Array(TypeMismatch, NoSuchMember), "name from an object"
status = jpeg.SaveFile(mirror) : Expect Array(TypeMismatch, NoSuchMember), "name from an object that answers itself"
status = jpeg.SaveFile() : Expect WrongArgumentCount, "no name"
status = jpeg.SaveFile(target, target) : Expect WrongArgumentCount, "two names"
Dim badName
For Each badName In Array("*.jpg", "a?.jpg", "a<b>.jpg", "a|b.jpg", "a""b.jpg", String(300, "n") & ".jpg")
    status = jpeg.SaveFile(InFolder(badName))
    Check Err.Number <> 0, "name " & Left(badName, 12) & " is refused with an error"
    Err.Clear
Next
status = jpeg.SaveFile(fso.BuildPath(InFolder("missing"), "deeper\photo.jpg"))
Expect 76, "folders missing two levels deep"
Check FileCount() = 0, "no file after refused names: " & FileCount()
' A wildcard is no existing file, even when a file would match it.
Check jpeg.SaveFile(InFolder("match.jpg")) = 0, "a file to match"
status = jpeg.SaveFile(InFolder("*.jpg"))
Check Err.Number <> 0 And status <> 2, "a wildcard name matches no file: status " & status & ", Err " & Err.Number
Err.Clear
Check FileCount() = 1, "still just the one file"

' A read-only file is neither replaced nor touched.
Dim readOnly : readOnly = InFolder("read-only.jpg")
fso.CreateTextFile(readOnly).Write "old"
fso.GetFile(readOnly).Attributes = 1
Check jpeg.SaveFile(readOnly) = 2, "a read-only file gives 2"
Check fso.GetFile(readOnly).Size = 3, "the read-only file is unchanged"
fso.GetFile(readOnly).Attributes = 0

' Characters the ANSI code page has no byte for, in the comment: overflow,
' and no file; the next save without them works.
Dim chinese : chinese = InFolder("chinese-comment.jpg")
jpeg.Comment = String(1000, "a") & ChineseCharacter
status = jpeg.SaveFile(chinese) : Expect Overflow, "comment with a character outside the code page"
Check Not fso.FileExists(chinese), "no file after the comment overflow"
' A comment that fits the property but not the file's segment.
jpeg.Comment = String(65534, "c")
status = jpeg.SaveFile(chinese) : Expect Overflow, "comment of 65534 characters"
Check Not fso.FileExists(chinese), "no file after the long comment"
jpeg.Comment = String(65533, "c")
Check jpeg.SaveFile(chinese) = 0, "comment of 65533 characters fits"
Expect 0, "comment of 65533 characters"
Check fso.GetFile(chinese).Size > 65533, "the long comment is in the file"

' --- After all of the above, the same object still works: its file is byte
' for byte the file of a fresh object given the same calls.
Function Encode(encoder, name)
    encoder.Quality = 80
    encoder.SetSamplingFrequencies 2, 1, 1, 1, 1, 1
    encoder.Comment = "after errors"
    Check encoder.SampleHDC(0, 40, 24) = 0, name & ": sample"
    Check encoder.SaveFile(InFolder(name)) = 0, name & ": save"
    Expect 0, name
    Encode = FileBytes(InFolder(name))
End Function
Dim used : used = Encode(jpeg, "used.jpg")
Dim fresh : fresh = Encode(CreateObject("Vardolin.ClsJPEG"), "fresh.jpg")
Check Len(used) > 200 And used = fresh, "the used object writes what a fresh one writes"
' And that is a whole JPEG file of the sampled size.
Check ByteAt(used, 0) = 255 And ByteAt(used, 1) = 216, "starts with SOI"
Check ByteAt(used, Len(used) - 2) = 255 And ByteAt(used, Len(used) - 1) = 217, "ends with EOI"
Dim sof : sof = InStr(used, Chr(255) & Chr(192))
Check sof > 0, "has a baseline frame header"
If sof > 0 Then
    Check ByteAt(used, sof + 4) * 256 + ByteAt(used, sof + 5) = 24 And _
          ByteAt(used, sof + 6) * 256 + ByteAt(used, sof + 7) = 40, "frame of 40 x 24"
End If

Set jpeg = Nothing
fso.DeleteFolder folder, True
Expect 0, "cleaning up"
WScript.Echo failures & " failed"
