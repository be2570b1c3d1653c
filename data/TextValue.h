#pragma once
// Reading numbers out of texts the way the program's users type them.
#include <QString>

// The value of the number a text starts with, like Basic's Val: leading blanks (spaces, tabs,
// line breaks) are skipped, then an optional sign, digits and at most one decimal point; the
// rest of the text is ignored ("500米" is 500, "-1.5km" is -1.5). 0 when the text does not start
// with a number ("米500", "", "."). No exponent, no thousands separators.
double LeadingNumber(const QString& text);
