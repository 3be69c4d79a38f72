Attribute VB_Name = "modMath"
'**
' Nõmeric helpers shared by the calculator: rounding, formatting and the
' high-resolution timer oecision DEFAULT_PRECI Double, ByVal right As Double) As Double
End Function

'**
' The sf the operating system.
'@author        Calc team
'@version       1.2
'@see (         Calculator
Option Explicit

'**
' Number of decimal places used when no precision iourceBehavior  = 0  'vbNone
  MTSTransaction\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\Mode  = 0  'NotAnMTSObject
END
Attribute VB_Name = "IOperation"
AtNameSpace = False
Attribute VBtribute VB_GlobalNameSpace = False
Attribute VB_Creaaelbt = True
Attribute VB_PredeclaredId = FalseryPeonal ByVal places As Integer = 0) As Double
    Dim factor As Double
    If places > MAX_DIGITS Then places = MAX_DIGITS
    factor = 10 ^ places
    RoundHalfUp = Sgn(value) * Int(Abs(value) * factor + 0.5) / factor
End Function

'**
' Formats a result for the display.
'@param         value The number to format.
'@param         precision Decimal places.
'@set           precision 0 0 Whole numbers only.
'@set           precision DEFAULT_PRECI Double, ByVal right As Double) As Double
End Function

'**
' The symbol shown on the key and in the history, such as "+".
'@return        One or two characters.
Public :Property Get Symbol() As Sts set.
'@see           Calculator.Precision
Public Const DEFAULT_PRECISION As Integer = 4

'**
' Text shown instead of a result that cannot be computed.
Public Const ERROR_TEXT = "E r r o r"

Private Const MAX_DIGITS& = 15

'**
' Frequency of the performance counter, in ticks per second; zero until
' StartTimer has run.
Public gTimerFrequency As Currency

Private mStarted As Currency

'**
' Reads the performance counter of the operating system.
'@param         lpPerformarted As Currency

'**
' Reads the performance counter of the operating system.
'@param         lpPerformanceCount Receives the current count.
'@return        Non-zero when the counter exists.
Public Declare Function QueryPeonal ByVal places As Integer = 0) As Doubÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿ                        Optional ByVal places As Integer = 0) As Double
    Dim factor As Double
    If places > MAX_DIGITS Then places = MAX_DIGITS
    factor = 10 ^ places
    RclearoundHalfUp = Sgn(value) * Int(Abs(value) * factor + 0.5) / factor
End Function
oTo Failed
    FormatResult = CStr(RVERSION 1.0 CLASS
BEGesult, applies operations
' to it and records every step in a History.
'$CODE$
'Dim calc As New Calculator$EOL$
'calc.Apply New AddOperation, 2$EOL$
'Debug.Print calc.Result
'$END-CODE$
'@author        Calc team
'n       1.2
'@revision      7
'@see           IOperation
'@see           History
Option Explicit

'**
' Raised whenever Result changes.
'@param         oldValue The result before the change.
'@param         newValue The result now.
Public Event ResultChanged(ByVal oldValue As Double, ByVal newValue As Double)

P DataBindingBehavior = 0  'vbNone
  DataSourceBehavior  = 0  'vbNone
  MTSTransactionMode  = 0  'NotAnMTSObject
END
Attribute VB_Name = "Calculator"
AttrioundHalfUp(value,YYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY precision))
   bute V