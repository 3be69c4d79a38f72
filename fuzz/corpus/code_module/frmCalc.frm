VERSION 5.00
Begin VB.Form frmCalc 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Calc"
   ClientHeight    =   3615
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   4680
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   ScaleHeight     =   3615
   ScaleWidth      =   4680
   StartUpPosition =   3  'Windows Default
   Begin VB.ListBox lstHistory 
      Height          =   1620
      Left            =   120
      TabIndex        =   3
      Top             =   1800
      Width           =   4455
   End
   Begin VB.Frame fraKeys 
      Caption         =   "Keys"
      Height          =   855
      Left            =   120
      TabIndex        =   4
      Top             =   840
      Width           =   4455
      Begin VB.CommandButton cmdAdd 
         Caption         =   "+"
         Height          =   375
         Left            =   120
         TabIndex        =   1
         Top             =   300
         Width           =   615
      End
      Begin VB.CommandButton cmdClear 
         Caption         =   "C"
         Height          =   375
         Left            =   840
         TabIndex        =   2
         Top             =   300
         Width           =   615
      End
   End
   Begin VB.TextBox txtDisplay 
      Alignment       =   1  'Right Justify
      BeginProperty Font 
         Name            =   "Courier New"
         Size            =   12
         Charset         =   0
         Weight          =   400
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   495
      Left            =   120
      TabIndex        =   0
      Text            =   "0"
      Top             =   120
      Width           =   4455
   End
End
Attribute VB_Name = "frmCalc"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
'**
' The calculator's window: a display, the keys and the history list.
'@see           Calculator
Option Explicit

Private WithEvents mCalc As Calculator
Attribute mCalc.VB_VarHelpID = -1

'**
' Applies the addition to the number on the display.
Private Sub cmdAdd_Click()
    mCalc.Apply New AddOperation, Val(txtDisplay.Text)
End Sub

Private Sub cmdClear_Click()
    mCalc.Clear
    lstHistory.Clear
End Sub

Private Sub Form_Load()
    Set mCalc = New Calculator
    StartTimer
End Sub

Private Sub mCalc_ResultChanged(ByVal oldValue As Double, ByVal newValue As Double)
    txtDisplay.Text = FormatResult(newValue, mCalc.Precision)
    lstHistory.AddItem mCalc.History.Item(mCalc.History.Count)
End Sub

'**
' Shows the calculator in front of the given owner.
'@param         owner The window that owns the calculator, or Nothing.
'@user1         Shown modeless.
Public Sub ShowCalculator(Optional ByVal owner As Form = Nothing)
    Me.Show vbModeless, owner
End Sub
