Attribute VB_Name = "Blocks"
Option Explicit
'**
' Modes.
Public Enum FileMode
    '**
    ' Read.
    fmRead = 1
    fmWrite = &H10 ' Write.
    fmBoth = fmRead Or _
        fmWrite
#If Win64 Then
    fmWide = 8
#Else
    fmWide = 4
#End If
End Enum
Private Enum Hidden: hA: End Enum
Type Span
    Label As String * 20
    Points(1 To 4) As Long
End Type
Sub Main()
End Sub
