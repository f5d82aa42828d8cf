Attribute VB_Name = "TakePhotos"
' Opens Vardolin's capture window for this workbook: the webcam, the roster
' of people still to be photographed, and the crop frame. Right-click the
' roster to add names from the cells you pick; each stored photo is named
' after the first name on the roster and goes to the Pic folder beside
' vardolin.dll.
'
' Import this module (File > Import File...) into the workbook that holds the
' names, install Vardolin once (install.cmd from the release zip, no
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
    MsgBox "Vardolin is not installed for this user, or not for this program's bitness." & _
           vbCrLf & vbCrLf & "Run install.cmd from the Vardolin zip file, then run the macro again.", _
           vbExclamation, "Vardolin"
End Sub
