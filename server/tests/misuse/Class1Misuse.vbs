' Vardolin.Class1.Form_show called the way a careless macro calls it: too few
' or too many arguments, values that are no objects, objects that are no host.
' A value that is no object is refused as a type mismatch before anything
' happens; anything else opens the window and returns without an error, also
' when called again. cscript exits 0 even when a script dies: the last line
' must read "0 failed".
Option Explicit

Dim failures : failures = 0

Sub Check(condition, what)
    If Not condition Then
        failures = failures + 1
        WScript.Echo "FAILED: " & what
    End If
End Sub

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

Class NotAHost
    Public Name
End Class

Const TypeMismatch = 13, WrongArgumentCount = 450, ArgumentNotOptional = 449, InvalidUseOfNull = 94

On Error Resume Next

Dim form : Set form = CreateObject("Vardolin.Class1")
Expect 0, "CreateObject(""Vardolin.Class1"")"

form.Form_show : Expect WrongArgumentCount, "no arguments"
form.Form_show Nothing, Nothing : Expect WrongArgumentCount, "two arguments"
form.Form_show Nothing, Nothing, Nothing, Nothing : Expect WrongArgumentCount, "four arguments"
form.Form_show , Nothing, Nothing : Expect ArgumentNotOptional, "application left out"

form.Form_show "Excel", "Book1", "Sheet1" : Expect TypeMismatch, "texts"
form.Form_show 1, 2.5, True : Expect TypeMismatch, "numbers"
form.Form_show Array(1), Nothing, Nothing : Expect TypeMismatch, "an array"
form.Form_show Nothing, Null, Nothing : Expect Array(TypeMismatch, InvalidUseOfNull), "Null"
Dim ap, wb, sh : ap = "Excel" : Set wb = Nothing : Set sh = Nothing
form.Form_show ap, wb, sh : Expect TypeMismatch, "text in a variable"
Check ap = "Excel" And wb Is Nothing And sh Is Nothing, "the variables are left as they were"
Err.Clear

' Objects the component cannot use as a host: the window opens all the same
' (the roster import then finds nothing to call), and every later call
' brings it to the front.
form.Form_show Nothing, Nothing, Nothing : Expect 0, "Nothing for all three"
Dim stranger : Set stranger = New NotAHost
form.Form_show stranger, CreateObject("Scripting.Dictionary"), stranger : Expect 0, "objects that are no host"
Set ap = CreateObject("Scripting.FileSystemObject")
form.Form_show ap, ap, ap : Expect 0, "objects in variables"
Check IsObject(ap), "the variable still holds its object"
Err.Clear

' A second Class1 reaches the same window.
Dim again : Set again = CreateObject("Vardolin.Class1")
again.Form_show stranger, stranger, stranger : Expect 0, "a second Class1"
Set form = Nothing
again.Form_show "x", 1, 2 : Expect TypeMismatch, "junk after the window is open"
again.Form_show Nothing, Nothing, Nothing : Expect 0, "and once more"

' The encoder in the same process is not disturbed by the open window.
Dim jpeg : Set jpeg = CreateObject("Vardolin.ClsJPEG")
Check jpeg.SampleHDC(0, 16, 16) = 0, "the encoder still samples"
Expect 0, "the encoder"

Set again = Nothing
WScript.Echo failures & " failed"
