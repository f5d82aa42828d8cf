Attribute VB_Name = "TakePhotos"
' Opens Vardolin's capture window for this workbook: the webcam, the roster
' of people still to be photographed, and the crop frame. Right-click the
' roster to add names from the cells you pick; each stored photo is named
' after the first name on the roster and goes to the Pic folder beside
' vardolin.dll.
'
' Import this module (File > Import File...) into the workbook that holds the
' names, register vardolin.dll once (regsvr32 /n /i:user vardolin.dll, no
' administrator rights needed), then run TakePhotos, for example from a button
' on the sheet.
Option Explicit

Sub TakePhotos()
    Dim capture As Object
    On Error GoTo NotRegistered
    Set capture = CreateObject("Vardolin.Class1")
    On Error GoTo 0
    capture.Form_show Application, ActiveWorkbook, ActiveSheet
    Exit Sub
NotRegistered:
    MsgBox "Vardolin is not registered for this user. Run" & vbCrLf & vbCrLf & _
           "    regsvr32 /n /i:user vardolin.dll" & vbCrLf & vbCrLf & _
           "with the vardolin.dll that matches this program (x64 for 64-bit, x86 for 32-bit).", _
           vbExclamation, "Vardolin"
End Sub
