#pragma once

class QHBoxLayout;
class QLabel;
class QPushButton;
class QLineEdit;
class QPlainTextEdit;
class QString;
class QWidget;

// The kinds of control the cassette and recording editors share.

// An edit of an integer field: it takes the characters of an integer (a sign
// and digits) and nothing else; empty text stands for an empty field.
QLineEdit* NewIntegerEdit(QWidget* parent);

// A memo of a text field: fixed-pitch letters, a vertical scroll bar.
QPlainTextEdit* NewMemo(QWidget* parent);

// A field shown, not edited: large bold figures on the window's background,
// skipped by Tab and Enter.
QLineEdit* NewDisplayEdit(QWidget* parent);

// A label that names its control for keyboard and screen-reader users.
QLabel* NewLabel(const QString& text, QWidget* buddy, QWidget* parent);

// "OK" (Button1) and "Mégsem" (Button2) at the right of a row. Neither is a
// default button: Enter only moves on, and only OK confirms.
QHBoxLayout* NewOkCancelRow(QWidget* parent, QPushButton*& ok, QPushButton*& cancel);
