#pragma once
// Readable gtest output for the toolkit's value types.

#include <ostream>
#include <string>

#include "LxContainers.h"
#include "LxGeometry.h"

inline void PrintTo(const LxString& text, std::ostream* os)
{
    std::string narrow;
    for (const wchar_t* p = text.c_str(); *p; ++p)
        narrow += *p < 128 ? static_cast<char>(*p) : '?';
    *os << '"' << narrow << '"';
}

inline void PrintTo(const LxByteArray& bytes, std::ostream* os)
{
    *os << '"' << std::string(bytes.constData(), bytes.size()) << '"';
}

inline void PrintTo(const LxRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
