// The keys of a field that takes a whole number (the bounds of a sum, n and
// k of the counts).
#pragma once

class QLineEdit;

// The number row's letters become digits and "+" the digit 1; then only
// digits, Backspace and Tab pass, and with leadingMinus one "-" at the
// start. Enter, Escape, Delete and the Ctrl chords are no typed characters
// and pass as they are. The filter is owned by the edit.
void InstallWholeNumberKeyFilter(QLineEdit *edit, bool leadingMinus);
