#pragma once
#include <string>

// The request's result test: texts compared up to their first NUL, with the letters a to z
// folded to capitals and every other byte compared as it is.
bool SameTextIgnoringLetterCase(const std::string& a, const std::string& b);
