#pragma once

// The quoting of statements inside listing lines: a statement is enclosed in
// double quotes with every inner double quote doubled. The program image
// builder reads the same shape back.

#include <string>
#include <string_view>

std::string QuoteStatement(std::string_view statement);

// Takes a text that starts with a double quote up to its matching closing
// quote, turning each doubled quote into one. A text that does not start with
// a double quote, or whose statement would be empty, is returned unchanged, so
// the empty statement stays as its two quotes.
std::string DequoteStatement(std::string_view text);
