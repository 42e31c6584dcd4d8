// Reads the tab-separated known-answer files under tests/data/vectors/: the first line is a
// header, every other line one row; empty columns are kept.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypto/hex_text.h"

namespace quillet::test {

struct TVectorRow {
    int Line = 0;
    std::vector<std::string> Columns;
};

inline std::vector<TVectorRow> ReadVectorFile(const std::string& Name) {
    const std::string Path = std::string(QUILLET_TEST_DATA) + "/vectors/" + Name;
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        throw std::runtime_error("cannot open " + Path);
    std::vector<TVectorRow> Rows;
    std::string Text;
    for (int Line = 1; std::getline(In, Text); ++Line) {
        if (!Text.empty() && Text.back() == '\r')
            Text.pop_back();
        if (Line == 1 || Text.empty())
            continue;
        Rows.push_back({Line, {}});
        std::istringstream Fields(Text + '\t'); // the extra tab ends the last column, empty or not
        for (std::string Field; std::getline(Fields, Field, '\t');)
            Rows.back().Columns.push_back(Field);
    }
    return Rows;
}

// A column as bytes (the files hold upper-case hex).
inline std::string Bytes(const TVectorRow& Row, std::size_t Column) {
    return Column < Row.Columns.size() ? HexToString(Row.Columns[Column]) : std::string();
}

} // namespace quillet::test
