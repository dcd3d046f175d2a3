#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a command line into arguments as Windows programs read it.
//
// Blanks (space, tab) separate arguments outside double quotes; a double quote
// starts or ends a quoted part and is dropped. Before a double quote, 2n
// backslashes give n backslashes and the quote groups, 2n+1 give n
// backslashes and a literal quote; backslashes anywhere else are literal.
// The first argument, the program, has its own rule: quotes only group and
// every backslash is literal (it is a path). Leading blanks are skipped; an
// empty line gives no arguments.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// An argument (not the program) written so that SplitCommandLine gives it
// back whole, whatever blanks, quotes or backslashes it holds.
std::string QuoteArgument(std::string_view argument);
