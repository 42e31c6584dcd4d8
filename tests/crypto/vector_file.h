// Reads the tab-separated known-answer files under tests/data/vectors/: the first line is a
// header, every other line one row; empty columns are kept.
#pragma once

#include <fstream>
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
    int Line = 0;
    while (std::getline(In, Text)) {
        ++Line;
        if (Line == 1 || Text.empty())
            continue;
        if (Text.back() == '\r')
            Text.pop_back();
        TVectorRow Row;
        Row.Line = Line;
        std::size_t Start = 0;
        for (;;) {
            const std::size_t Tab = Text.find('\t', Start);
            Row.Columns.push_back(
                Text.substr(Start, Tab == std::string::npos ? std::string::npos : Tab - Start));
            if (Tab == std::string::npos)
                break;
            Start = Tab + 1;
        }
        Rows.push_back(std::move(Row));
    }
    return Rows;
}

// A column as bytes (the files hold upper-case hex).
inline std::string Bytes(const TVectorRow& Row, std::size_t Column) {
    return Column < Row.Columns.size() ? HexToString(Row.Columns[Column]) : std::string();
}

} // namespace quillet::test
