// Reading numbers out of the texts the program shows (growth "1.23%", unit
// values, the refresh period), and writing them with fixed decimals. Full-width forms of ASCII
// characters count as their ASCII form. Stateless; independent of the process locale.
#pragma once

#include "text/text.h"

// The leading decimal number of `text` (blanks, sign, digits, decimal point,
// exponent); reading stops at the first other character. 0 when there is
// none. A value too large for a double gives plus or minus infinity.
double text_to_number(const Text& text);

// The leading decimal integer of `text` (blanks, sign, digits); 0 when there
// is none. A value outside the range of long long is clamped to it.
long long text_to_integer(const Text& text);

// True when the number of `growth_text` is greater than 1e-7.
bool is_rising(const Text& growth_text);

// `value` with `decimals` places after a "." point, whatever the process
// locale; a value that rounds to zero has no minus sign ("0.00", not
// "-0.00"). Empty for a value that is not finite.
Text fixed_number_text(double value, int decimals);
