#pragma once
// The syntax of the text form description, shared by the reader and the writer: the
// parsed tree and the value encodings (strings, floats, binary blocks).
//
// Strings: printable ASCII and valid UTF-8 sequences stay inside quotes ('' for a
// quote); every other byte is written #n (0..255). Reading #n with n above 255 gives the
// UTF-8 encoding of code point n. A byte string therefore round-trips exactly.
// Lists: values in parentheses, one per line ("( 'a' 'b' )" reads the same).

#include <cstdint>
#include <string>
#include <vector>

struct TFormValue {
    enum Kind { vaInt, vaFloat, vaString, vaIdent, vaSet, vaBinary, vaList };
    Kind kind = vaInt;
    int64_t intValue = 0;
    double floatValue = 0;
    std::string text;                  // string bytes, identifier, or binary bytes
    std::vector<std::string> items;    // set elements
    std::vector<TFormValue> list;      // list values
    int line = 0;
};

struct TFormProperty {
    std::string name;   // possibly dotted
    TFormValue value;
    int line = 0;
};

struct TFormObject {
    std::string keyword;   // "object", "inherited" or "inline"
    std::string name, className;
    int line = 0;
    std::vector<TFormProperty> properties;
    std::vector<TFormObject> children;
};

// Parses a whole description; EReadError "Line N: ..." on a syntax fault.
TFormObject ParseFormText(const std::string& text);

std::string QuoteFormString(const std::string& bytes);
// The shortest decimal text that reads back as exactly value.
std::string FormatFormFloat(double value);
