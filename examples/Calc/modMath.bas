Attribute VB_Name = "modMath"
'**
' Numeric helpers shared by the calculator: rounding, formatting and the
' high-resolution timer of the operating system.
'@author       Calc team
'@version      1.2
'@see          Calculator
Option Explicit

'**
' Number of decimal places used when no precision is set.
'@see          Calculator.Precision
Public Const DEFAULT_PRECISION As Integer = 4

'**
' Text shown instead of a result that cannot be computed.
Public Const ERROR_TEXT = "E r r o r"

Private Const MAX_DIGITS& = 15

'**
' How a result is rounded to the precision of the display.
'@see          History.Describe
Public Enum RoundingMode
    '**
    ' Half away from zero, as RoundHalfUp does.
    rmHalfUp = 0
    rmBankers = 1 ' Half to the nearest even digit, as Round does.
    rmTruncate = &H10 ' Digits past the precision are dropped.
    rmNone = -1 ' Every digit is kept.
End Enum

'**
' One step of a calculation, as the history records it.
'@see          History.Add
Public Type HistoryEntry
    Symbol As String * 1 ' The key of the operation, "+" for example.
    Operand As Double ' The number entered.
    Result As Double ' The result after the step.
    '**
    ' How Result was rounded.
    Rounding As RoundingMode
    Reserved(1 To 4) As Byte
End Type

'**
' Frequency of the performance counter, in ticks per second; zero until
' StartTimer has run.
Public gTimerFrequency As Currency

Private mStarted As Currency

'**
' Reads the performance counter of the operating system.
'@param        lpPerformanceCount Receives the current count.
'@return       Non-zero when the counter exists.
Public Declare Function QueryPerformanceCounter Lib "kernel32" _
    (lpPerformanceCount As Currency) As Long

Public Declare Function QueryPerformanceFrequency Lib "kernel32" _
    (lpFrequency As Currency) As Long

'**
' Rounds a value half away from zero, unlike the banker's rounding of
' Round.
'$CODE$
'Debug.Print RoundHalfUp(2.5, 0)   ' prints 3$EOL$
'Debug.Print RoundHalfUp(-2.5, 0)  ' prints -3
'$END-CODE$
'@param        value The number to round.
'@param        places Optional. Integer. Decimal places to keep,
'               from 0 to 15.
'@return       The rounded value.
'@example      modMath.FormatResult
'@rem          Values beyond the range of a Double are returned
'               unchanged.
'@includesource yes
Public Function RoundHalfUp(ByVal value As Double, _
                            Optional ByVal places As Integer = 0) As Double
    Dim factor As Double
    If places > MAX_DIGITS Then places = MAX_DIGITS
    factor = 10 ^ places
    RoundHalfUp = Sgn(value) * Int(Abs(value) * factor + 0.5) / factor
End Function

'**
' Formats a result for the display.
'@param        value The number to format.
'@param        precision Decimal places.
'@set          precision 0 0 Whole numbers only.
'@set          precision DEFAULT_PRECISION 4 The usual setting.
'@return       The text to show, or ERROR_TEXT.
'@see          modMath.RoundHalfUp
'@see          Calculator.Result the value usually formatted
Public Function FormatResult(ByVal value As Double, ByVal precision As Integer) As String
    On Error GoTo Failed
    FormatResult = CStr(RoundHalfUp(value, precision))
    Exit Function
Failed:
    FormatResult = ERROR_TEXT
End Function

'**
' Starts the high-resolution timer.
'@revision     2 Reads the frequency once only.
Public Sub StartTimer()
    If gTimerFrequency = 0 Then QueryPerformanceFrequency gTimerFrequency
    QueryPerformanceCounter mStarted
End Sub

Public Function ElapsedSeconds() As Double
    Dim now As Currency
    QueryPerformanceCounter now
    If gTimerFrequency <> 0 Then ElapsedSeconds = (now - mStarted) / gTimerFrequency
End Function
