' Creates both classes by their ProgIDs. The exit code is the number of
' classes created: cscript exits 0 also when a script dies, so 0 can never
' pass for success.
Option Explicit
Dim progId, created, made
made = 0
On Error Resume Next
For Each progId In Array("Vardolin.ClsJPEG", "Vardolin.Class1")
    Set created = Nothing
    Err.Clear
    Set created = CreateObject(progId)
    If Err.Number = 0 And Not created Is Nothing Then
        made = made + 1
    Else
        WScript.Echo "FAILED: CreateObject(""" & progId & """): " & Err.Number
    End If
Next
WScript.Quit made
