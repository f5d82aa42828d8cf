' Writes example.jpg with Vardolin.ClsJPEG. Run: cscript ReadmeExample.vbs
Dim fso, jpeg, status
Set fso = CreateObject("Scripting.FileSystemObject")
Set jpeg = CreateObject("Vardolin.ClsJPEG")

jpeg.Quality = 85                              ' 1..100; other values are ignored
jpeg.SetSamplingFrequencies 1, 1, 1, 1, 1, 1   ' no chroma subsampling
jpeg.Comment = "Vardolin example"

' A macro passes the device context of what it shows: a picture box's hDC,
' or GetDC(0) for the screen. VBScript has none; 0 gives a black picture.
If jpeg.SampleHDC(0, 160, 120) <> 0 Then
    WScript.Echo "could not take the picture"
    WScript.Quit 1
End If

' SaveFile never overwrites: delete an older file first.
If fso.FileExists("example.jpg") Then fso.DeleteFile "example.jpg"
status = jpeg.SaveFile("example.jpg")
If status = 0 Then WScript.Echo "written example.jpg" Else WScript.Echo "not written, status " & status
